// The work journal: checking and recording the hours of a day, and reading
// them back.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/database.h"
#include "common/date.h"

namespace veltrane::household {

struct HoursEntry {
  Date day;
  std::string name;
  float regular = 0;
  float overtime = 0;
  bool paid = false;
};

// One day's hours as typed: fields "assistant", "date", "regular" and
// "overtime" (empty is none).
struct HoursInput {
  std::string assistant = {};
  std::string date = {};
  std::string regular = {};
  std::string overtime = {};
};

// The entry checked: the assistant's stored name, the day, the hours, at
// most 24 in all. A Fault naming the field at fault.
HoursEntry CheckHours(Database& db, const HoursInput& input);

// Stores checked entries as unpaid hours, all in one transaction.
void RecordHours(Database& db, std::span<const HoursEntry> entries);

struct HoursFilter {
  std::optional<std::string> assistant;  // any letter case
  std::optional<std::string> from;       // date texts as typed
  std::optional<std::string> to;
  bool unpaid_only = false;
};

// The work journal's entries that pass the filter, by day, name and entry.
std::vector<HoursEntry> ListHours(Database& db, const HoursFilter& filter);

}  // namespace veltrane::household
