#include "common/money.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace veltrane {
namespace {

TEST(Money, ProductRoundsToNearestTenThousandthTiesToEven) {
  EXPECT_EQ(Money::FromDouble(0.00005).ticks(), 0);
  EXPECT_EQ(Money::FromDouble(0.00015).ticks(), 2);
}

}  // namespace
}  // namespace veltrane
