#include "common/amount_text.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace veltrane {
namespace {

TEST(AmountText, WritesPlainDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(FormatAmount(Money::FromTicks(125000)), "12.5");
  EXPECT_EQ(FormatAmount(Money::Dollars(100)), "100");
  EXPECT_EQ(FormatAmount(Money()), "0");
  EXPECT_EQ(FormatAmount(Money::FromTicks(-625)), "-0.0625");
  EXPECT_EQ(FormatAmount(Money::FromTicks(54497999)), "5449.7999");
  EXPECT_EQ(FormatAmount(Money::FromTicks(1234567890)), "123456.789");
  EXPECT_EQ(FormatAmount(Money::FromTicks(std::numeric_limits<std::int64_t>::min())),
            "-922337203685477.5808");
}

TEST(AmountText, ReadsBackWhatItWritesAndRejectsNonNumbers) {
  for (std::int64_t t : {0LL, 1LL, -1LL, 125000LL, -625LL, 54497999LL, 10000LL}) {
    EXPECT_EQ(ParseAmount(FormatAmount(Money::FromTicks(t))).ticks(), t);
  }
  EXPECT_EQ(ParseAmount(" 12.50 ").ticks(), 125000);
  EXPECT_EQ(ParseAmount(".5").ticks(), 5000);
  EXPECT_EQ(ParseAmount("0.00005").ticks(), 0);   // more than four digits: ties to even
  EXPECT_EQ(ParseAmount("0.00035").ticks(), 4);
  for (const char* bad : {"", "abc", "12,5", "1.2.3", "-", ".", "12a", "$5", "nan", "inf"}) {
    EXPECT_THROW(ParseAmount(bad), ConversionError) << bad;
  }
}

TEST(AmountText, NumbersAndHours) {
  EXPECT_DOUBLE_EQ(ParseNumber("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(ParseNumber("+2"), 2);
  EXPECT_THROW(ParseNumber(""), ConversionError);
  EXPECT_THROW(ParseNumber("1.5%"), ConversionError);
  EXPECT_EQ(ParseWholeNumber("2", 0, 255), 2);
  EXPECT_EQ(ParseWholeNumber("2.5", 0, 255), 2);  // ties to even
  EXPECT_THROW(ParseWholeNumber("256", 0, 255), ConversionError);
  EXPECT_THROW(ParseWholeNumber("", 0, 255), ConversionError);
  EXPECT_EQ(FormatHours(37.5f), "37.5");
  EXPECT_EQ(FormatHours(40.0f), "40");
  EXPECT_EQ(FormatHours(0.0f), "0");
  EXPECT_EQ(FormatHours(0.1f), "0.1");          // seven significant digits hide float noise
  EXPECT_EQ(FormatHours(1234.567f), "1234.567");
  EXPECT_EQ(FormatHours(2.0f / 3.0f), "0.6666667");
}

}  // namespace
}  // namespace veltrane
