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

// Every Money has a text, and ParseAmount reads each one back to the same
// Money, the smallest (-922337203685477.5808) included.
std::string FormatAmount(Money amount);

// All three readers below take one grammar, with surrounding blanks: an
// optional sign, digits with an optional "." fraction (at least one digit)
// and an optional exponent ("1.5e3"). A second sign, inner blanks, "inf",
// "nan" and anything else raise ConversionError; a well-formed number
// beyond what the result can hold raises OutOfRangeError (a kind of
// ConversionError). Nothing is ever wrapped around.

// An amount read exactly from its decimal digits; more than four fraction
// digits round to the nearest ten-thousandth (ties to even).
Money ParseAmount(std::string_view text);

// A plain decimal number (rates, percentages, hours) as the nearest double;
// one too small for a double is zero.
double ParseNumber(std::string_view text);

// A number read exactly and rounded to the nearest whole number (ties to
// even), which must lie in [lo, hi] (else OutOfRangeError). Counts, codes
// and check numbers are read this way.
std::int64_t ParseWholeNumber(std::string_view text, std::int64_t lo, std::int64_t hi);

// Hours as single precision, written with at most seven significant digits
// and no exponent: 37.5 -> "37.5", 40 -> "40".
std::string FormatHours(float hours);

}  // namespace veltrane
