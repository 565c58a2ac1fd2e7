// The payment journal: listing the stored checks, showing one as the
// paycheck control shows it, and voiding one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/clock.h"
#include "common/database.h"
#include "common/date.h"
#include "common/money.h"
#include "paytransaction/memory_paycheck.h"

namespace veltrane::household {

struct JournalEntry {
  std::int64_t id = 0;
  Date date;
  std::string payee;
  std::string check_number;
  Date start;
  Date end;
  Money gross;
  Money net;
  bool is_void = false;
};

struct JournalFilter {
  std::optional<std::string> payee;  // an assistant, any letter case (field "assistant")
  std::optional<std::string> from;   // check-date texts as typed
  std::optional<std::string> to;
};

// The stored checks that pass the filter, by check date and ID.
std::vector<JournalEntry> ListChecks(Database& db, const JournalFilter& filter);

// A check ID as typed (field "id"): a whole number from 1 up.
std::int32_t ReadCheckId(std::string_view text);

// The stored check as the paycheck control shows it; a Fault of "id" when
// there is no check with that ID.
PaycheckShown ShowCheck(Database& db, const Clock& clock, std::int32_t id);

// What an assistant has been paid, every check not void and every hour
// marked paid counted.
struct PaidTotals {
  std::int64_t checks = 0;
  double regular_hours = 0;
  double overtime_hours = 0;
  Money gross;
  Money net;
  Money eic;
};
PaidTotals TotalsPaid(Database& db, std::string_view assistant);

struct VoidOutcome {
  std::int32_t id = 0;
  std::string payee;
  Date start;
  Date end;
  Money gross;
  std::int64_t hours_unpaid = 0;  // work-journal entries payable again
};

// Voids the check and makes the hours of its period payable again, unless
// another check that is not void pays the same day. A Fault when there is
// no such check or it is void already.
VoidOutcome VoidCheck(Database& db, std::int32_t id);

// What voiding the check would do, changing nothing: the days whose hours
// would become payable again (check.hours_unpaid counts their entries).
struct VoidPreview {
  VoidOutcome check;
  std::vector<Date> days;
};
VoidPreview PreviewVoid(Database& db, std::int32_t id);

}  // namespace veltrane::household
