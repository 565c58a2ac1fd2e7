// Prints a paycheck as the terminal control shows it: the check's heading,
// employer and employee blocks side by side, the period and hours, then one
// table of earnings, deductions, gross and net with year-to-date amounts.
#pragma once

#include <ostream>

#include "host/terminal_paycheck.h"

namespace veltrane::host {

void RenderPaycheck(std::ostream& out, const PaycheckShown& check);

}  // namespace veltrane::host
