// Display formatting in US English, the one place amounts and dates are
// made readable for a person. Cents are shown rounded half away from zero.
#pragma once

#include <string>
#include <string_view>

#include "common/date.h"
#include "common/money.h"

namespace veltrane {

// The amount in whole cents as a currency text shows it (half away from
// zero): 1.2350 -> 1.24, -1.2350 -> -1.24.
Money RoundedToCents(Money amount);
// "$1,234.56"; negatives in parentheses: "($1,234.56)". Every Money has a
// text, the smallest one included.
std::string FormatCurrency(Money amount);
// A text FormatCurrency wrote, read back to its whole cents; raises
// ConversionError for any other text.
Money ParseCurrency(std::string_view text);
// A fraction shown as a percentage with two decimals, rounded half away
// from zero: 0.0145 -> "1.45%", -0.5 -> "-50.00%". NaN, infinities and
// fractions of 1.8e15 or more in size (percentages of 18 digits and more,
// which no rate can be) raise ConversionError.
std::string FormatPercent(double fraction);
// "M/d/yyyy": 3/1/2004.
std::string FormatShortDate(Date d);
// "MMMM yyyy": March 2004.
std::string FormatMonthYear(Date d);

}  // namespace veltrane
