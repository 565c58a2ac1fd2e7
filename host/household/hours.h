// The work journal: checking and recording the hours of a day, and reading
// them back.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
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

// The hours of a day a check pays cannot change: adding, setting or
// removing them is a Fault that names the check to void first
// (Remedy::kVoidToChange). An assistant's hours of a day, in all its entries,
// are at most 24.

// Adds checked entries as unpaid hours, all in one transaction; nothing is
// stored when one is refused.
void RecordHours(Database& db, std::span<const HoursEntry> entries);

// Makes each entry's hours the unpaid hours of its assistant and day, in
// place of those recorded (an entry of no hours removes them), all in one
// transaction; nothing is stored when one is refused. A day that already
// holds exactly those hours is left as it is. Returns the days changed.
int SetHours(Database& db, std::span<const HoursEntry> entries);

// Removes the unpaid hours of an assistant (field "assistant") on a day
// (field "date"); returns what they were. A Fault when none are recorded.
HoursEntry DeleteHours(Database& db, std::string_view assistant, std::string_view date);

// What the work journal holds for an assistant on a day.
struct RecordedDay {
  float regular = 0;  // unpaid hours, every entry of the day
  float overtime = 0;
  int entries = 0;  // unpaid entries
  float paid_regular = 0;
  float paid_overtime = 0;
  std::optional<std::int64_t> paid_by;  // the check, not void, whose period holds the day
};

// The days from `first` to `last` of every assistant that hold hours or
// that a check pays, by the assistant's stored name and the day.
std::map<std::pair<std::string, Date>, RecordedDay> RecordedDays(Database& db, Date first,
                                                                 Date last);

struct HoursFilter {
  std::optional<std::string> assistant;  // any letter case
  std::optional<std::string> from;       // date texts as typed
  std::optional<std::string> to;
  bool unpaid_only = false;
};

// The work journal's entries that pass the filter, by day, name and entry.
std::vector<HoursEntry> ListHours(Database& db, const HoursFilter& filter);

}  // namespace veltrane::household
