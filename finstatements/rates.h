// The federal rate table as the statements read it, and the yes/no fields
// of Tax Settings.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/database.h"
#include "common/money.h"
#include "fedtaxrules/rate_dictionary.h"

namespace veltrane {

// Every rate is taken as money (four decimals), so a stored 0.0145 is used
// as exactly 0.0145. A key the table lacks, or no table at all, reads as 0.
class Rates {
 public:
  explicit Rates(std::unique_ptr<RateDictionary> table) : table_(std::move(table)) {}
  Money Get(std::string_view key) const;
  // The rate as a percentage text: 0.0145 -> "1.45%".
  std::string Percent(std::string_view key) const;

 private:
  std::unique_ptr<RateDictionary> table_;
};

// A yes/no field of the settings row: true for True, a non-zero number or
// the text "True" in any letter case; empty, Null or unreadable is false.
bool SettingIsTrue(Recordset& settings, const char* field) noexcept;

}  // namespace veltrane
