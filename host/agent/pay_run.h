// The agent's pay run: for every household, each assistant with unpaid
// hours in the period is paid through the household layer's paycheck, each
// check its own write transaction with the paid-day guard. A run stopped at
// any point (the process killed included) and started again pays only what
// is left, so every check is paid once.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "common/clock.h"
#include "common/date.h"
#include "common/money.h"

namespace veltrane::agent {

struct PayRunRequest {
  std::string from, to;  // the period, as typed (fields "from" and "to")
  int workers = 2;       // each with its own connection
};

struct PayRunProgress {
  std::int64_t households_done = 0;
  std::int64_t households = 0;
  std::int64_t checks = 0;
};

struct PayRunSummary {
  std::int64_t households = 0;
  std::int64_t checks = 0;
  Money gross, net;
  // Why paychecks were not paid, each reason with the number of them; a
  // reason is "<household>: <failure>" for a household that failed as a
  // whole (its connection lost, say).
  std::map<std::string, std::int64_t> refusals;
};

// Runs the pay run on the agent's database at `uri`, checks dated `clock`'s
// today. `progress` (may be empty) is told, from one worker at a time,
// after each household. A Fault for a period that is not one; a refusal
// of one paycheck never stops the run.
PayRunSummary RunPayRun(const std::string& uri, const Clock& clock, const PayRunRequest& request,
                        const std::function<void(const PayRunProgress&)>& progress = {});

}  // namespace veltrane::agent
