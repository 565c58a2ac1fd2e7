#include "common/amount_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/errors.h"
#include "common/text.h"

namespace veltrane {
namespace {

// Drops trailing fraction zeros and a bare ".", and turns "-0" into "0".
std::string TrimFraction(std::string s) {
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

}  // namespace

std::string FormatAmount(Money amount) {
  const std::int64_t t = amount.ticks();
  // Work on the magnitude as unsigned so the most negative value is safe.
  const std::uint64_t mag = t < 0 ? 0 - static_cast<std::uint64_t>(t) : static_cast<std::uint64_t>(t);
  const std::uint64_t whole = mag / Money::kScale;
  const std::uint64_t frac = mag % Money::kScale;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%s%llu.%04llu", t < 0 ? "-" : "",
                static_cast<unsigned long long>(whole), static_cast<unsigned long long>(frac));
  return TrimFraction(buf);
}

double ParseNumber(std::string_view text) {
  const std::string s = Trim(text);
  if (s.empty()) throw ConversionError("empty number");
  // from_chars rejects a leading "+"; accept it as the host's conversion does.
  std::string_view body = s;
  if (body.front() == '+') body.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(value) ||
      body.front() == 'i' || body.front() == 'n' || body.front() == 'I' || body.front() == 'N') {
    throw ConversionError("not a number: '" + s + "'");
  }
  return value;
}

std::int64_t ParseWholeNumber(std::string_view text, std::int64_t lo, std::int64_t hi) {
  const double n = std::nearbyint(ParseNumber(text));
  if (n < static_cast<double>(lo) || n > static_cast<double>(hi)) {
    throw ConversionError("number out of range: '" + std::string(text) + "'");
  }
  return static_cast<std::int64_t>(n);
}

Money ParseAmount(std::string_view text) {
  const std::string s = Trim(text);
  // Exact path for plain decimals so no binary rounding creeps in.
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) i = 1;
  const std::size_t int_begin = i;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
  const std::size_t int_end = i;
  std::size_t frac_begin = i, frac_end = i;
  if (i < s.size() && s[i] == '.') {
    frac_begin = ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    frac_end = i;
  }
  const bool has_digits = int_end > int_begin || frac_end > frac_begin;
  if (i == s.size() && has_digits && frac_end - frac_begin <= 4 && int_end - int_begin <= 15) {
    std::int64_t ticks = 0;
    for (std::size_t k = int_begin; k < int_end; ++k) ticks = ticks * 10 + (s[k] - '0');
    std::int64_t frac = 0;
    std::size_t digits = 0;
    for (std::size_t k = frac_begin; k < frac_end; ++k, ++digits) frac = frac * 10 + (s[k] - '0');
    for (; digits < 4; ++digits) frac *= 10;
    ticks = ticks * Money::kScale + frac;
    return Money::FromTicks(negative ? -ticks : ticks);
  }
  // Longer fractions or exponents: through double, nearest ten-thousandth.
  return Money::FromDouble(ParseNumber(s));
}

std::string FormatHours(float hours) {
  const double h = static_cast<double>(hours);
  if (!std::isfinite(h)) throw ConversionError("hours are not a number");
  // Seven significant digits, written without an exponent.
  const int magnitude = h == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(h))));
  const int decimals = std::max(0, 6 - magnitude);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, h);
  return TrimFraction(buf);
}

}  // namespace veltrane
