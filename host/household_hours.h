// The work journal, for every front end: checking and recording the hours
// of a day, and reading them back.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/database.h"
#include "host/listing_views.h"

namespace veltrane::host {

// One day's hours checked: the assistant's stored name, the day (DATE), the
// regular (REG) and overtime (OT, none is 0) hours, at most 24 in all.
// Raises UserError naming the faulty value.
HoursEntry CheckHours(Database& db, std::string_view name, std::string_view day,
                      std::string_view regular, std::optional<std::string_view> overtime);

// Stores checked entries as unpaid hours, all in one transaction.
void RecordHours(Database& db, std::span<const HoursEntry> entries);

struct HoursFilter {
  std::optional<std::string> name;  // an assistant, any letter case
  std::optional<std::string> from;  // date texts as typed (--from, --to)
  std::optional<std::string> to;
  bool unpaid_only = false;
};

// The work journal's entries that pass the filter, by day, name and entry.
std::vector<HoursEntry> ListHours(Database& db, const HoursFilter& filter);

}  // namespace veltrane::host
