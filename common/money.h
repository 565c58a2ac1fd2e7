// Money: a signed count of ten-thousandths of a dollar.
//
// Sums and differences are exact and raise ConversionError on overflow.
// Products with a rate or hours are formed in double precision and brought
// back to the nearest ten-thousandth, ties to the even count. A 32-bit float
// rate is widened to double as it is, never re-read as decimal text.
#pragma once

#include <compare>
#include <cstdint>

namespace veltrane {

class Money {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Money() = default;
  // Whole dollars, e.g. Money::Dollars(7000).
  static Money Dollars(std::int64_t dollars);
  // Raw ten-thousandths, e.g. FromTicks(125000) is 12.5.
  static constexpr Money FromTicks(std::int64_t ticks) { return Money(ticks); }
  // Nearest ten-thousandth of `value` (ties to even); NaN, infinity and
  // out-of-range values raise ConversionError.
  static Money FromDouble(double value);

  constexpr std::int64_t ticks() const { return ticks_; }
  double ToDouble() const { return static_cast<double>(ticks_) / kScale; }
  bool IsZero() const { return ticks_ == 0; }

  Money operator+(Money other) const;
  Money operator-(Money other) const;
  Money operator-() const;
  Money& operator+=(Money other) { return *this = *this + other; }
  Money& operator-=(Money other) { return *this = *this - other; }

  // this × factor, through double, to the nearest ten-thousandth.
  Money Times(double factor) const;
  Money Times(float factor) const { return Times(static_cast<double>(factor)); }

  friend constexpr auto operator<=>(Money a, Money b) = default;
  friend constexpr bool operator==(Money a, Money b) = default;

 private:
  constexpr explicit Money(std::int64_t ticks) : ticks_(ticks) {}
  std::int64_t ticks_ = 0;
};

// a × b of two amounts (a payment times a rate kept as money), exact to the
// nearest ten-thousandth, ties to even; raises ConversionError on overflow.
Money Product(Money a, Money b);

Money Min(Money a, Money b);
Money Max(Money a, Money b);

}  // namespace veltrane
