// Dates, display formatting, pay periods and field values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/date.h"
#include "common/display.h"
#include "common/errors.h"
#include "common/locale.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/value.h"

namespace veltrane {
namespace {

TEST(Dates, HostTextsParseAndTimeOfDayIsDropped) {
  const Date march1 = MakeDate(2004, 3, 1);
  EXPECT_EQ(ParseDate("3/1/04"), march1);
  EXPECT_EQ(ParseDate("03/01/2004"), march1);
  EXPECT_EQ(ParseDate("2004-03-01"), march1);
  EXPECT_EQ(ParseDate("3/1/2004 10:30:00 AM"), march1);
  EXPECT_EQ(ParseDate("2004-03-01T23:59"), march1);
  EXPECT_EQ(ParseDate("2/29/04"), MakeDate(2004, 2, 29));
  for (const char* bad : {"", "2/30/04", "13/1/04", "3/1", "March 1, 2004", "3/1/004", "x/1/04"}) {
    EXPECT_THROW(ParseDate(bad), ConversionError) << bad;
  }
}

TEST(Dates, OnlyAWellFormedTimeOfDayMayFollowTheDate) {
  const Date march1 = MakeDate(2004, 3, 1);
  for (const char* good : {"3/1/2004 10:30", "3/1/2004 12:00 pm", "3/1/04 1:05:09 AM", "3/1/2004  23:59:59",
                           "2004-03-01 00:00:00", "2004-03-01T10:30", "2004-03-01T10:30:00.123"}) {
    EXPECT_EQ(ParseDate(good), march1) << good;
  }
  for (const char* bad : {"3/1/2004 garbage", "3/1/2004T99", "3/1/2004T10:30", "3/1/2004 10", "3/1/2004 10:",
                          "3/1/2004 24:00", "3/1/2004 10:60", "3/1/2004 10:30:60", "3/1/2004 10:3",
                          "3/1/2004 10:30:00 XM", "3/1/2004 13:00 PM", "3/1/2004 0:30 AM",
                          "3/1/2004 10:30 AM garbage", "3/1/2004 10:30:00.", "2004-03-01T", "2004-03-01T 10:30",
                          "2004-03-01T10:30 AM", "2004-03-01Tgarbage", "3/1/2004 10:30\x1b[2J"}) {
    EXPECT_THROW(ParseDate(bad), ConversionError) << bad;
  }
}

TEST(Dates, SqlLiteralHasNoLeadingZerosAndTwoDigitYear) {
  EXPECT_EQ(FormatSqlDate(MakeDate(2004, 3, 1)), "3/1/04");
  EXPECT_EQ(FormatSqlDate(MakeDate(2009, 12, 31)), "12/31/09");
  EXPECT_EQ(FormatIsoDate(MakeDate(2004, 3, 1)), "2004-03-01");
}

TEST(Display, UsEnglishCurrencyPercentAndDates) {
  EXPECT_EQ(FormatCurrency(Money::FromTicks(12345600)), "$1,234.56");
  EXPECT_EQ(FormatCurrency(Money::FromTicks(-12345600)), "($1,234.56)");
  EXPECT_EQ(FormatCurrency(Money::FromTicks(54497999)), "$5,449.80");
  EXPECT_EQ(FormatCurrency(Money::FromTicks(6)), "$0.00");
  EXPECT_EQ(FormatCurrency(Money::FromTicks(-6)), "$0.00");
  EXPECT_EQ(FormatCurrency(Money::FromTicks(50)), "$0.01");
  EXPECT_EQ(FormatCurrency(Money::Dollars(1000000)), "$1,000,000.00");
  EXPECT_EQ(FormatPercent(0.0145), "1.45%");
  EXPECT_EQ(FormatPercent(0.062), "6.20%");
  EXPECT_EQ(FormatShortDate(MakeDate(2004, 3, 1)), "3/1/2004");
  EXPECT_EQ(FormatMonthYear(MakeDate(2004, 9, 30)), "September 2004");
}

TEST(Display, EveryMoneyHasACurrencyText) {
  EXPECT_EQ(FormatCurrency(Money::FromTicks(std::numeric_limits<std::int64_t>::min())),
            "($922,337,203,685,477.58)");
  EXPECT_EQ(FormatCurrency(Money::FromTicks(std::numeric_limits<std::int64_t>::max())),
            "$922,337,203,685,477.58");
}

TEST(Display, PercentagesOfAnyFractionAreDefined) {
  EXPECT_EQ(FormatPercent(-0.5), "-50.00%");
  EXPECT_EQ(FormatPercent(-0.0000001), "0.00%");  // no "-0.00%"
  EXPECT_EQ(FormatPercent(0.00005), "0.01%");     // half away from zero
  EXPECT_EQ(FormatPercent(1e12), "100,000,000,000,000.00%");
  EXPECT_EQ(FormatPercent(-1e12), "-100,000,000,000,000.00%");
  for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 1.8446744073709552e15, -1e300,
                     std::numeric_limits<double>::max()}) {
    EXPECT_THROW(FormatPercent(bad), ConversionError) << bad;
  }
}

TEST(PayPeriods, CodesAndNames) {
  EXPECT_EQ(PayPeriodName(0), "Weekly");
  EXPECT_EQ(PayPeriodName(7), "Daily");
  EXPECT_EQ(PayPeriodName(8), "");
  EXPECT_EQ(PayPeriodName(-1), "");
  EXPECT_EQ(PayPeriodCode("semimonthly"), 2);
  EXPECT_FALSE(PayPeriodCode("Fortnightly"));
}

TEST(Values, NullAndMalformedValuesNeverBecomeSilentDefaults) {
  const Value null;
  EXPECT_THROW(null.ToMoney(), ConversionError);
  EXPECT_THROW(null.ToDouble(), ConversionError);
  EXPECT_THROW(null.ToDate(), ConversionError);
  EXPECT_THROW(null.ToBool(), ConversionError);
  EXPECT_EQ(null.ToText(), "");
  EXPECT_THROW(Value("abc").ToMoney(), ConversionError);
  EXPECT_EQ(Value("12.5").ToMoney(), Money::FromTicks(125000));
  EXPECT_EQ(Value(std::int64_t{7000}).ToMoney(), Money::Dollars(7000));
  EXPECT_EQ(Value(1.5).ToMoney(), Money::FromTicks(15000));
  EXPECT_EQ(Value("3").ToInt(), 3);
  EXPECT_TRUE(Value("true").ToBool());
  EXPECT_EQ(Value(MakeDate(2004, 3, 1)).ToText(), "3/1/2004");
  EXPECT_EQ(Value("3/1/04").ToDate(), MakeDate(2004, 3, 1));
}

TEST(Steps, AFailedStepIsSkippedAndTheNextRuns) {
  int reached = 0;
  EXPECT_FALSE(RunStep([&] { Value().ToMoney(); ++reached; }));
  EXPECT_TRUE(RunStep([&] { ++reached; }));
  EXPECT_EQ(reached, 1);
}

TEST(Locale, PosixSettingsMapToUsEnglish) {
  FixedLocaleProvider german(1031);
  EXPECT_EQ(german.UserDefaultLocale(), 1031u);
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EQ(PosixLocaleProvider().UserDefaultLocale(), kLocaleEnUs);
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(PosixLocaleProvider().UserDefaultLocale(), kLocaleEnUs);
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(PosixLocaleProvider().UserDefaultLocale(), 0u);
  ::unsetenv("LC_ALL");
}

}  // namespace
}  // namespace veltrane
