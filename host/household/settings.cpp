#include "host/household/settings.h"

#include "common/amount_text.h"
#include "common/display.h"
#include "common/tax_names.h"
#include "host/household/elections.h"
#include "host/household/input_text.h"

namespace veltrane::household {
namespace {

constexpr SettingField kSettings[] = {
    {"period", "PayrollPeriod", SettingKind::kPeriod,
     "pay period: Weekly, Biweekly, Semimonthly, Monthly, ..."},
    {"eic-reduce", "EICReduce", SettingKind::kYesNo,
     "limit each advance EIC payment to the check's taxes"},
    {"eic-pay-in-full", "EICPayInFull", SettingKind::kYesNo,
     "EIC payment option shown by the statements"},
    {"sit-rate", "SITRate", SettingKind::kPercent, "state income tax rate"},
    {"sit-single", "SITSingle", SettingKind::kAmount, "state income tax allowance, single"},
    {"sit-married", "SITMarried", SettingKind::kAmount, "state income tax allowance, married"},
    {"sit-household", "SITHousehold", SettingKind::kAmount,
     "state income tax allowance, head of household"},
    {"sdi-base", "SDIBase", SettingKind::kAmount, "state disability insurance wage base"},
    {"sdi-employee-rate", "SDIEmployeeRate", SettingKind::kPercent,
     "SDI rate withheld from the employee"},
    {"sdi-employer-rate", "SDIEmployerRate", SettingKind::kPercent, "SDI rate the employer pays"},
    {"sdi-withholding", "SDIWithholding", SettingKind::kPercent,
     "SDI withholding rate shown by the statements"},
    {"sdi-use-exemptions", "SDIUseExemptions", SettingKind::kYesNo,
     "reduce the SDI base by the allowances"},
    {"sdi-single", "SDISingle", SettingKind::kAmount, "SDI allowance, single"},
    {"sdi-married", "SDIMarried", SettingKind::kAmount, "SDI allowance, married"},
    {"sdi-household", "SDIHousehold", SettingKind::kAmount, "SDI allowance, head of household"},
    {"sui-base", "SUIBase", SettingKind::kAmount, "state unemployment insurance wage base"},
    {"sui-employee-rate", "SUIEmployeeRate", SettingKind::kPercent,
     "SUI rate withheld from the employee"},
    {"sui-employer-rate", "SUIEmployerRate", SettingKind::kPercent, "SUI rate the employer pays"},
    {"sui-withholding", "SUIWithholding", SettingKind::kPercent,
     "SUI withholding rate shown by the statements"},
    {"sui-use-exemptions", "SUIUseExemptions", SettingKind::kYesNo,
     "reduce the SUI base by the allowances"},
    {"sui-single", "SUISingle", SettingKind::kAmount, "SUI allowance, single"},
    {"sui-married", "SUIMarried", SettingKind::kAmount, "SUI allowance, married"},
    {"sui-household", "SUIHousehold", SettingKind::kAmount, "SUI allowance, head of household"},
    {"sui-state", "SUIState", SettingKind::kText, "state to which SUI contributions are paid"},
    {"sui-reporting-number", "SUIReportingNumber", SettingKind::kText, "state reporting number"},
    {"sui-withholding-name", "SUIWithholdingName", SettingKind::kText,
     "name under which SUI is withheld"},
    {"other-withholdings", "OtherWithholdings", SettingKind::kDefinitions,
     "employer-defined withholdings: per tax name|flat|base|rate|employer rate|employee rate|"
     "married|single|household|"},
};

// The stored value of a setting's text; the empty text clears a field.
Value Stored(const SettingField& s, const std::string& text) {
  const std::string what(s.field);
  if (s.kind == SettingKind::kYesNo) return ReadYesNo(what, text);
  if (text.empty()) return std::string();
  switch (s.kind) {
    case SettingKind::kPeriod:
      return std::to_string(ReadPayPeriod(what, text));
    case SettingKind::kPercent:
      return ReadPercent(what, text);
    case SettingKind::kAmount:
      return FormatAmount(ReadAmount(what, text));
    case SettingKind::kText:
      return ReadText(what, text);
    case SettingKind::kDefinitions:
      return CheckedTaxDefinitions(text);
    case SettingKind::kYesNo:
      break;
  }
  return std::string();
}

RowImage BlankSettings() {
  RowImage row = BlankRow(TaxSettingsFields());
  row.Set("EICReduce", false);
  row.Set("EICPayInFull", false);
  return row;
}

}  // namespace

std::span<const SettingField> SettingFields() { return kSettings; }

RowImage StoreSettings(Database& db, const GivenFields& given) {
  std::vector<std::pair<std::string_view, Value>> changes;
  for (const auto& [field, text] : given) {
    for (const SettingField& s : kSettings) {
      if (field == s.field) changes.emplace_back(s.column, Stored(s, text));
    }
  }
  TransactionScope tx(db);
  RowImage row = ReadSettings(db).value_or(BlankSettings());
  for (const auto& [column, value] : changes) row.Set(column, value);
  StoreRow(db, kTaxSettingsTable, row);
  tx.Commit();
  return row;
}

std::string ShownSetting(const SettingField& s, const Value& v) {
  const std::string text = v.ToText();
  if (text.empty()) return text;
  if (s.kind == SettingKind::kYesNo) return v.ToBool() ? "yes" : "no";
  switch (s.kind) {
    case SettingKind::kPeriod:
      return std::string(PayPeriodName(static_cast<int>(v.ToInt())));
    case SettingKind::kPercent:
      return text + "%";
    case SettingKind::kAmount:
      return FormatCurrency(ParseAmount(text));
    default:
      return text;
  }
}

}  // namespace veltrane::household
