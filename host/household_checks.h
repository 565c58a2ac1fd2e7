// The payment journal, for every front end: listing the stored checks,
// showing one as the paycheck control shows it, and voiding one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "common/database.h"
#include "host/listing_views.h"
#include "host/terminal_paycheck.h"

namespace veltrane::host {

struct JournalFilter {
  std::optional<std::string> payee;  // an assistant, any letter case
  std::optional<std::string> from;   // check-date texts as typed (--from, --to)
  std::optional<std::string> to;
};

// The stored checks that pass the filter, by check date and ID.
std::vector<JournalEntry> ListChecks(Database& db, const JournalFilter& filter);

// A check ID as typed (ID): a whole number from 1 up.
std::int32_t ReadCheckId(std::string_view text);

// The stored check as the paycheck control shows it; UserError when there
// is no check with that ID.
PaycheckShown ShowCheck(Database& db, const Clock& clock, std::int32_t id);

struct VoidOutcome {
  std::int32_t id = 0;
  std::string payee;
  Date start;
  Date end;
  Money gross;
  std::int64_t hours_unpaid = 0;  // work-journal entries payable again
};

// Voids the check and makes the hours of its period payable again, unless
// another check that is not void pays the same day. UserError when there is
// no such check or it is void already.
VoidOutcome VoidCheck(Database& db, std::int32_t id);

}  // namespace veltrane::host
