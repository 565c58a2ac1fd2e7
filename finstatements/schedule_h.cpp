// The Schedule H worksheet: a household employer's yearly household
// employment taxes (Social Security, Medicare and income tax of the
// employees, EIC paid, state unemployment and FUTA), with the questions the
// payroll cannot answer left to the employer.
#include "common/display.h"
#include "common/step.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/rates.h"
#include "finstatements/statement_writer.h"
#include "finstatements/tax_form_rows.h"

namespace veltrane {
namespace {

const std::string kYesNo = "Yes/No";

}  // namespace

void clsFinStmnts::Impl::ShowScheduleH(const std::string& strAttendant, const std::string& strStart,
                                       const std::string& strEnd) {
  StatementWriter out(*lv_);
  out.Reset();
  const SUISettings sui = ReadSUISettings();
  const Rates rates(TaxRates());

  // Tips are wages like any other pay here.
  FederalFigures f;
  Money sui_contributions;
  RunStep([&] {
    const FormPeriod period = FormPeriod::Of(strStart, strEnd);
    const std::vector<JournalRow>& rows =
        JournalRowsIn(strAttendant, period.YearThrough(period.last.value_or(Date{})));
    const std::vector<Money> earlier = EarlierSSWages(rows);
    const Money ss_base = rates.Get("c_SSBase");
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (!period.Contains(rows[i])) continue;
      f += RowFigures(rows[i], earlier[i], ss_base, false);
      AddAmount(sui_contributions, WithheldAs(rows[i], sui.withholding_name));
    }
  });
  Money line2, line4, line6, line8, line17, line27;
  RunStep([&] { line2 = Product(f.ss_wages, rates.Get("c_SSRate")); });
  RunStep([&] { line4 = Product(f.medicare_wages, rates.Get("c_MedicareRate")); });
  RunStep([&] { line6 = line2 + line4 + f.fit_withheld; });
  RunStep([&] { line8 = line6 - f.eic_paid; });
  const Money line16 = GetFUTAWagesFor(strAttendant, strStart, strEnd).value_or(Money());
  RunStep([&] { line17 = Product(line16, rates.Get("c_FUTARateWithCredit")); });
  const Money line26 = line8;
  RunStep([&] { line27 = line26 + line17; });

  out.Heading("FORM 1040 SCHEDULE H");
  out.Heading(strStart + " TO " + strEnd);
  out.Spacer();
  out.Heading("PART I.  FICA and FIT Taxes");
  out.Spacer();
  out.Money("1.  Soc. Sec. wages", f.ss_wages);
  out.Money("2.  Soc. Sec. Taxes", line2);
  out.Money("3.  Medicare wages", f.medicare_wages);
  out.Money("4.  Medicare taxes", line4);
  out.Money("5.  FIT Withheld", f.fit_withheld);
  out.Money("6.  Total Soc. Sec., Medicare, FIT taxes", line6);
  out.Money("7.  EIC pay", f.eic_paid);
  out.Money("8.  Net taxes", line8);
  out.Heading("9.  Wages > $2K in any calendar quarter");
  out.Row("     within previous two years?", kYesNo);
  out.Spacer();
  out.Heading("PART II.  Federal Unemployment Tax");
  out.Spacer();
  out.Row("10.  All SUI paid to one state?", kYesNo);
  out.Row("11.  All previous year SUI taxes paid by deadline?", kYesNo);
  out.Row("12.  All FUTA wages subject to SUI tax?", kYesNo);
  out.Heading("      Section A");
  out.Row("13.  SUI state name?", sui.state);
  out.Row("14.  State reporting number", sui.reporting_number);
  out.Money("15.  Contributions paid to SUI fund", sui_contributions);
  out.Money("16.  Wages subject to FUTA", line16);
  out.Money("17.  FUTA tax", line17);
  out.Heading("      Section B");
  out.Heading("      You must compute");
  out.Heading("      this section manually.");
  out.Spacer();
  out.Heading("PART III.  Total Household Employment Taxes");
  out.Spacer();
  out.Money("26.  Amount from line 8.", line26);
  out.Money("27.  Add lines 17 and 26 (see instructions).", line27);
  out.Row("28.  Required to file form 1040?", kYesNo);
  out.Spacer();
  out.Heading("PART IV.  Address and signature");
  out.Spacer();
  out.Heading("Not required if filing");
  out.Heading("form 1040.");
  out.Spacer();
  out.Heading("Note: See Schedule H");
  out.Heading("Instructions for help.");
  out.Select(1);
}

}  // namespace veltrane
