#include "common/amount_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

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


constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(AmountText, ReaderAndWriterAreInverseOverTheWholeMoneyRange) {
  for (std::int64_t t : {kMin, kMin + 1, kMax, kMax - 1, std::int64_t{-10000}, std::int64_t{999999999999999}}) {
    EXPECT_EQ(ParseAmount(FormatAmount(Money::FromTicks(t))).ticks(), t) << t;
  }
  // Every digit count and both signs, from a fixed seed.
  std::mt19937_64 random(14);
  for (int i = 0; i < 20000; ++i) {
    const std::int64_t t = static_cast<std::int64_t>(random()) >> (i % 64);
    ASSERT_EQ(ParseAmount(FormatAmount(Money::FromTicks(t))).ticks(), t) << t;
  }
}

TEST(AmountText, AmountsBeyondMoneyAreRefusedNeverWrapped) {
  EXPECT_EQ(ParseAmount("922337203685477.5807").ticks(), kMax);
  EXPECT_EQ(ParseAmount("-922337203685477.5808").ticks(), kMin);
  for (const char* big : {"922337203685477.5808", "-922337203685477.5809", "-999999999999999",
                          "999999999999999", "1e15", "-1e15", "99999999999999999999999999",
                          "1e1000000000000000000000", "922337203685477.58075"}) {
    EXPECT_THROW(ParseAmount(big), OutOfRangeError) << big;
  }
  // The last digits that still round into range are fine.
  EXPECT_EQ(ParseAmount("922337203685477.58074999").ticks(), kMax);
  EXPECT_EQ(ParseAmount("-922337203685477.58084").ticks(), kMin);
}

TEST(AmountText, DigitsBeyondTheFourthRoundExactlyTiesToEven) {
  EXPECT_EQ(ParseAmount("0.00015").ticks(), 2);
  EXPECT_EQ(ParseAmount("0.00025").ticks(), 2);
  EXPECT_EQ(ParseAmount("0.000250000000000000000001").ticks(), 3);  // just above the tie
  EXPECT_EQ(ParseAmount("-0.00005").ticks(), 0);
  EXPECT_EQ(ParseAmount("-0.00015").ticks(), -2);
  EXPECT_EQ(ParseAmount("0.000049999999999999999999").ticks(), 0);
  EXPECT_EQ(ParseAmount("0.0000001").ticks(), 0);
  // A product through double would lose the last digit of these.
  EXPECT_EQ(ParseAmount("92233720368547.75807").ticks(), 922337203685477581);
  EXPECT_EQ(ParseAmount("900719925474.0993").ticks(), 9007199254740993);
}

TEST(AmountText, ExponentsAreReadExactly) {
  EXPECT_EQ(ParseAmount("1.5e3").ticks(), 15000000);
  EXPECT_EQ(ParseAmount("125E-5").ticks(), 12);  // 0.00125: a tie, 12 is even
  EXPECT_EQ(ParseAmount("1e-1000000").ticks(), 0);
  EXPECT_EQ(ParseAmount("0e999999999999").ticks(), 0);
  EXPECT_EQ(ParseAmount("000000000000000000000000000001.5000000000000000000").ticks(), 15000);
}

TEST(AmountText, OneSignOnly) {
  for (const char* bad : {"+-5", "-+5", "--5", "++5", "+ 5", "- 5", "5-", "1e", "1e+", "e5", "0x10",
                          "1 000", "5e2.5", "-.", "+"}) {
    EXPECT_THROW(ParseAmount(bad), ConversionError) << bad;
    EXPECT_THROW(ParseNumber(bad), ConversionError) << bad;
    EXPECT_THROW(ParseWholeNumber(bad, kMin, kMax), ConversionError) << bad;
  }
  EXPECT_EQ(ParseAmount("+5").ticks(), 50000);
  EXPECT_EQ(ParseAmount("-5.").ticks(), -50000);
}

TEST(AmountText, NumbersAtTheEdgesOfDouble) {
  EXPECT_THROW(ParseNumber("1e309"), OutOfRangeError);
  EXPECT_THROW(ParseNumber("-1e309"), OutOfRangeError);
  EXPECT_EQ(ParseNumber("1e-400"), 0.0);
  EXPECT_DOUBLE_EQ(ParseNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
  EXPECT_DOUBLE_EQ(ParseNumber(".5"), 0.5);
  for (const char* bad : {"inf", "-infinity", "nan", "NaN", "-nan"}) {
    EXPECT_THROW(ParseNumber(bad), ConversionError) << bad;
  }
}

TEST(AmountText, WholeNumbersAreExactUpToTheSixtyFourBitLimits) {
  EXPECT_EQ(ParseWholeNumber("9223372036854775807", kMin, kMax), kMax);
  EXPECT_EQ(ParseWholeNumber("-9223372036854775808", kMin, kMax), kMin);
  EXPECT_EQ(ParseWholeNumber("9007199254740993", kMin, kMax), 9007199254740993);  // no double on the way
  EXPECT_EQ(ParseWholeNumber("9223372036854775806.5", kMin, kMax), kMax - 1);     // tie to even
  EXPECT_EQ(ParseWholeNumber("3.5", 0, 9), 4);
  EXPECT_EQ(ParseWholeNumber("1e2", 0, 999), 100);
  for (const char* big : {"9223372036854775808", "-9223372036854775809", "9223372036854775807.5",
                          "1e19", "18446744073709551616", "99999999999999999999"}) {
    EXPECT_THROW(ParseWholeNumber(big, kMin, kMax), OutOfRangeError) << big;
  }
  EXPECT_THROW(ParseWholeNumber("-1", 0, 9), OutOfRangeError);
}

}  // namespace
}  // namespace veltrane
