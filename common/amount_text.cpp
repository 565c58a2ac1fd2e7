#include "common/amount_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

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

// A decimal text taken apart, as the one grammar every number reader
// accepts: an optional sign, digits with an optional "." fraction (at least
// one digit in all) and an optional exponent. Nothing else: no second sign,
// no blanks inside, no "inf" or "nan", no hexadecimal.
struct DecimalText {
  bool negative = false;
  // The digits without the ".", leading and trailing zeros dropped; the
  // value is digits x 10^exponent.
  std::string digits;
  std::int64_t exponent = 0;

  bool MagnitudeAtLeastOne() const {
    return !digits.empty() && static_cast<std::int64_t>(digits.size()) + exponent > 0;
  }

  // The value x 10^scale rounded to the nearest integer, ties to even,
  // computed on the decimal digits so nothing is lost; nullopt when the
  // result does not fit in 64 bits.
  std::optional<std::int64_t> Scaled(int scale) const {
    if (digits.empty()) return 0;
    const std::int64_t n = static_cast<std::int64_t>(digits.size());
    const std::int64_t shift = exponent + scale;  // power of ten of the last digit
    // A 64-bit count has at most 19 digits.
    if (n + shift > 19) return std::nullopt;
    const std::int64_t kept = std::max<std::int64_t>(0, n + std::min<std::int64_t>(shift, 0));
    std::uint64_t mag = 0;
    for (std::int64_t k = 0; k < kept; ++k) {
      if (__builtin_mul_overflow(mag, 10u, &mag) ||
          __builtin_add_overflow(mag, static_cast<unsigned>(digits[k] - '0'), &mag)) {
        return std::nullopt;
      }
    }
    for (std::int64_t k = 0; k < shift; ++k) {
      if (__builtin_mul_overflow(mag, 10u, &mag)) return std::nullopt;
    }
    if (shift < 0 && kept == n + shift) {
      // digits[kept] is the first digit dropped; the rest has no trailing
      // zeros, so anything after it means "above the half".
      const char first = digits[kept];
      const bool more = kept + 1 < n;
      if (first > '5' || (first == '5' && (more || (mag & 1) != 0))) {
        if (__builtin_add_overflow(mag, 1u, &mag)) return std::nullopt;
      }
    }
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
    if (mag > kMaxPositive + (negative ? 1 : 0)) return std::nullopt;
    // The most negative count is -(2^63): negate in unsigned arithmetic.
    return negative ? static_cast<std::int64_t>(0 - mag) : static_cast<std::int64_t>(mag);
  }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<DecimalText> ScanDecimal(std::string_view s) {
  DecimalText d;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) d.negative = s[i++] == '-';
  const std::size_t int_begin = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  std::string_view whole = s.substr(int_begin, i - int_begin), fraction;
  if (i < s.size() && s[i] == '.') {
    const std::size_t frac_begin = ++i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    fraction = s.substr(frac_begin, i - frac_begin);
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exp_negative = s[i++] == '-';
    const std::size_t exp_begin = i;
    // Beyond this an exponent says only "too large" or "zero" anyway.
    constexpr std::int64_t kExponentCap = 1'000'000'000'000;
    std::int64_t e = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) e = std::min(kExponentCap, e * 10 + (s[i] - '0'));
    if (i == exp_begin) return std::nullopt;
    d.exponent = exp_negative ? -e : e;
  }
  if (i != s.size()) return std::nullopt;

  d.digits.reserve(whole.size() + fraction.size());
  d.digits.append(whole).append(fraction);
  d.exponent -= static_cast<std::int64_t>(fraction.size());
  const std::size_t first = d.digits.find_first_not_of('0');
  if (first == std::string::npos) {
    d.digits.clear();
    d.exponent = 0;
    return d;
  }
  const std::size_t last = d.digits.find_last_not_of('0');
  d.exponent += static_cast<std::int64_t>(d.digits.size() - 1 - last);
  d.digits = d.digits.substr(first, last + 1 - first);
  return d;
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
  const std::optional<DecimalText> d = ScanDecimal(s);
  if (!d) throw ConversionError("not a number: '" + s + "'");
  // from_chars does not take a leading "+"; the scan has vouched for the rest.
  std::string_view body = s;
  if (body.front() == '+') body.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (d->MagnitudeAtLeastOne()) throw OutOfRangeError("number too large: '" + s + "'");
    return d->negative ? -0.0 : 0.0;  // too small for a double: it is zero
  }
  if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(value)) {
    throw ConversionError("not a number: '" + s + "'");
  }
  return value;
}

std::int64_t ParseWholeNumber(std::string_view text, std::int64_t lo, std::int64_t hi) {
  const std::string s = Trim(text);
  const std::optional<DecimalText> d = ScanDecimal(s);
  if (!d) throw ConversionError("not a number: '" + s + "'");
  const std::optional<std::int64_t> n = d->Scaled(0);
  if (!n || *n < lo || *n > hi) throw OutOfRangeError("number out of range: '" + s + "'");
  return *n;
}

Money ParseAmount(std::string_view text) {
  const std::string s = Trim(text);
  const std::optional<DecimalText> d = ScanDecimal(s);
  if (!d) throw ConversionError("not an amount: '" + s + "'");
  const std::optional<std::int64_t> ticks = d->Scaled(4);
  if (!ticks) throw OutOfRangeError("amount too large for money: '" + s + "'");
  return Money::FromTicks(*ticks);
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
