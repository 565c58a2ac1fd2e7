// Plain decimal text of amounts inside the delimited lists: optional "-",
// integer digits, and only when there is a fraction "." and one to four
// fraction digits with trailing zeros dropped; zero is "0". The separator is
// always "." whatever the user's regional settings, for writing and reading.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/money.h"

namespace veltrane {

std::string FormatAmount(Money amount);
// Reads an amount written by FormatAmount, and also any plain decimal with
// surrounding blanks; more than four fraction digits round to the nearest
// ten-thousandth (ties to even). Anything else raises ConversionError.
Money ParseAmount(std::string_view text);

// A plain decimal number (rates, percentages, hours): optional sign, digits,
// optional "." fraction, optional exponent, surrounding blanks allowed.
// Anything else, including the empty text, raises ConversionError.
double ParseNumber(std::string_view text);

// A number read as the nearest whole number (ties to even), which must lie
// in [lo, hi]; anything else raises ConversionError. Counts, codes and check
// numbers are read this way.
std::int64_t ParseWholeNumber(std::string_view text, std::int64_t lo, std::int64_t hi);

// Hours as single precision, written with at most seven significant digits
// and no exponent: 37.5 -> "37.5", 40 -> "40".
std::string FormatHours(float hours);

}  // namespace veltrane
