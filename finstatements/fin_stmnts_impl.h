// The inside of clsFinStmnts: its state and the procedures each statement
// is written with. Only the library's sources and its tests include this
// header; the ownership the public header states holds here too.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/database.h"
#include "common/locale.h"
#include "common/messages.h"
#include "common/money.h"
#include "finstatements/fin_stmnts.h"
#include "finstatements/journal_rows.h"
#include "finstatements/statement_controls.h"

namespace veltrane {

class RateDictionary;
struct FormPeriod;
class StatementWriter;

struct clsFinStmnts::Impl {
  Impl(MessageBox* messages, const LocaleProvider& locale) noexcept;

  // The public operations, as clsFinStmnts describes them.
  void Init(Database& pdb, SortList& plstSort, StatementListView& pvtLV) noexcept;
  void PopulateStatementTypes(StatementSelector& vtCboList) noexcept;
  void DoStatement(std::string& strType, std::string& strAttendant, std::string& strStart,
                   std::string& strEnd) noexcept;
  bool IsCatalogueHeading(const std::string& entry) const noexcept;

  // The inside of `statements`, for the tests.
  static const Impl& Of(const clsFinStmnts& statements) noexcept { return *statements.impl_; }

  // The journal query of the non-void rows of an attendant and period.
  // Raises ConversionError when a period text is not a date.
  std::string BuildJournalQuery(const std::string& strAttendant, const std::string& strStart,
                                const std::string& strEnd) const;
  // Entry `entry` of the message table with "|0" replaced by `inserted`,
  // then "|1" by two line breaks and "|2" by one.
  static std::string FormatResMessage(int entry, const std::string& inserted);

  // The rows of the journal query; raises when it cannot be run. While a
  // statement is written the journal does not change, so each query is
  // read once per statement and its rows are shared by every sum.
  const std::vector<JournalRow>& JournalRows(const std::string& strAttendant,
                                             const std::string& strStart,
                                             const std::string& strEnd) const;
  // Lets go of the rows read for the statement just written.
  void ForgetStatementRows() const noexcept;
  // The sort list given to Init; raises before Init.
  SortList& Sort() const;
  // The first row of Tax Settings, or null when the table has none.
  Recordset* TaxSettingsRow() const;
  // A new rate table of a short-lived clsFedTaxRules; null outside US English.
  std::unique_ptr<RateDictionary> TaxRates() const;

  // Journal aggregates. Each absorbs its own failures: what cannot be read
  // adds nothing.
  Money GetTaxablePayments(std::string_view tax, const std::string& strAttendant,
                           const std::string& strStart, const std::string& strEnd) const noexcept;
  Money GetTaxWithheld(std::string_view tax, const std::string& strAttendant,
                       const std::string& strStart, const std::string& strEnd) const noexcept;
  Money GetSupplementalPay(std::string_view kind, std::string_view tax,
                           const std::string& strAttendant, const std::string& strStart,
                           const std::string& strEnd) const noexcept;
  // Payees of the period, in the sort list's order, then one empty slot.
  std::vector<std::string> GetPayeeList(const std::string& strStart,
                                        const std::string& strEnd) const noexcept;
  Money GetYTDTaxablePayments(std::string_view tax, const std::string& payee,
                              const std::string& date) const noexcept;
  Money GetYTDSupplementalPay(std::string_view kind, std::string_view tax, const std::string& payee,
                              const std::string& date) const noexcept;
  Money GetPaymentsWithinBase(std::string_view tax, Money base, const std::string& strAttendant,
                              const std::string& strStart,
                              const std::string& strEnd) const noexcept;
  Money GetSupplementalWithinBase(std::string_view kind, std::string_view tax, Money base,
                                  const std::string& strAttendant, const std::string& strStart,
                                  const std::string& strEnd) const noexcept;
  // FUTA wages of the federal calculator; nothing when the call fails.
  std::optional<Money> GetFUTAWagesFor(const std::string& strAttendant, const std::string& strStart,
                                       const std::string& strEnd) const noexcept;
  // The part of a period's measure under a yearly base, per payee: what the
  // payee had before the period counts against the base first.
  // `prior` measures a payee's rows of the year before the period, `period`
  // those of the period.
  struct RowMeasures {
    std::function<Money(const std::vector<const JournalRow*>&)> prior, period;
  };
  Money WithinBase(const RowMeasures& measures, Money base, const std::string& strAttendant,
                   const std::string& strStart, const std::string& strEnd) const noexcept;

  // Summary and detailed statements.
  void ShowSummaryStatement(const std::string& strAttendant, const std::string& strStart,
                            const std::string& strEnd);
  void ShowDetailedStatement(const std::string& strAttendant, const std::string& strStart,
                             const std::string& strEnd);

  // Federal tax statements.
  void ShowSocialSecurityStatement(const std::string& strAttendant, const std::string& strStart,
                                   const std::string& strEnd);
  void ShowMedicareStatement(const std::string& strAttendant, const std::string& strStart,
                             const std::string& strEnd);
  void ShowFITStatement(const std::string& strAttendant, const std::string& strStart,
                        const std::string& strEnd);
  void ShowFUTAStatement(const std::string& strAttendant, const std::string& strStart,
                         const std::string& strEnd);
  void ShowEICStatement(const std::string& strAttendant, const std::string& strStart,
                        const std::string& strEnd);
  // The five opening rows of a federal statement.
  void WriteFederalFrame(const std::string& title, const std::string& section,
                         const std::string& strStart, const std::string& strEnd);

  // Tax form worksheets. Each reads the attendant's rows from 1 January of
  // its period's year once and works out every line from them.
  void ShowForm941(const std::string& strAttendant, const std::string& strStart,
                   const std::string& strEnd);
  void ShowForm940(const std::string& strAttendant, const std::string& strStart,
                   const std::string& strEnd);
  void ShowForm940EZ(const std::string& strAttendant, const std::string& strStart,
                     const std::string& strEnd);
  void ShowScheduleH(const std::string& strAttendant, const std::string& strStart,
                     const std::string& strEnd);
  // The rows of `strAttendant` on the days of `days`; raises when the
  // query cannot be run.
  const std::vector<JournalRow>& JournalRowsIn(const std::string& strAttendant,
                                               const FormPeriod& days) const;
  // The state unemployment settings of Tax Settings; empty texts where a
  // field cannot be read or there is no settings row.
  struct SUISettings {
    std::string state, reporting_number, withholding_name;
  };
  SUISettings ReadSUISettings() const noexcept;
  // The lines the Form 940 and Form 940EZ worksheets share, under the
  // FUTA `base`, the quarters' liabilities at `rate`, and the amounts
  // withheld under the SUI withholding name `sui_name`.
  struct AnnualFUTA;
  AnnualFUTA ReadAnnualFUTA(const std::string& strAttendant, const std::string& strStart,
                            const std::string& strEnd, Money base, Money rate,
                            const std::string& sui_name) const noexcept;

  // Form W-2 and W-3 worksheets. Both cover the calendar year of the
  // period's start, whatever its end; each W-2 is one assistant's.
  void ShowFormW2(const std::string& strAttendant, const std::string& strStart,
                  const std::string& strEnd);
  void ShowFormW3(const std::string& strAttendant, const std::string& strStart,
                  const std::string& strEnd);
  // The boxes of one assistant's W-2, with what its notes need.
  struct W2Boxes;
  struct W2Page;
  static void WriteW2FederalBoxes(StatementWriter& out, const W2Boxes& boxes);
  // One page per payee of `strAttendant` (every payee of the year, in the
  // sort list's order, for "All Assistants") over the year of `strStart`;
  // raises when the start is not a date or the rows cannot be read.
  std::vector<W2Page> ReadW2Pages(const std::string& strAttendant,
                                  const std::string& strStart) const;
  // The employer and employee blocks of the attendant's latest non-void
  // check from `first` through `last`, as that paycheck showed them.
  std::pair<std::string, std::string> LatestCheckBlocks(const std::string& strAttendant,
                                                        const std::string& first,
                                                        const std::string& last) const;
  // Whether Tax Settings configures the state tax `tax` ("SIT", "SDI" or
  // "SUI"): one of its fields holds text.
  bool StateTaxConfigured(std::string_view tax) const noexcept;

  // State tax, other-withholding and supplemental payment statements.
  void ShowSITStatement(const std::string& strAttendant, const std::string& strStart,
                        const std::string& strEnd);
  void ShowSDIStatement(const std::string& strAttendant, const std::string& strStart,
                        const std::string& strEnd);
  void ShowSUIStatement(const std::string& strAttendant, const std::string& strStart,
                        const std::string& strEnd);
  // The statement of `tax` ("SIT", "SDI" or "SUI") from its Tax Settings;
  // without a settings row, a message and a short statement saying so.
  void ShowStateStatement(std::string_view tax, const std::string& strAttendant,
                          const std::string& strStart, const std::string& strEnd);
  // The statement of the employer-defined withholding named `strType` (an
  // empty definition when OtherWithholdings has none of that name).
  void ShowOtherWithholdingStatement(const std::string& strType, const std::string& strAttendant,
                                     const std::string& strStart, const std::string& strEnd);
  // The payments of the supplemental kind `strType` and the taxes named
  // for them.
  void ShowSupplementalStatement(const std::string& strType, const std::string& strAttendant,
                                 const std::string& strStart, const std::string& strEnd);
  // `base` less the exemption allowances that the nine-field tax
  // `definition` gives the attendant (or each payee of the period, for "All
  // Assistants") for the filing status and number of their election of the
  // tax. When a payee has no Assistants row or the allowances cannot be
  // worked out, says so in a message and returns `base` unchanged.
  Money AdjustBaseForExemptions(const std::vector<std::string>& definition, Money base,
                                const std::string& strAttendant, const std::string& strStart,
                                const std::string& strEnd) const noexcept;

  MessageBox* messages_;
  const LocaleProvider& locale_provider_;
  std::uint32_t locale_;
  // Entries 0, 1, 2, 3, 4 and 9 of the message table.
  std::string summary_, detailed_, single_, married_, household_, other_taxes_;

  Database* db_ = nullptr;
  SortList* sort_ = nullptr;
  StatementListView* lv_ = nullptr;
  std::unique_ptr<Recordset> tax_settings_;
  std::unique_ptr<Recordset> payment_journal_;
  // The rows of each journal query of the statement being written, by query
  // text; let go when the statement is done.
  mutable std::map<std::string, std::vector<JournalRow>> statement_rows_;
  // Kinds of supplemental pay the last catalogue found, then an empty slot.
  std::vector<std::string> supplemental_names_;
};

}  // namespace veltrane
