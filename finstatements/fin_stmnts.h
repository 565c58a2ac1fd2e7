// clsFinStmnts: the statements library. It fills the host's statement
// selector with the catalogue of statements and writes the chosen statement,
// row by row, into the host's statement list view: the summary and detailed
// statements, one statement per tax, and the worksheets of the federal
// payroll tax forms, all read from the non-void rows of the payment journal.
//
// Ownership: the message box and the locale provider given at construction,
// and the database, sort list and list view given to Init, are borrowed:
// they must outlive the object, which never closes or releases them. The two
// table record sets Init opens (Tax Settings, Payment Journal) belong to the
// object and live as long as it does; every other record set is closed
// before the operation that opened it returns. A rate table is asked of a
// short-lived clsFedTaxRules each time it is needed.
//
// No operation throws. A step that fails (a missing field or control
// member, a Null converted to money, a query that cannot be opened) is
// skipped and the statement goes on; rows already written stay. Only Init's
// failure and a few statement warnings are shown, through the message box.
#pragma once

#include <memory>
#include <string>

#include "common/database.h"
#include "common/locale.h"
#include "common/messages.h"
#include "finstatements/statement_controls.h"

namespace veltrane {

class clsFinStmnts {
 public:
  // `messages` may be null: messages are then not shown.
  explicit clsFinStmnts(MessageBox* messages = nullptr,
                        const LocaleProvider& locale = DefaultLocaleProvider()) noexcept;
  ~clsFinStmnts();
  clsFinStmnts(const clsFinStmnts&) = delete;
  clsFinStmnts& operator=(const clsFinStmnts&) = delete;

  // Keeps the database and controls, gives the list view its headings and
  // opens the Tax Settings and Payment Journal tables. A failure stops Init
  // and is shown in a message box; what was set before it stays.
  void Init(Database& pdb, SortList& plstSort, StatementListView& pvtLV) noexcept;
  // Fills the selector with the catalogue: Summary, Detailed, the forms and
  // federal taxes (US English only), the state taxes and employer-defined
  // withholdings configured in Tax Settings, and the kinds of supplemental
  // pay found in the journal.
  void PopulateStatementTypes(StatementSelector& vtCboList) noexcept;
  // Writes the statement named `strType` for `strAttendant` (a name or
  // "All Assistants"; an empty text becomes "All Assistants" in the
  // caller's variable) over the period `strStart` to `strEnd` (date texts;
  // an empty start means every date). Group headers and separators of the
  // catalogue do nothing.
  void DoStatement(std::string& strType, std::string& strAttendant, std::string& strStart,
                   std::string& strEnd) noexcept;
  // Whether a catalogue entry is a separator or a group heading rather than
  // a statement.
  bool IsCatalogueHeading(const std::string& entry) const noexcept;

  // The object's state and the procedures behind these operations, in a
  // header of the library that is not installed.
  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace veltrane
