// Inside the household layer: what paying a paycheck and checking a
// preview share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/database.h"
#include "common/date.h"
#include "host/household/paycheck.h"

namespace veltrane::household {

// A paid check that is not void.
struct PaidCheck {
  std::int64_t id = 0;
  std::string number;
  Date start;
  Date end;
};
// The paid checks, not void, of `assistant` (as stored) whose periods share
// a day with `from` to `to`, earliest first.
std::vector<PaidCheck> PaidChecks(Database& db, std::string_view assistant, Date from, Date to);
// The earliest of them for the request's assistant and period.
std::optional<PaidCheck> PaidOverlap(Database& db, const PaycheckRequest& request);

// The next check number after the highest in the payment journal, void
// checks included (their paper is used); "1" for the first check.
std::string NextCheckNumber(Database& db);
// A Fault of "check" when a check that is not void carries `number`.
void RequireFreeCheckNumber(Database& db, const std::string& number);

// A short text that changes whenever what the paycheck shows changes: the
// request and every figure shown.
std::string PaycheckFingerprint(const PaycheckRequest& request, const PaycheckShown& shown);

}  // namespace veltrane::household
