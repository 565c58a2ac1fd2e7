// Inside the household layer: what paying a paycheck and checking a
// preview share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/database.h"
#include "common/date.h"
#include "host/household/paycheck.h"

namespace veltrane::household {

// A paid check, not void, of the request's assistant whose period shares a
// day with the request's; the earliest such.
struct PaidCheck {
  std::int64_t id = 0;
  std::string number;
  Date start;
  Date end;
};
std::optional<PaidCheck> PaidOverlap(Database& db, const PaycheckRequest& request);

// A short text that changes whenever what the paycheck shows changes: the
// request and every figure shown.
std::string PaycheckFingerprint(const PaycheckRequest& request, const PaycheckShown& shown);

}  // namespace veltrane::household
