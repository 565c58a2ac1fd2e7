// The employer's tax settings: the pay period, the EIC options and the
// state and employer-defined taxes. Each setting has a household name
// ("period", "sit-rate") and is checked here, once.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/database.h"
#include "common/value.h"
#include "host/household/people.h"
#include "host/household/rows.h"

namespace veltrane::household {

enum class SettingKind { kPeriod, kPercent, kAmount, kYesNo, kText, kDefinitions };

struct SettingField {
  std::string_view field;   // "sit-rate"
  std::string_view column;  // "SITRate"
  SettingKind kind;
  std::string_view help;  // one line
};

// Every setting, in the order the settings are listed.
std::span<const SettingField> SettingFields();

// Stores the settings given, by their household names (an empty text
// clears one; yes/no settings take yes, no, true or false), in the settings
// row (made when missing), in one transaction; returns the stored row.
// Nothing is stored when a value is refused (a Fault of its setting).
RowImage StoreSettings(Database& db, const GivenFields& given);

// A stored value as the user reads it ("Weekly", "1.5%", "$7,000.00",
// "yes"); empty when not set.
std::string ShownSetting(const SettingField& s, const Value& v);

}  // namespace veltrane::household
