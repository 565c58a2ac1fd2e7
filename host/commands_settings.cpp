// The employer's tax configuration: paystead settings set|show.
#include <iterator>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/tax_names.h"
#include "host/command.h"
#include "host/host_errors.h"
#include "host/listing_views.h"
#include "host/payroll_rows.h"
#include "host/tax_lists.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

enum class Kind { kPeriod, kPercent, kAmount, kYesNo, kText, kDefinitions };

struct SettingFlag {
  std::string_view flag;
  std::string_view field;
  Kind kind;
  std::string_view help;
};

constexpr SettingFlag kSettings[] = {
    {"period", "PayrollPeriod", Kind::kPeriod,
     "pay period: Weekly, Biweekly, Semimonthly, Monthly, ..."},
    {"eic-reduce", "EICReduce", Kind::kYesNo,
     "limit each advance EIC payment to the check's taxes"},
    {"eic-pay-in-full", "EICPayInFull", Kind::kYesNo, "EIC payment option shown by the statements"},
    {"sit-rate", "SITRate", Kind::kPercent, "state income tax rate"},
    {"sit-single", "SITSingle", Kind::kAmount, "state income tax allowance, single"},
    {"sit-married", "SITMarried", Kind::kAmount, "state income tax allowance, married"},
    {"sit-household", "SITHousehold", Kind::kAmount,
     "state income tax allowance, head of household"},
    {"sdi-base", "SDIBase", Kind::kAmount, "state disability insurance wage base"},
    {"sdi-employee-rate", "SDIEmployeeRate", Kind::kPercent, "SDI rate withheld from the employee"},
    {"sdi-employer-rate", "SDIEmployerRate", Kind::kPercent, "SDI rate the employer pays"},
    {"sdi-withholding", "SDIWithholding", Kind::kPercent,
     "SDI withholding rate shown by the statements"},
    {"sdi-use-exemptions", "SDIUseExemptions", Kind::kYesNo,
     "reduce the SDI base by the allowances"},
    {"sdi-single", "SDISingle", Kind::kAmount, "SDI allowance, single"},
    {"sdi-married", "SDIMarried", Kind::kAmount, "SDI allowance, married"},
    {"sdi-household", "SDIHousehold", Kind::kAmount, "SDI allowance, head of household"},
    {"sui-base", "SUIBase", Kind::kAmount, "state unemployment insurance wage base"},
    {"sui-employee-rate", "SUIEmployeeRate", Kind::kPercent, "SUI rate withheld from the employee"},
    {"sui-employer-rate", "SUIEmployerRate", Kind::kPercent, "SUI rate the employer pays"},
    {"sui-withholding", "SUIWithholding", Kind::kPercent,
     "SUI withholding rate shown by the statements"},
    {"sui-use-exemptions", "SUIUseExemptions", Kind::kYesNo,
     "reduce the SUI base by the allowances"},
    {"sui-single", "SUISingle", Kind::kAmount, "SUI allowance, single"},
    {"sui-married", "SUIMarried", Kind::kAmount, "SUI allowance, married"},
    {"sui-household", "SUIHousehold", Kind::kAmount, "SUI allowance, head of household"},
    {"sui-state", "SUIState", Kind::kText, "state to which SUI contributions are paid"},
    {"sui-reporting-number", "SUIReportingNumber", Kind::kText, "state reporting number"},
    {"sui-withholding-name", "SUIWithholdingName", Kind::kText, "name under which SUI is withheld"},
    {"other-withholdings", "OtherWithholdings", Kind::kDefinitions,
     "employer-defined withholdings: per tax name|flat|base|rate|employer rate|employee rate|"
     "married|single|household|"},
};

std::string_view ValueName(Kind kind) {
  switch (kind) {
    case Kind::kPeriod:
      return "NAME";
    case Kind::kPercent:
      return "PERCENT";
    case Kind::kAmount:
      return "AMOUNT";
    case Kind::kYesNo:
      return "yes|no";
    case Kind::kText:
      return "TEXT";
    case Kind::kDefinitions:
      return "LIST";
  }
  return "VALUE";
}

// The stored value of a flag's text; the empty text clears a field.
Value Stored(const SettingFlag& s, const std::string& text) {
  const std::string what = "--" + std::string(s.flag);
  if (s.kind == Kind::kYesNo) return ReadYesNo(what, text);
  if (text.empty()) return std::string();
  switch (s.kind) {
    case Kind::kPeriod:
      return std::to_string(ReadPayPeriod(what, text));
    case Kind::kPercent:
      return ReadPercent(what, text);
    case Kind::kAmount:
      return FormatAmount(ReadAmount(what, text));
    case Kind::kText:
      return ReadText(what, text);
    case Kind::kDefinitions:
      return CheckedTaxDefinitions(text);
    case Kind::kYesNo:
      break;
  }
  return std::string();
}

// A stored value as the user reads it; empty when not set.
std::string Shown(const SettingFlag& s, const Value& v) {
  const std::string text = v.ToText();
  if (text.empty()) return text;
  if (s.kind == Kind::kYesNo) return v.ToBool() ? "yes" : "no";
  switch (s.kind) {
    case Kind::kPeriod:
      return std::string(PayPeriodName(static_cast<int>(v.ToInt())));
    case Kind::kPercent:
      return text + "%";
    case Kind::kAmount:
      return FormatCurrency(ParseAmount(text));
    default:
      return text;
  }
}

RowImage BlankSettings() {
  RowImage row = BlankRow(TaxSettingsFields());
  row.Set("EICReduce", false);
  row.Set("EICPayInFull", false);
  return row;
}

void ShowSettings(std::ostream& out, const RowImage& row) {
  std::vector<std::pair<std::string, std::string>> fields;
  for (const SettingFlag& s : kSettings) {
    const std::string shown = Shown(s, row.Get(s.field));
    if (!shown.empty()) fields.emplace_back(std::string(s.flag), shown);
  }
  RenderFields(out, fields);
}

void SettingsSet(Session& session, const ParsedArgs& args) {
  std::vector<std::pair<std::string_view, Value>> changes;
  for (const SettingFlag& s : kSettings) {
    if (const auto text = args.Get(s.flag)) changes.emplace_back(s.field, Stored(s, *text));
  }
  if (changes.empty()) throw UsageError("nothing to set; give at least one flag");
  Database& db = session.db();
  TransactionScope tx(db);
  RowImage row = ReadFirstRow(db, kTaxSettingsTable, TaxSettingsFields()).value_or(BlankSettings());
  for (auto& [field, value] : changes) row.Set(field, std::move(value));
  StoreRow(db, kTaxSettingsTable, row);
  tx.Commit();
  session.out() << "Tax settings saved:\n";
  ShowSettings(session.out(), row);
}

void SettingsShow(Session& session, const ParsedArgs&) {
  const auto row = ReadFirstRow(session.db(), kTaxSettingsTable, TaxSettingsFields());
  if (!row) {
    session.out() << "No tax settings yet; set the pay period with 'paystead settings set --period "
                     "Weekly'.\n";
    return;
  }
  ShowSettings(session.out(), *row);
}

}  // namespace

void AddSettingsCommands(CommandTable& table) {
  std::vector<OptionSpec> options;
  for (const SettingFlag& s : kSettings)
    options.push_back({s.flag, true, false, s.help, ValueName(s.kind)});
  table.push_back(
      {{"settings", "set"},
       "",
       "set the pay period, the EIC options and the state and other taxes",
       "Percentages are written like 1.5 (or 1.5%), amounts like 7000. An empty value clears a\n"
       "field. A state tax applies to the assistants who elect it (assistant --sit/--sdi/--sui).\n"
       "Example: paystead settings set --period Weekly --sit-rate 3 --sit-single 1000\n"
       "         --other-withholdings 'Union dues|5||||||||'",
       options,
       0,
       0,
       SettingsSet});
  table.push_back({{"settings", "show"}, "", "show the tax settings", "", {}, 0, 0, SettingsShow});
}

}  // namespace veltrane::host
