// Calendar dates. One parser for the date texts hosts pass, one writer for
// the "m/d/yy" literal of query texts, and the ISO form the database stores.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace veltrane {

using Date = std::chrono::year_month_day;

// Reads "m/d/yy", "m/d/yyyy" or "yyyy-mm-dd". A well-formed time of day
// after a blank ("3/1/2004 10:30:00 AM", "2004-03-01 23:59:59") or after the
// "T" of an ISO date ("2004-03-01T10:30", seconds and their fraction
// optional) is dropped. A two-digit year is a year of the 2000s. Raises
// ConversionError for anything else, including impossible days such as
// 2/30/04, impossible times and any other text after the date.
Date ParseDate(std::string_view text);

// "m/d/yy" without leading zeros: 1 March 2004 -> "3/1/04".
std::string FormatSqlDate(Date d);
// "yyyy-mm-dd".
std::string FormatIsoDate(Date d);

Date MakeDate(int year, unsigned month, unsigned day);

}  // namespace veltrane
