// The state tax statements (income tax, disability and unemployment
// insurance): the tax's settings and, for the attendant and period, the
// payments subject to it, the base less exemption allowances, and the
// withholdings and liabilities.
#include "common/amount_text.h"
#include "common/display.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/message_table.h"
#include "finstatements/rates.h"
#include "finstatements/statement_writer.h"
#include "finstatements/tax_definition.h"

namespace veltrane {
namespace {

const std::string kNotSpecified = "Not specified!";

std::string SettingText(Recordset& settings, const std::string& field) {
  std::string text;
  RunStep([&] { text = settings.Field(field).ToText(); });
  return text;
}

// The nine-field definition the tax's settings make. Disability and
// unemployment insurance take their allowances only when the employer has
// them use exemptions.
TaxDefinition StateDefinition(Recordset& settings, std::string_view tax) {
  const std::string t(tax);
  const auto field = [&](const char* suffix) { return SettingText(settings, t + suffix); };
  if (tax == kTaxSIT) {
    return {t,
            "",
            "",
            field("Rate"),
            "0",
            field("Rate"),
            field("Married"),
            field("Single"),
            field("Household")};
  }
  TaxDefinition d = {
      t,  "", field("Base"), field("Withholding"), field("EmployerRate"), field("EmployeeRate"), "",
      "", ""};
  if (SettingIsTrue(settings, (t + "UseExemptions").c_str())) {
    d[kDefMarried] = field("Married");
    d[kDefSingle] = field("Single");
    d[kDefHousehold] = field("Household");
  }
  return d;
}

// An allowance row: the amount, or that it is not specified.
void AllowanceRow(StatementWriter& out, const std::string& description, const std::string& amount) {
  if (amount.empty()) {
    out.Row(description, kNotSpecified);
  } else {
    out.RowOf(description, [&] { return FormatCurrency(ParseAmount(amount)); });
  }
}

// The message shown when the tax cannot be reported for want of settings.
std::string NotConfiguredText(std::string_view tax) {
  const std::string t(tax);
  return "Unable to print " + t + " statement.\r\n\r\nThe " + t +
         " statement cannot be displayed\r\n\r\nbecause the tax has not been\r\nconfigured."
         "\r\n\r\nUse the Tax Settings dialog to configure\r\nthe tax and try again.\r\n\r\n";
}

}  // namespace

void clsFinStmnts::Impl::ShowSITStatement(const std::string& strAttendant,
                                          const std::string& strStart, const std::string& strEnd) {
  ShowStateStatement(kTaxSIT, strAttendant, strStart, strEnd);
}

void clsFinStmnts::Impl::ShowSDIStatement(const std::string& strAttendant,
                                          const std::string& strStart, const std::string& strEnd) {
  ShowStateStatement(kTaxSDI, strAttendant, strStart, strEnd);
}

void clsFinStmnts::Impl::ShowSUIStatement(const std::string& strAttendant,
                                          const std::string& strStart, const std::string& strEnd) {
  ShowStateStatement(kTaxSUI, strAttendant, strStart, strEnd);
}

void clsFinStmnts::Impl::ShowStateStatement(std::string_view tax, const std::string& strAttendant,
                                            const std::string& strStart,
                                            const std::string& strEnd) {
  const bool income_tax = tax == kTaxSIT;
  const std::string period = strStart + " TO " + strEnd;
  StatementWriter out(*lv_);

  Recordset* settings = nullptr;
  RunStep([&] { settings = TaxSettingsRow(); });
  if (!settings) {
    if (messages_) {
      RunStep([&] {
        messages_->Show(NotConfiguredText(tax), std::string(MessageEntry(44)),
                        MessageIcon::kExclamation, MessageButtons::kOk);
      });
    }
    out.Reset();
    out.Heading(std::string(tax) + " STATEMENT");
    out.Heading(period);
    out.Spacer();
    out.Heading("Tax not configured.");
    return;
  }

  const TaxDefinition def = StateDefinition(*settings, tax);
  const bool allowances = HasAllowances(def);
  const bool has_base = !def[kDefWageBase].empty();
  std::string sui_state, sui_number, sui_name;
  if (tax == kTaxSUI) {
    sui_state = SettingText(*settings, "SUIState");
    sui_name = SettingText(*settings, "SUIWithholdingName");
    sui_number = SettingText(*settings, "SUIReportingNumber");
  }

  out.Reset();
  out.Heading(income_tax ? "STATE INCOME TAX STATEMENT" : std::string(tax) + " STATEMENT");
  out.Heading(period);
  out.Section("TAX INFORMATION");
  if (has_base) {
    out.RowOf("Wage base limit: ", [&] { return FormatCurrency(ParseAmount(def[kDefWageBase])); });
  } else {
    out.Row("Wage base limit: ", "None");
  }
  out.Row("Wage base reduced by exemptions: ", allowances ? "Yes" : "No");
  if (income_tax) {
    out.Row("Tax rate:", PercentText(def[kDefWithholdingRate]));
    out.Row("Employer tax rate", FormatPercent(0));
    out.Row("Employee tax rate", PercentText(def[kDefEmployeeRate]));
  } else {
    out.Row("Employee tax rate", PercentText(def[kDefEmployeeRate]));
    out.Row("Withholding rate:", PercentText(def[kDefWithholdingRate]));
    out.Row("Employer tax rate", PercentText(def[kDefEmployerRate]));
  }
  if (allowances) {
    out.Heading("Exemption allowances");
    AllowanceRow(out, kIndent + "Married", def[kDefMarried]);
    AllowanceRow(out, kIndent + "Single", def[kDefSingle]);
    AllowanceRow(out, kIndent + "Head of household", def[kDefHousehold]);
  }
  if (tax == kTaxSUI) {
    out.Section("FUTA Credit");
    out.Row("Contributions paid to", sui_state);
    out.Row("State reporting number", sui_number);
    out.Row("Designated SUI tax name", sui_name);
  }

  out.Section("PAYMENTS");
  const Money taxable = GetTaxablePayments(def[kDefName], strAttendant, strStart, strEnd);
  out.Money("Total taxable payments", taxable);
  Money adjusted = taxable;
  if (income_tax) {
    if (allowances) {
      adjusted = AdjustBaseForExemptions(def, taxable, strAttendant, strStart, strEnd);
    }
    out.Money("Wage base adjusted by exemptions", adjusted);
  } else if (has_base) {
    Money base;
    RunStep([&] { base = ParseAmount(def[kDefWageBase]); });
    const Money limited =
        GetPaymentsWithinBase(def[kDefName], base, strAttendant, strStart, strEnd);
    out.Money("Payments limited by base", limited);
    out.RowOf("Payments in excess of base", [&] { return FormatCurrency(taxable - limited); });
    adjusted = limited;
    if (SettingIsTrue(*settings, (std::string(tax) + "UseExemptions").c_str())) {
      adjusted = AdjustBaseForExemptions(def, limited, strAttendant, strStart, strEnd);
    }
    out.Money("Wage base adjusted by exemptions", adjusted);
  }

  const Money withheld = GetTaxWithheld(def[kDefName], strAttendant, strStart, strEnd);
  const auto liability = [&](const std::string& percent) {
    return FormatCurrency(RateTimes(percent, adjusted));
  };
  if (income_tax) {
    out.Section("WITHHOLDINGS & LIABILITIES");
    out.Money("Total withholdings", withheld);
    out.RowOf("Employee liability", [&] { return liability(def[kDefEmployeeRate]); });
    out.Money("Employer liability", Money());
  } else {
    out.Section("WITHHOLDINGS AND LIABILITIES");
    out.RowOf("Employee liability", [&] { return liability(def[kDefEmployeeRate]); });
    out.Money("Total withholdings", withheld);
    out.RowOf("Employer liability", [&] { return liability(def[kDefEmployerRate]); });
  }
  out.Select(1);
}

}  // namespace veltrane
