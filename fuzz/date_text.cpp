// The date parser: a date it reads is a calendar date, and each form the
// system writes a date in reads back as the same date.
//
// Input: the date text.
#include <optional>

#include "common/date.h"
#include "common/display.h"
#include "common/errors.h"
#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

std::optional<Date> TryParse(std::string_view text) {
  try {
    return ParseDate(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = AsText(data, size);
  const std::optional<Date> date = TryParse(text);
  if (!date) return 0;
  Require(date->ok(), "a date read is a calendar date", text);
  Require(TryParse(FormatIsoDate(*date)) == date, "the stored form reads back", text);
  const int year = static_cast<int>(date->year());
  // The display form writes the year as it is, the query form its last two
  // digits: each reads back where it can hold the year.
  if (year >= 1000) {
    Require(TryParse(FormatShortDate(*date)) == date, "the display form reads back", text);
  }
  if (year >= 2000 && year <= 2099) {
    Require(TryParse(FormatSqlDate(*date)) == date, "the query form reads back", text);
  }
  FormatMonthYear(*date);
  return 0;
}

}  // namespace veltrane::fuzz
