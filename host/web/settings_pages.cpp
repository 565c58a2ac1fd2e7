// The tax settings as a page: /settings.
#include <map>

#include "common/tax_names.h"
#include "host/household/settings.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {
namespace {

using household::SettingField;
using household::SettingKind;

using Values = std::map<std::string, std::string>;

// "state income tax rate" -> "State income tax rate".
std::string Sentence(std::string_view help) {
  std::string text(help);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

// The captions with a hot key; the other settings are reached through their
// group's legend.
const std::map<std::string_view, std::string_view> kCaptions = {
    {"period", "Pay pe&riod"},
    {"eic-reduce", "&Limit each advance EIC payment to the check's taxes"},
    {"eic-pay-in-full", "EI&C payment option shown by the statements"},
};

// The groups of settings, by the start of their field names.
constexpr std::pair<std::string_view, std::string_view> kGroups[] = {
    {"sit-", "State &income tax"},
    {"sdi-", "State &disability insurance"},
    {"sui-", "State &unemployment insurance"},
    {"other-", "&Other withholdings"},
};

std::string_view GroupOf(std::string_view field) {
  for (const auto& [start, legend] : kGroups) {
    if (field.starts_with(start)) return legend;
  }
  return "";
}

// The text a field shows for a stored value.
std::string FieldText(const SettingField& s, const Value& v) {
  if (s.kind == SettingKind::kYesNo)
    return !v.IsNull() && !v.ToText().empty() && v.ToBool() ? "yes" : "";
  if (s.kind == SettingKind::kPeriod) return household::ShownSetting(s, v);
  return v.ToText();
}

WebReply SettingsPage(WebContext& c, const Values& values, const PageFault& fault, bool saved) {
  WebPage page("Tax settings", "/settings", c.token);
  if (saved) page.Notice("Tax settings saved.", false);
  if (!fault.text.empty() && fault.field.empty()) page.Notice(fault.text, true);
  page.BeginForm("/settings", "The pay period, the EIC options and the state and other taxes");
  std::string_view group;
  for (const SettingField& s : household::SettingFields()) {
    const std::string field(s.field);
    const auto it = values.find(field);
    const std::string value = it == values.end() ? "" : it->second;
    const std::string beside = fault.field == field ? fault.text : "";
    if (GroupOf(field) != group) {
      if (!group.empty()) page.EndGroup();
      group = GroupOf(field);
      if (!group.empty()) page.BeginGroup(group);
    }
    const auto known = kCaptions.find(s.field);
    const std::string caption =
        known == kCaptions.end() ? CaptionLiteral(Sentence(s.help)) : std::string(known->second);
    if (s.kind == SettingKind::kPeriod) {
      std::vector<std::pair<std::string, std::string>> periods = {{"none", "(not set)"}};
      for (int code = 0; code < kPayPeriodCount; ++code) {
        const std::string name(PayPeriodName(code));
        periods.emplace_back(name, name);
      }
      page.Select(field, caption, periods, value.empty() ? "none" : value, beside);
    } else if (s.kind == SettingKind::kYesNo) {
      page.Checkbox(field, caption, value == "yes");
    } else {
      const char* hint = s.kind == SettingKind::kPercent  ? "percent, like 1.5"
                         : s.kind == SettingKind::kAmount ? "dollars, like 7000"
                                                          : "";
      page.TextField(field, caption, value, beside, hint);
    }
  }
  if (!group.empty()) page.EndGroup();
  page.Button("Sa&ve settings");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowSettings(WebContext& c, const WebRequest& r) {
  Values values;
  if (const auto row = household::ReadSettings(c.db)) {
    for (const SettingField& s : household::SettingFields())
      values[std::string(s.field)] = FieldText(s, row->Get(s.column));
  }
  return SettingsPage(c, values, {}, r.Value("saved").has_value());
}

WebReply SaveSettings(WebContext& c, const WebRequest& r) {
  Values values;
  household::GivenFields given;
  for (const SettingField& s : household::SettingFields()) {
    const std::string field(s.field);
    std::string value = r.ValueOr(field);
    if (s.kind == SettingKind::kYesNo) value = value.empty() ? "no" : "yes";
    if (s.kind == SettingKind::kPeriod && value == "none") value.clear();
    values[field] = s.kind == SettingKind::kYesNo && value == "no" ? "" : value;
    given.emplace_back(field, value);
  }
  try {
    household::StoreSettings(c.db, given);
  } catch (const household::Fault& e) {
    return SettingsPage(c, values, ForPage(e, {}), false);
  }
  return WebReply::SeeOther("/settings?saved=1");
}

}  // namespace

void AddSettingsPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/settings", false, ShowSettings});
  routes.push_back({"/settings", true, SaveSettings});
}

}  // namespace veltrane::web
