#include "finstatements/message_table.h"

namespace veltrane {
namespace {

// Messages mark line breaks with "|1" (two) and "|2" (one) and the place of
// an inserted text with "|0".
constexpr std::string_view kEntries[kMessageEntries] = {
    "Summary",
    "Detailed",
    "Single",
    "Married",
    "Head of Household",
    "Description",
    "Amount",
    "An unexpected error occurred|2initializing financial statements.|1|0.|1Re-start the program "
    "if needed.|1",
    "Error",
    "Other Taxes",
    "Supplemental Payments",
    "SUMMARY STATEMENT",
    "to",
    "Gross Wages",
    "Regular",
    "Overtime",
    "Supplemental",
    "Net Wages",
    "Total withholdings",
    "Total liabilities",
    "DETAILED STATEMENT",
    "STATEMENT",
    "PAYMENTS",
    "Total amount paid",
    "No. of payments",
    "TAXES/WITHHOLDINGS",
    "None.",
    "TAX INFORMATION",
    "Withhold flat amount",
    "None",
    "Wage base",
    "No",
    "Withholding rate",
    "Employee liability",
    "Employer liability",
    "Exemption Allowances",
    "Not specified!",
    "Total taxable payments",
    "Payments limited by base",
    "Payments in excess of base",
    "Wage base adjusted by exemptions",
    "Total taxable payments",
    "WITHHOLDINGS AND LIABILITIES",
    "Unable to adjust base with|2exemption allowances.|1The program could not locate "
    "assistant|2data to adjust the taxable wage base|2for the tax:|1|0|1The program will "
    "continue without|2the adjustment.|1",
    "Paystead",
};

}  // namespace

std::string_view MessageEntry(int entry) {
  return entry >= 0 && entry < kMessageEntries ? kEntries[entry] : std::string_view();
}

}  // namespace veltrane
