// Writes a statement's rows into the host's list view, each row one step:
// a row whose amount cannot be computed, or that the view refuses, is
// skipped and the statement goes on.
#pragma once

#include <string>
#include <utility>

#include "common/date.h"
#include "common/display.h"
#include "common/money.h"
#include "common/step.h"
#include "finstatements/message_table.h"
#include "finstatements/statement_controls.h"

namespace veltrane {

// The amount text of a heading or spacer row.
inline const std::string kBlankAmount = " ";
// The indent of a row that belongs to the one above it.
inline const std::string kIndent = "     ";

// Entry `n` of the message table.
inline std::string Entry(int n) { return std::string(MessageEntry(n)); }

class StatementWriter {
 public:
  // `view` is borrowed for the writer's life.
  explicit StatementWriter(StatementListView& view) : view_(view) {}

  void Reset() {
    RunStep([&] { view_.Reset(); });
  }
  void Row(const std::string& description, const std::string& amount) {
    RunStep([&] { Append(description, amount); });
  }
  // A row whose amount text comes from `amount()`, which may raise.
  template <class F>
  void RowOf(const std::string& description, F&& amount) {
    RunStep([&] { Append(description, std::forward<F>(amount)()); });
  }
  void Money(const std::string& description, veltrane::Money amount) {
    RunStep([&] { Append(description, FormatCurrency(amount)); });
  }
  void Heading(const std::string& text) { Row(text, kBlankAmount); }
  void Spacer() { Row(" ", kBlankAmount); }
  // A heading framed by spacer rows.
  void Section(const std::string& text) {
    Spacer();
    Heading(text);
    Spacer();
  }
  // The period as a heading, each date in the short date form: "3/1/2004
  // to 3/31/2004". An empty date stays empty; a text that is no date loses
  // the row.
  void PeriodHeading(const std::string& start, const std::string& end) {
    RunStep([&] { Heading(ShortDate(start) + " " + Entry(12) + " " + ShortDate(end)); });
  }
  void Select(int index) {
    RunStep([&] { view_.ListIndex(index); });
  }
  // The rows now in the view; raises when the view cannot tell.
  int Count() const { return view_.ListItemsCount(); }

 private:
  static std::string ShortDate(const std::string& text) {
    return text.empty() ? text : FormatShortDate(ParseDate(text));
  }
  void Append(const std::string& description, const std::string& amount) {
    view_.AddEntry(description, view_.ListItemsCount() + 1, amount);
  }

  StatementListView& view_;
};

}  // namespace veltrane
