#include "common/money.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "common/errors.h"

namespace veltrane {

Money Money::Dollars(std::int64_t dollars) {
  std::int64_t ticks = 0;
  if (__builtin_mul_overflow(dollars, kScale, &ticks)) {
    throw ConversionError("money overflow");
  }
  return Money(ticks);
}

Money Money::FromDouble(double value) {
  const double scaled = value * static_cast<double>(kScale);
  // 2^63 is exactly representable; anything at or beyond it cannot be held.
  constexpr double kLimit = 9223372036854775808.0;
  if (!std::isfinite(scaled) || scaled >= kLimit || scaled < -kLimit) {
    throw ConversionError("amount out of range for money");
  }
  // nearbyint honours the current rounding mode; the default is to nearest,
  // ties to even, which is the rounding money uses everywhere.
  return Money(static_cast<std::int64_t>(std::nearbyint(scaled)));
}

Money Money::operator+(Money other) const {
  std::int64_t r = 0;
  if (__builtin_add_overflow(ticks_, other.ticks_, &r)) throw ConversionError("money overflow");
  return Money(r);
}

Money Money::operator-(Money other) const {
  std::int64_t r = 0;
  if (__builtin_sub_overflow(ticks_, other.ticks_, &r)) throw ConversionError("money overflow");
  return Money(r);
}

Money Money::operator-() const { return Money() - *this; }

Money Money::Times(double factor) const { return FromDouble(ToDouble() * factor); }

// Wide enough for the product of two tick counts.
__extension__ typedef __int128 WideTicks;

Money Product(Money a, Money b) {
  const WideTicks scaled = static_cast<WideTicks>(a.ticks()) * b.ticks();
  WideTicks q = scaled / Money::kScale;
  const WideTicks r = scaled % Money::kScale;
  // Nearest ten-thousandth; a remainder of exactly one half goes to the even
  // quotient.
  const WideTicks twice = 2 * (r < 0 ? -r : r);
  if (twice > Money::kScale || (twice == Money::kScale && q % 2 != 0)) q += r < 0 ? -1 : 1;
  if (q > std::numeric_limits<std::int64_t>::max() || q < std::numeric_limits<std::int64_t>::min()) {
    throw ConversionError("money overflow");
  }
  return Money::FromTicks(static_cast<std::int64_t>(q));
}

Money Min(Money a, Money b) { return a < b ? a : b; }
Money Max(Money a, Money b) { return a < b ? b : a; }

}  // namespace veltrane
