#include "common/display.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "common/amount_text.h"
#include "common/errors.h"

namespace veltrane {
namespace {

// Digits of a non-negative count of cents as "1,234.56".
std::string GroupedCents(std::uint64_t cents) {
  std::string whole = std::to_string(cents / 100);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(i, ",");
  char frac[4];
  std::snprintf(frac, sizeof frac, "%02u", static_cast<unsigned>(cents % 100));
  return whole + "." + frac;
}

}  // namespace

// Whole cents of the amount's magnitude, half away from zero.
static std::uint64_t CentsOf(Money amount) {
  const std::int64_t t = amount.ticks();
  const std::uint64_t mag =
      t < 0 ? 0 - static_cast<std::uint64_t>(t) : static_cast<std::uint64_t>(t);
  return (mag + 50) / 100;
}

Money RoundedToCents(Money amount) {
  const std::uint64_t ticks = CentsOf(amount) * 100;
  if (ticks > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    throw ConversionError("money overflow");
  }
  const auto magnitude = static_cast<std::int64_t>(ticks);
  return Money::FromTicks(amount.ticks() < 0 ? -magnitude : magnitude);
}

std::string FormatCurrency(Money amount) {
  const std::int64_t t = amount.ticks();
  const std::uint64_t cents = CentsOf(amount);
  const std::string body = "$" + GroupedCents(cents);
  return t < 0 && cents != 0 ? "(" + body + ")" : body;
}

std::string FormatPercent(double fraction) {
  const double hundredths = std::round(std::fabs(fraction) * 10000.0);  // half away from zero
  // 2^64 hundredths of a percent; NaN fails the comparison too.
  if (!(hundredths < 18446744073709551616.0))
    throw ConversionError("not a percentage that can be shown");
  const std::string body = GroupedCents(static_cast<std::uint64_t>(hundredths)) + "%";
  return fraction < 0 && hundredths != 0 ? "-" + body : body;
}

std::string FormatShortDate(Date d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u/%u/%04d", static_cast<unsigned>(d.month()),
                static_cast<unsigned>(d.day()), static_cast<int>(d.year()));
  return buf;
}

std::string FormatMonthYear(Date d) {
  static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
  return std::string(kMonths[static_cast<unsigned>(d.month()) - 1]) + " " +
         std::to_string(static_cast<int>(d.year()));
}

Money ParseCurrency(std::string_view text) {
  const bool negative = text.size() > 2 && text.front() == '(' && text.back() == ')';
  if (negative) text = text.substr(1, text.size() - 2);
  if (!text.starts_with('$'))
    throw ConversionError("'" + std::string(text) + "' is not an amount of dollars");
  std::string digits;
  for (char c : text.substr(1)) {
    if (c != ',') digits.push_back(c);
  }
  const Money amount = ParseAmount(digits);
  if (FormatCurrency(amount) != text)
    throw ConversionError("'" + std::string(text) + "' is not an amount of dollars");
  return negative ? -amount : amount;
}

}  // namespace veltrane
