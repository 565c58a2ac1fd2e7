// Prints a paycheck on the terminal: the check's heading, employer and
// employee blocks side by side, the period and hours, then one table of
// earnings, deductions, gross and net with year-to-date amounts.
#pragma once

#include <ostream>

#include "host/household/paycheck.h"
#include "paytransaction/memory_paycheck.h"

namespace veltrane::cli {

void RenderPaycheck(std::ostream& out, const PaycheckShown& check);

// Shows a paid check on `out` and says where it is stored. The payment is
// already committed, so a check that cannot be shown is reported on `err`
// and the report still ends as a success; nothing is raised.
void ReportPayment(std::ostream& out, std::ostream& err, const household::PaycheckOutcome& outcome);

}  // namespace veltrane::cli
