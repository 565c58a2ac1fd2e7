// A paycheck as a section of a page: its heading and status, the employer
// and employee, and the table of earnings, deductions, gross and net with
// the year-to-date amounts.
#pragma once

#include <string>

#include "paytransaction/memory_paycheck.h"

namespace veltrane::html {

std::string PaycheckHtml(const PaycheckShown& check);

}  // namespace veltrane::html
