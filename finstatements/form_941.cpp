// The Form 941 worksheet: the lines of the quarterly federal return for an
// attendant or all attendants over a period, with the monthly summary of net
// taxes.
#include <map>
#include <set>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/step.h"
#include "common/text.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/rates.h"
#include "finstatements/statement_writer.h"
#include "finstatements/tax_form_rows.h"

namespace veltrane {
namespace {

const std::string kComputeSeparately = "      Compute separately.";

// The period's figures and those of every calendar month its rows fall in.
struct QuarterFigures {
  std::set<std::string> employees;  // names in lower case
  FederalFigures period;
  std::map<int, FederalFigures> months;  // by month number
};

}  // namespace

void clsFinStmnts::Impl::ShowForm941(const std::string& strAttendant, const std::string& strStart,
                                     const std::string& strEnd) {
  StatementWriter out(*lv_);
  out.Reset();
  const Rates rates(TaxRates());
  const Money ss_rate = rates.Get("c_SSRate");
  const Money medicare_rate = rates.Get("c_MedicareRate");

  // The months of the summary are whole calendar months, so the rows are
  // read through the end of the period's last month.
  QuarterFigures q;
  RunStep([&] {
    const FormPeriod period = FormPeriod::Of(strStart, strEnd);
    const Date through = period.last ? LastOfMonth(*period.last) : Date{};
    const std::vector<JournalRow>& rows = JournalRowsIn(strAttendant, period.YearThrough(through));
    const std::vector<Money> earlier = EarlierSSWages(rows);
    const Money ss_base = rates.Get("c_SSBase");
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const JournalRow& row = rows[i];
      const FederalFigures figures = RowFigures(row, earlier[i], ss_base, true);
      if (row.date) q.months[MonthNumber(*row.date)] += figures;
      if (!period.Contains(row)) continue;
      q.period += figures;
      if (CarriesFederalTax(row)) q.employees.insert(ToLower(row.payee));
    }
  });
  const FederalFigures& f = q.period;

  Money ss_tax, tips_tax, medicare_tax, line8, line11, line13;
  RunStep([&] { ss_tax = Product(f.ss_wages, ss_rate); });
  RunStep([&] { tips_tax = Product(f.ss_tips, ss_rate); });
  RunStep([&] { medicare_tax = Product(f.medicare_wages, medicare_rate); });
  RunStep([&] { line8 = ss_tax + tips_tax + medicare_tax; });
  RunStep([&] { line11 = line8 + f.fit_withheld; });
  RunStep([&] { line13 = line11 - f.eic_paid; });

  out.Heading("FORM 941");
  out.Heading(strStart + " TO " + strEnd);
  out.Spacer();
  out.Row("1.  Number of employees.", std::to_string(q.employees.size()));
  out.Money("2.  Total compensation.", f.compensation);
  out.Money("3.  Total income tax withheld.", f.fit_withheld);
  out.Money("4.  Withholding adjustment for previous quarter.", Money());
  out.Money("5.  Adjusted total FIT withholding.", f.fit_withheld);
  out.Money("6(a).  Taxable Soc. Sec. wages.", f.ss_wages);
  out.Money("6(b).  6(a) x " + FormatAmount(ss_rate) + ".", ss_tax);
  out.Money("6(c).  Taxable Soc. Sec. tips.", f.ss_tips);
  out.Money("6(d).  6(c) x " + FormatAmount(ss_rate) + ".", tips_tax);
  out.Money("7(a).  Taxable Medicare wages and tips.", f.medicare_wages);
  out.Money("7(b).  7(a) x " + FormatAmount(medicare_rate) + ".", medicare_tax);
  out.Money("8.  Total Soc. Sec., medicare taxes.", line8);
  out.Money("9.  Adjustment of Soc. Sec. and medicare taxes.", Money());
  out.Money("10.  Line 8 adjusted by line 9.", line8);
  out.Money("11.  Total taxes (add line 5 and line 10).", line11);
  out.Money("12.  EIC Payments to employees.", f.eic_paid);
  out.Money("13.  Net taxes (line 11 less line 12).", line13);
  out.Heading("14.  Total deposits for quarter.");
  out.Heading(kComputeSeparately);
  out.Heading("15.  Balance due (line 13 less line 14).");
  out.Heading(kComputeSeparately);
  out.Heading("16.  Overpayment (line 14 less line 13).");
  out.Heading(kComputeSeparately);
  out.Heading("17.  Monthly summary.");

  // A month whose net taxes are negative shows 0 and carries them into the
  // next month.
  Money carry, total;
  RunStep([&] {
    const int last = MonthNumber(ParseDate(strEnd));
    for (int month = MonthNumber(ParseDate(strStart)); month <= last; ++month) {
      Money amount = GetMonthlyNetTaxes(q.months[month], ss_rate, medicare_rate, carry);
      if (amount < Money()) {
        carry = amount;
        amount = Money();
      } else {
        carry = Money();
      }
      out.Money("     " + FormatMonthYear(FirstOfMonth(month)), amount);
      total += amount;
    }
  });
  out.Money("Total for period", total);

  bool notes_shown = false;
  if (!carry.IsZero()) {
    out.Spacer();
    out.Heading("Note: There is a remaining");
    out.Heading("adjustment of " + FormatCurrency(carry) + " for");
    out.Heading("for next quarter.");
  }
  if (line13 < Money::Dollars(2500)) {
    out.Spacer();
    out.Heading("Note: Line 17 monthly summary");
    out.Heading("not required with net taxes");
    out.Heading("less than $2,500.");
    notes_shown = true;
  }
  if (line13 != total) {
    out.Spacer();
    out.Heading("Note: Line 13 and 17 total");
    out.Heading("may differ with negative net");
    out.Heading("taxes in a previous month.");
    notes_shown = true;
  }
  if (notes_shown) {
    out.Spacer();
    out.Heading("Note: See Form 941");
    out.Heading("Instructions for");
    out.Heading("help.");
  }
  out.Select(1);
}

}  // namespace veltrane
