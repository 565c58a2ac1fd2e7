// The employer's tax settings, for every front end: the pay period, the EIC
// options and the state and employer-defined taxes. Each setting is named as
// the command line's flag ("period", "sit-rate") and checked here, once.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/database.h"
#include "common/value.h"
#include "host/command_line.h"
#include "host/payroll_rows.h"

namespace veltrane::host {

enum class SettingKind { kPeriod, kPercent, kAmount, kYesNo, kText, kDefinitions };

struct SettingField {
  std::string_view flag;   // "sit-rate"
  std::string_view field;  // "SITRate"
  SettingKind kind;
  std::string_view help;  // one line
};

// Every setting, in the order the settings are listed.
std::span<const SettingField> SettingFields();

using SettingChanges = std::vector<std::pair<std::string_view, Value>>;

// The stored values of the settings given (an empty text clears one; yes/no
// settings take yes, no, true or false). Raises UserError for a value to fix
// and UsageError when none is given. Reads no database.
SettingChanges ReadSettingChanges(const ParsedArgs& fields);

// Applies the changes to the settings row (made when missing) in one
// transaction; returns the stored row.
RowImage StoreSettings(Database& db, const SettingChanges& changes);

// A stored value as the user reads it ("Weekly", "1.5%", "$7,000.00",
// "yes"); empty when not set.
std::string ShownSetting(const SettingField& s, const Value& v);

}  // namespace veltrane::host
