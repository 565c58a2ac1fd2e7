// Reading the values a person types. Each reader is given the field the
// value is for, in household words ("rate", "date"), and raises a Fault of
// that field that says what to fix; none of them touches the database. A
// fault shows the text given with control characters and bytes that are not
// UTF-8 written as \xNN, so it is always one printable line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/date.h"
#include "common/money.h"

namespace veltrane::household {

// Decimal dollars such as 12.50, read exactly; never negative, and refused
// as too large beyond what money holds.
Money ReadAmount(std::string_view field, std::string_view text);
// A percentage such as 1.5 or 1.5% (0 to 100), returned as the plain
// number text the tax settings keep ("1.5").
std::string ReadPercent(std::string_view field, std::string_view text);
// m/d/yyyy, m/d/yy or yyyy-mm-dd, in the years 2000 to 2099 (the database
// writes dates with a two-digit year).
Date ReadDate(std::string_view field, std::string_view text);
// A Fault of "from" when `from` is after `to` (the first and last days of a
// period).
void RequireOrder(Date from, Date to);
// Hours of one day: 0 to 24.
float ReadHours(std::string_view field, std::string_view text);
// Hours from 0 to `most`.
float ReadHoursUpTo(std::string_view field, std::string_view text, double most);
// yes/no (also true/false).
bool ReadYesNo(std::string_view field, std::string_view text);
// A whole number from `lo` to `hi`.
std::int64_t ReadWholeNumber(std::string_view field, std::string_view text, std::int64_t lo,
                             std::int64_t hi);
// An assistant's name (field "name"): blanks trimmed, not empty, plain text
// as ReadText takes it, and not the name that stands for every assistant in
// the statements.
std::string ReadAssistantName(std::string_view text);
// A pay-period name ("Weekly" ... "Daily"), returned as its stored code.
int ReadPayPeriod(std::string_view field, std::string_view text);
// A filing status, returned in its canonical spelling ("Single").
std::string ReadFilingStatus(std::string_view field, std::string_view text);
// A one-line text for a field, blanks trimmed: UTF-8 without control
// characters (C0, DEL, C1), so that printing it cannot steer a terminal.
std::string ReadText(std::string_view field, std::string_view text);

// The name of a file or folder to write (an output): not empty, and not
// beginning with "-", which a program it is handed to (the web browser
// that opens it) would read as an option; "./-x" names that file.
std::string ReadOutputName(std::string_view field, std::string_view text);

// A text a person gave, as a fault shows it: between apostrophes, with
// control characters and bytes that are not UTF-8 written as \xNN.
std::string Quoted(std::string_view text);

}  // namespace veltrane::household
