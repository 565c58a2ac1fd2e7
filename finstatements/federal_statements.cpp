// One statement per federal tax: its rules (wage base, rates) and, for the
// attendant and period, the payments subject to it, the amounts withheld and
// the liabilities.
#include "common/display.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "fedtaxrules/rate_dictionary.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/rates.h"
#include "finstatements/statement_writer.h"

namespace veltrane {
namespace {

const std::string kPayments = "PAYMENTS";
const std::string kWithholdingsAndLiabilities = "WITHHOLDINGS & LIABILITIES";

}  // namespace

void clsFinStmnts::Impl::WriteFederalFrame(const std::string& title, const std::string& section,
                                           const std::string& strStart, const std::string& strEnd) {
  StatementWriter out(*lv_);
  out.Reset();
  out.Heading(title);
  out.Heading(strStart + " TO " + strEnd);
  out.Spacer();
  out.Heading(section);
  out.Spacer();
}

void clsFinStmnts::Impl::ShowSocialSecurityStatement(const std::string& strAttendant,
                                                     const std::string& strStart,
                                                     const std::string& strEnd) {
  const Rates rates(TaxRates());
  const Money base = rates.Get("c_SSBase");
  const Money total = GetTaxablePayments(kTaxSocSec, strAttendant, strStart, strEnd);
  const Money within = GetPaymentsWithinBase(kTaxSocSec, base, strAttendant, strStart, strEnd);
  const Money tips =
      GetSupplementalWithinBase("Tip", kTaxSocSec, base, strAttendant, strStart, strEnd);

  WriteFederalFrame("SOCIAL SECURITY STATEMENT", "TAX INFORMATION", strStart, strEnd);
  StatementWriter out(*lv_);
  out.Money("Wage base limit: ", base);
  out.Row("Gross wages adjusted by exemptions: ", "No");
  out.Row("Tax rate:", rates.Percent("c_SSRate"));
  out.Row("Employer tax rate", rates.Percent("c_SSEmployerRate"));
  out.Row("Employee tax rate", rates.Percent("c_SSEmployeeRate"));
  out.Section(kPayments);
  out.Money("Total payments", total);
  out.Money("Total Social Security payments", within);
  out.RowOf("     Total Social Security wages", [&] { return FormatCurrency(within - tips); });
  out.Money("     Total Social Security tips", tips);
  out.Section(kWithholdingsAndLiabilities);
  out.Money("Total withholdings", GetTaxWithheld(kTaxSocSec, strAttendant, strStart, strEnd));
  out.RowOf("Employee liability",
            [&] { return FormatCurrency(Product(within, rates.Get("c_SSEmployeeRate"))); });
  out.RowOf("Employer liability",
            [&] { return FormatCurrency(Product(within, rates.Get("c_SSEmployerRate"))); });
  out.Select(1);
}

void clsFinStmnts::Impl::ShowMedicareStatement(const std::string& strAttendant,
                                               const std::string& strStart,
                                               const std::string& strEnd) {
  const Rates rates(TaxRates());
  const Money wages = GetTaxablePayments(kTaxMedicare, strAttendant, strStart, strEnd);

  WriteFederalFrame("MEDICARE STATEMENT", "TAX INFORMATION", strStart, strEnd);
  StatementWriter out(*lv_);
  out.Row("Wage base limit: ", "None");
  out.Row("Gross wages adjusted by exemptions: ", "No");
  out.Row("Tax rate:", rates.Percent("c_MedicareRate"));
  out.Row("Employer tax rate", rates.Percent("c_MedicareEmployerRate"));
  out.Row("Employee tax rate", rates.Percent("c_MedicareEmployeeRate"));
  out.Section(kPayments);
  out.Money("Total payments", GetTaxablePayments("", strAttendant, strStart, strEnd));
  out.Money("Medicare wages and tips", wages);
  out.Section(kWithholdingsAndLiabilities);
  out.Money("Total withholdings", GetTaxWithheld(kTaxMedicare, strAttendant, strStart, strEnd));
  out.RowOf("Employer liability",
            [&] { return FormatCurrency(Product(wages, rates.Get("c_MedicareEmployerRate"))); });
  out.RowOf("Employee liability",
            [&] { return FormatCurrency(Product(wages, rates.Get("c_MedicareEmployeeRate"))); });
  out.Select(1);
}

void clsFinStmnts::Impl::ShowFITStatement(const std::string& strAttendant,
                                          const std::string& strStart, const std::string& strEnd) {
  WriteFederalFrame("FEDERAL INCOME TAX STATEMENT", "TAX INFORMATION", strStart, strEnd);
  StatementWriter out(*lv_);
  out.Row("Wage base limit: ", "None");
  out.Row("Gross wages adjusted by exemptions: ", "Yes");
  out.Row("Tax rate:", "Variable");
  out.Row("Employer tax rate", FormatPercent(0));
  out.Row("Employee tax rate", "Variable");
  out.Section(kPayments);
  out.Money("Total taxable payments", GetTaxablePayments(kTaxFIT, strAttendant, strStart, strEnd));
  out.Section(kWithholdingsAndLiabilities);
  out.Money("Total withholdings", GetTaxWithheld(kTaxFIT, strAttendant, strStart, strEnd));
  out.Row("Employee liability", "n/a");
  out.Money("Employer liability", Money());
  out.Select(1);
}

void clsFinStmnts::Impl::ShowFUTAStatement(const std::string& strAttendant,
                                           const std::string& strStart, const std::string& strEnd) {
  const Rates rates(TaxRates());
  const Money base = rates.Get("c_FUTABase");
  // The payments are taken in whole cents, as a person reads them.
  Money total, within;
  RunStep([&] {
    total = RoundedToCents(GetTaxablePayments(kTaxFUTA, strAttendant, strStart, strEnd));
  });
  RunStep([&] {
    within = RoundedToCents(GetPaymentsWithinBase(kTaxFUTA, base, strAttendant, strStart, strEnd));
  });

  WriteFederalFrame("FUTA STATEMENT", "TAX INFORMATION", strStart, strEnd);
  StatementWriter out(*lv_);
  out.Money("Wage base limit: ", base);
  out.Row("Tax rate:", rates.Percent("c_FUTARate"));
  out.Row("Employer tax rate", rates.Percent("c_FUTARate"));
  out.Row("Employee tax rate", FormatPercent(0));
  out.Row("Credit for SUI contributions.", rates.Percent("c_FUTAStateCredit"));
  out.Row("Employer rate with state credit.", rates.Percent("c_FUTARateWithCredit"));
  out.Section(kPayments);
  out.Money("Total taxable payments", total);
  out.Money("Payments within base limit", within);
  out.RowOf("Payments in excess of base", [&] { return FormatCurrency(total - within); });
  out.Section("LIABILITIES");
  out.RowOf("Employer liability",
            [&] { return FormatCurrency(Product(within, rates.Get("c_FUTARate"))); });
  out.RowOf("     With full state credit",
            [&] { return FormatCurrency(Product(within, rates.Get("c_FUTARateWithCredit"))); });
  out.Money("Employee liability", Money());
  out.Select(1);
}

void clsFinStmnts::Impl::ShowEICStatement(const std::string& strAttendant,
                                          const std::string& strStart, const std::string& strEnd) {
  const Rates rates(TaxRates());
  WriteFederalFrame("EIC STATEMENT", "CREDIT INFORMATION", strStart, strEnd);
  StatementWriter out(*lv_);
  out.Money("Wage base limit", rates.Get("c_EICWageLimit"));
  out.Money("Married filing jointly", rates.Get("c_EICWageLimitMarried"));
  out.Money("Maximum annual payment", rates.Get("c_EICLimit"));
  RunStep([&] {
    Recordset* settings = TaxSettingsRow();
    if (!settings) return;
    out.Row("Limit each payment to taxes due", SettingIsTrue(*settings, "EICPayInFull") ? "No" : "Yes");
  });
  out.Section(kPayments);
  out.Money("Total of payments subject to EIC",
            GetSupplementalPay(kTaxEIC, kTaxEIC, strAttendant, strStart, strEnd));
  out.Money("Total amount of EIC paid", GetTaxablePayments(kTaxEIC, strAttendant, strStart, strEnd));
  out.Select(1);
}

}  // namespace veltrane
