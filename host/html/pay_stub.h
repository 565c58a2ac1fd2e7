// A paycheck's stub as a page to hand over or print: one US Letter sheet
// with the employer and employee, the period, check number and date, hours
// and rates, earnings and deductions with their year-to-date amounts and
// the net pay, exactly as the paycheck control showed them. A standalone
// HTML5 document with its style inside it.
#pragma once

#include <string>

#include "paytransaction/memory_paycheck.h"

namespace veltrane::html {

// `stub` is a check as household::PayStubOf gives it.
std::string RenderPayStub(const PaycheckShown& stub);

// What a page of a stub needs of style: amounts aligned, and in print only
// the paycheck, on one sheet. The web application's pages use it too.
extern const char* const kPayStubStyle;

}  // namespace veltrane::html
