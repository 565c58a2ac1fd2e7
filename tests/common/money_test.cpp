#include "common/money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/amount_text.h"
#include "common/errors.h"

namespace veltrane {
namespace {

Money M(const char* text) { return ParseAmount(text); }

TEST(MoneyRounding, ProductsComeBackToTheNearestTenThousandthTiesToEven) {
  EXPECT_EQ(Money::FromDouble(0.00005).ticks(), 0);  // tie, 0 is even
  EXPECT_EQ(Money::FromDouble(0.00025).ticks(), 2);  // tie, 2 is even
  EXPECT_EQ(Money::FromDouble(0.00035).ticks(), 4);  // tie, 4 is even
  EXPECT_EQ(Money::FromDouble(2.00015).ticks(), 20002);
  EXPECT_EQ(Money::FromDouble(-0.00025).ticks(), -2);
  EXPECT_EQ(Money::FromDouble(0.000251).ticks(), 3);  // not a tie
  EXPECT_EQ(M("8.33").Times(7.5), M("62.475"));  // exact, no rounding to cents
}

TEST(MoneyRounding, FloatRatesAreWidenedNotReadAsDecimals) {
  // 0.062f is 0.0619999989867...; widened, 87,900 x rate is 5,449.79991...
  EXPECT_EQ(M("87900").Times(0.062f), M("5449.7999"));
  EXPECT_EQ(M("87900").Times(0.062), M("5449.8"));  // the decimal rate would give this
  EXPECT_EQ(M("0.01").Times(0.062f), M("0.0006"));
  EXPECT_EQ(M("123.45").Times(0.0145f), M("1.79"));
}

TEST(MoneyArithmetic, SumsAreExactAndOverflowIsReported) {
  Money total;
  for (int i = 0; i < 10; ++i) total += M("0.1");
  EXPECT_EQ(total, M("1"));
  const Money max = Money::FromTicks(std::numeric_limits<std::int64_t>::max());
  EXPECT_THROW(max + Money::FromTicks(1), ConversionError);
  EXPECT_THROW(-max - Money::FromTicks(2), ConversionError);
  EXPECT_THROW(Money::Dollars(std::numeric_limits<std::int64_t>::max() / 100), ConversionError);
  EXPECT_THROW(max.Times(2.0), ConversionError);
  EXPECT_THROW(Money::FromDouble(std::nan("")), ConversionError);
  EXPECT_THROW(Money::FromDouble(INFINITY), ConversionError);
}

TEST(MoneyArithmetic, DoublesAtTheEdgesOfTheRange) {
  // -922337203685477.5808 is the smallest Money; its double scales to -2^63 exactly.
  EXPECT_EQ(Money::FromDouble(-922337203685477.5808).ticks(), std::numeric_limits<std::int64_t>::min());
  // The largest Money has no double of its own: the nearest one scales to 2^63.
  EXPECT_THROW(Money::FromDouble(922337203685477.5807), ConversionError);
  EXPECT_EQ(Money::FromDouble(922337203685477.5).ticks(), 9223372036854774784);  // the nearest double below
  EXPECT_THROW(Money::FromDouble(-922337203685477.8), ConversionError);
  EXPECT_THROW(Money::FromDouble(1e300), ConversionError);
}

}  // namespace
}  // namespace veltrane
