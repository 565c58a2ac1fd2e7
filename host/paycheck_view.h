// Prints a paycheck as the terminal control shows it: the check's heading,
// employer and employee blocks side by side, the period and hours, then one
// table of earnings, deductions, gross and net with year-to-date amounts.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/terminal_paycheck.h"

namespace veltrane::host {

// One line of the paycheck's table, its amounts as currency: a heading
// ("Earnings", "Deductions") with no amounts, an earning or a deduction, or
// a total (gross, net).
struct PaycheckLine {
  enum class Kind { kHeading, kItem, kTotal };
  Kind kind = Kind::kItem;
  std::string label;
  std::string hours;  // empty where the line has none
  std::string rate;
  std::string current;
  std::string year_to_date;
};
std::vector<PaycheckLine> PaycheckLines(const PaycheckShown& check);

// "PAID", "NOT PAID" or "VOID".
std::string PaycheckStatus(const PaycheckShown& check);

// The lines of an employer or employee block (joined by CR LF).
std::vector<std::string> BlockLines(std::string_view block);

void RenderPaycheck(std::ostream& out, const PaycheckShown& check);

}  // namespace veltrane::host
