// The summary and detailed statements: the paychecks of a period in total,
// and broken down by kind of supplemental pay and by tax.
#include "common/display.h"
#include "common/step.h"
#include "common/text.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/journal_rows.h"
#include "finstatements/message_table.h"
#include "finstatements/sort_list_use.h"
#include "finstatements/statement_writer.h"

namespace veltrane {
namespace {

const std::string kDoubleIndent = "          ";


// The totals of the row pass, and the lists of every row joined end to end.
struct PeriodTotals {
  Money gross, regular, overtime, eic, net;
  std::vector<ListGroup> items;  // kind, amount, tax list
  std::vector<ListGroup> taxes;  // name, withheld, liability
};

PeriodTotals AddUp(const std::vector<JournalRow>& rows) {
  PeriodTotals t;
  std::string supplemental, withholding;
  for (const JournalRow& row : rows) {
    AddAmount(t.gross, row.gross_pay);
    AddAmount(t.regular, row.gross_regular);
    AddAmount(t.overtime, row.gross_overtime);
    AddAmount(t.eic, row.eic_pay);
    AddAmount(t.net, row.net_pay);
    supplemental += row.supplemental;
    withholding += row.withholding;
  }
  t.items = ReadList(supplemental, kSuppPaySeparator, kSuppPayFields);
  t.taxes = ReadList(withholding, kFieldSeparator, kWithholdingFields);
  return t;
}

// The sum of field `field` of the groups named `name` (all groups when
// `name` is null).
Money SumOf(const std::vector<ListGroup>& groups, std::size_t field, const std::string* name) {
  Money sum;
  for (const ListGroup& g : groups) {
    if (!name || IEquals(g[0], *name)) AddAmount(sum, ListAmount(g[field]));
  }
  return sum;
}


// The row pass: the view is emptied first, so that a period that cannot be
// read leaves no rows of an earlier statement behind; `rows()` reads them.
template <class Rows>
PeriodTotals RowPass(StatementWriter& out, Rows&& rows) {
  out.Reset();
  PeriodTotals t;
  RunStep([&] { t = AddUp(rows()); });
  return t;
}

}  // namespace

void clsFinStmnts::Impl::ShowSummaryStatement(const std::string& strAttendant,
                                              const std::string& strStart,
                                              const std::string& strEnd) {
  StatementWriter out(*lv_);
  const PeriodTotals t = RowPass(out, [&]() -> const std::vector<JournalRow>& {
    return JournalRows(strAttendant, strStart, strEnd);
  });
  const auto& items = t.items;
  const auto& taxes = t.taxes;

  out.Heading(Entry(11));
  out.Heading(strStart + " " + Entry(12) + " " + strEnd);
  out.Heading("");
  out.Money(Entry(13), t.gross);
  out.Money(kIndent + Entry(14), t.regular);
  out.Money(kIndent + Entry(15), t.overtime);
  out.Money(kIndent + Entry(16), SumOf(items, 1, nullptr));
  if (locale_ == kLocaleEnUs) out.Money(kIndent + "EIC", t.eic);
  out.Money(Entry(17), t.net);
  out.Money(Entry(18), SumOf(taxes, 1, nullptr));
  out.Money(Entry(19), SumOf(taxes, 2, nullptr));
  RunStep([&] {
    if (out.Count() > 1) out.Select(1);
  });
}

void clsFinStmnts::Impl::ShowDetailedStatement(const std::string& strAttendant,
                                               const std::string& strStart,
                                               const std::string& strEnd) {
  StatementWriter out(*lv_);
  const PeriodTotals t = RowPass(out, [&]() -> const std::vector<JournalRow>& {
    return JournalRows(strAttendant, strStart, strEnd);
  });
  const auto& items = t.items;
  const auto& taxes = t.taxes;
  // The distinct names of `groups` in the sort list's order.
  const auto sorted_names = [&](const std::vector<ListGroup>& groups) {
    std::vector<std::string> names;
    RunStep([&] {
      SortList& sort = Sort();
      sort.Clear();
      for (const ListGroup& g : groups) RunStep([&] { AddDistinct(sort, g[0]); });
      names = ListItems(sort);
    });
    return names;
  };

  const std::vector<std::string> kinds = sorted_names(items);
  out.Heading(Entry(20));
  out.PeriodHeading(strStart, strEnd);
  out.Heading("");
  out.Money(Entry(13), t.gross);
  out.Money(kIndent + Entry(14), t.regular);
  out.Money(kIndent + Entry(15), t.overtime);
  out.Money(kIndent + Entry(16), SumOf(items, 1, nullptr));
  for (const std::string& kind : kinds) {
    if (!kind.empty()) out.Money(kDoubleIndent + kind, SumOf(items, 1, &kind));
  }
  if (locale_ == kLocaleEnUs) out.Money(kIndent + "EIC", t.eic);
  out.Heading("");
  out.Money(Entry(17), t.net);
  out.Heading("");

  const std::vector<std::string> names = sorted_names(taxes);
  out.Money(Entry(18), SumOf(taxes, 1, nullptr));
  for (const std::string& name : names) {
    if (!name.empty()) out.Money(kIndent + name, SumOf(taxes, 1, &name));
  }
  out.Heading("");
  out.Money(Entry(19), SumOf(taxes, 2, nullptr));
  for (const std::string& name : names) {
    if (!name.empty()) out.Money(kIndent + name, SumOf(taxes, 2, &name));
  }
  RunStep([&] {
    if (out.Count() > 1) out.Select(1);
  });
}

}  // namespace veltrane
