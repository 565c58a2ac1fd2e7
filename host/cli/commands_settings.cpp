// The employer's tax configuration: paystead settings set|show.
#include "host/cli/cli_errors.h"
#include "host/cli/command.h"
#include "host/cli/listing_views.h"
#include "host/household/settings.h"

namespace veltrane::cli {
namespace {

using household::SettingField;
using household::SettingKind;

std::string_view ValueName(SettingKind kind) {
  switch (kind) {
    case SettingKind::kPeriod:
      return "NAME";
    case SettingKind::kPercent:
      return "PERCENT";
    case SettingKind::kAmount:
      return "AMOUNT";
    case SettingKind::kYesNo:
      return "yes|no";
    case SettingKind::kText:
      return "TEXT";
    case SettingKind::kDefinitions:
      return "LIST";
  }
  return "VALUE";
}

void ShowSettings(std::ostream& out, const RowImage& row) {
  std::vector<std::pair<std::string, std::string>> fields;
  for (const SettingField& s : household::SettingFields()) {
    const std::string shown = household::ShownSetting(s, row.Get(s.column));
    if (!shown.empty()) fields.emplace_back(std::string(s.field), shown);
  }
  RenderFields(out, fields);
}

void SettingsSet(Session& session, const ParsedArgs& args) {
  household::GivenFields given;
  for (const SettingField& s : household::SettingFields()) {
    if (const auto text = args.Get(s.field)) given.emplace_back(std::string(s.field), *text);
  }
  if (given.empty()) throw UsageError("nothing to set; give at least one flag");
  const RowImage row = household::StoreSettings(session.db(), given);
  session.out() << "Tax settings saved:\n";
  ShowSettings(session.out(), row);
}

void SettingsShow(Session& session, const ParsedArgs&) {
  const auto row = household::ReadSettings(session.db());
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
  for (const SettingField& s : household::SettingFields())
    options.push_back({s.field, true, false, s.help, ValueName(s.kind)});
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

}  // namespace veltrane::cli
