// A paycheck as every front end lays it out: the lines of its employer and
// employee blocks, its status, and one table of earnings, deductions, gross
// and net with year-to-date amounts, its amounts written as currency.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "paytransaction/memory_paycheck.h"

namespace veltrane::household {

// One line of the paycheck's table: a heading ("Earnings", "Deductions")
// with no amounts, an earning or a deduction, or a total (gross, net).
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

// The check as its pay stub shows it to the assistant: the Social Security
// number, the last line of the employee block, shows its last four digits
// only ("XXX-XX-4321"); every figure as it was.
PaycheckShown PayStubOf(const PaycheckShown& check);

}  // namespace veltrane::household
