// The Form 940 and Form 940EZ worksheets: the annual FUTA return in its long
// and short forms, with each employee's wages above the FUTA base and the
// FUTA liability of each calendar quarter.
#include <algorithm>
#include <array>
#include <optional>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/step.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/rates.h"
#include "finstatements/statement_writer.h"
#include "finstatements/tax_form_rows.h"

namespace veltrane {

struct clsFinStmnts::Impl::AnnualFUTA {
  Money payments;  // line 1
  Money excess;    // line 3
  Money taxable;   // line 5
  // The quarters of the year of the period's first day, at the rate with
  // full state credit, and their sum.
  std::array<Money, 4> quarters;
  Money year;
  Money sui_contributions;
};

namespace {

const std::array<const char*, 4> kQuarterLabels = {"First Quarter.", "Second Quarter.",
                                                   "Third Quarter.", "Fourth Quarter."};

// The quarter `index` (0 to 3) of `year`.
FormPeriod Quarter(int year, int index) {
  const unsigned first_month = static_cast<unsigned>(3 * index + 1);
  return {MakeDate(year, first_month, 1), LastOfMonth(MakeDate(year, first_month + 2, 1))};
}

}  // namespace

clsFinStmnts::Impl::AnnualFUTA clsFinStmnts::Impl::ReadAnnualFUTA(
    const std::string& strAttendant, const std::string& strStart, const std::string& strEnd,
    Money base, Money rate, const std::string& sui_name) const noexcept {
  AnnualFUTA futa;
  RunStep([&] {
    // The period and the whole year of its first day, read together.
    const FormPeriod period = FormPeriod::Of(strStart, strEnd);
    std::optional<int> year;
    Date through{};
    if (period.first) {
      year = static_cast<int>(period.first->year());
      through = std::max(*period.last, MakeDate(*year, 12, 31));
    }
    const std::vector<JournalRow>& rows = JournalRowsIn(strAttendant, period.YearThrough(through));

    for (const JournalRow& row : rows) {
      if (!period.Contains(row)) continue;
      AddAmount(futa.payments, FUTAWages(row));
      AddAmount(futa.sui_contributions, WithheldAs(row, sui_name));
    }
    futa.excess = GetFUTAExcessWages(rows, period, base);
    RunStep([&] { futa.taxable = futa.payments - futa.excess; });
    if (!year) return;
    for (int q = 0; q < 4; ++q) {
      RunStep([&] { futa.quarters[q] = Product(GetQuarterFUTAWages(rows, Quarter(*year, q), base), rate); });
      AddAmount(futa.year, futa.quarters[q]);
    }
  });
  return futa;
}

clsFinStmnts::Impl::SUISettings clsFinStmnts::Impl::ReadSUISettings() const noexcept {
  SUISettings sui;
  RunStep([&] {
    Recordset* settings = TaxSettingsRow();
    if (!settings) return;
    RunStep([&] { sui.state = settings->Field("SUIState").ToText(); });
    RunStep([&] { sui.reporting_number = settings->Field("SUIReportingNumber").ToText(); });
    RunStep([&] { sui.withholding_name = settings->Field("SUIWithholdingName").ToText(); });
  });
  return sui;
}

void clsFinStmnts::Impl::ShowForm940(const std::string& strAttendant, const std::string& strStart,
                                     const std::string& strEnd) {
  StatementWriter out(*lv_);
  out.Reset();
  const Rates rates(TaxRates());
  const Money rate_with_credit = rates.Get("c_FUTARateWithCredit");
  const AnnualFUTA futa = ReadAnnualFUTA(strAttendant, strStart, strEnd, rates.Get("c_FUTABase"),
                                         rate_with_credit, std::string());
  const Money gross_rate = rates.Get("c_FUTARate");
  const Money state_credit = rates.Get("c_FUTAStateCredit");

  out.Heading("FORM 940");
  out.Heading(strStart + " TO " + strEnd);
  out.Spacer();
  out.Heading("PART I.  Computation of Taxable Wages");
  out.Spacer();
  out.Money("1.  Total payments.", futa.payments);
  out.Money("2.  Exempt payments.", Money());
  out.Money("3.  Pay greater than 7K per employee.", futa.excess);
  out.Money("4.  Add line 2 and line 3.", futa.excess);
  out.Money("5.  Taxable wages (line 1 - 4).", futa.taxable);
  out.Spacer();
  out.Heading("PART II.  Tax Due Or Refund");
  out.Spacer();
  out.RowOf("1.  FUTA tax (line 5 x " + FormatAmount(gross_rate) + ").",
            [&] { return FormatCurrency(Product(futa.taxable, gross_rate)); });
  out.RowOf("2.  Maximum credit (line 5 x " + FormatAmount(state_credit) + ").",
            [&] { return FormatCurrency(Product(futa.taxable, state_credit)); });
  for (const char* line :
       {"3.  Computation of state credit.", "    Tip: Use statements of your",
        "    SUI taxes to complete", "    this table.",
        "3a.  State credit totals (total of cols h and i).", "3b.  Add totals of cols h and i.",
        "4.  Not used.", "5.  Not used.", "6.  Smaller of Part II, line 2 or 3b.",
        "7.  Total FUTA tax (line 1 less line 6).", "8.  Total FUTA deposits for year.",
        "9.  Balance due (line 7 less line 8).", "10.  Overpayment (line 8 less line 7)."}) {
    out.Heading(line);
  }
  out.Spacer();
  out.Heading("PART III.  Quarterly FUTA Tax Liability");
  out.Spacer();
  for (int q = 0; q < 4; ++q) out.Money(kQuarterLabels[q], futa.quarters[q]);
  out.Money("Total for year.", futa.year);
  out.Spacer();
  out.Heading("Note: Part III quarterly");
  out.Heading("liability required only if");
  out.Heading("line 7 is over $100.");
  out.Spacer();
  out.Spacer();
  out.Heading("Note: See Form 940");
  out.Heading("Instructions for");
  out.Heading("help.");
  out.Select(1);
}

void clsFinStmnts::Impl::ShowForm940EZ(const std::string& strAttendant, const std::string& strStart,
                                       const std::string& strEnd) {
  StatementWriter out(*lv_);
  out.Reset();
  const SUISettings sui = ReadSUISettings();
  const Rates rates(TaxRates());
  const Money rate_with_credit = rates.Get("c_FUTARateWithCredit");
  const AnnualFUTA futa = ReadAnnualFUTA(strAttendant, strStart, strEnd, rates.Get("c_FUTABase"),
                                         rate_with_credit, sui.withholding_name);
  Money line6;
  RunStep([&] { line6 = Product(futa.taxable, rate_with_credit); });

  out.Heading("FORM 940EZ");
  out.Heading(strStart + " TO " + strEnd);
  out.Spacer();
  out.Money("A. Contributions to SUI fund.", futa.sui_contributions);
  out.Row("B(1). The state name where you pay contributions.", sui.state);
  out.Row("B(2). State reporting number.", sui.reporting_number);
  out.Spacer();
  out.Heading("PART I.  Taxable Wages and FUTA Tax.");
  out.Spacer();
  out.Money("1. Total payments.", futa.payments);
  out.Money("2. Exempt Payments.", Money());
  out.Money("3. Pay greater than 7K per employee.", futa.excess);
  out.Money("4.  Add line 2 and line 3.", futa.excess);
  out.Money("5.  Taxable wages (line 1 - 4).", futa.taxable);
  out.Money("6.  FUTA tax (line 5 x " + FormatAmount(rate_with_credit) + ").", line6);
  out.Heading("7.  Total deposits for the year.");
  out.Heading("     Compute separately...");
  out.Heading("8.  Balance due (" + FormatCurrency(line6) + " - deposits)...");
  out.Heading("9.  Overpayment (deposits - " + FormatCurrency(line6) + ")...");
  out.Spacer();
  out.Heading("PART II.  Quarterly Tax Liability.");
  out.Spacer();
  for (int q = 0; q < 4; ++q) out.Money(kQuarterLabels[q], futa.quarters[q]);
  out.Money("Total for year.", futa.year);
  if (line6 < Money::Dollars(100)) {
    out.Spacer();
    out.Heading("Note: Part II quarterly");
    out.Heading("liability required only if");
    out.Heading("line 6 is over $100.");
  }
  out.Spacer();
  out.Heading("Note: See Form 940EZ");
  out.Heading("Instructions for");
  out.Heading("help.");
  out.Select(1);
}

}  // namespace veltrane
