// Federal income tax withholding: allowances, bracket bounds, tables per
// period and status, and the rounding of the bracket amount.
#include <gtest/gtest.h>

#include <string>

#include "common/amount_text.h"
#include "common/locale.h"
#include "fedtaxrules/fed_tax_rules.h"

namespace veltrane {
namespace {

Money Usd(std::string_view text) { return ParseAmount(text); }

class Withholding : public ::testing::Test {
 protected:
  std::string FIT(std::string_view wages, std::string_view status, std::int16_t allowances,
                  std::string_view period) const {
    return FormatAmount(rules_.GetFITWithholding(Usd(wages), status, allowances, period));
  }

  FixedLocaleProvider us_{kLocaleEnUs};
  clsFedTaxRules rules_{us_};
};

TEST_F(Withholding, WorkedExamplesOfThePercentageMethod) {
  EXPECT_EQ(FIT("300", "Single", 1, "Weekly"), "21.607");
  EXPECT_EQ(FIT("1000", "Married", 2, "Weekly"), "95.264");
  EXPECT_EQ(FIT("100", "Single", 0, "Daily"), "12.115");
  EXPECT_EQ(FIT("50000", "Single", 1, "Annually"), "7895");
  EXPECT_EQ(FIT("1000", "Single", 1, "Semimonthly"), "99.4245");
}

TEST_F(Withholding, AThresholdBelongsToTheLowerBracket) {
  EXPECT_EQ(FIT("51", "Single", 0, "Weekly"), "0");
  EXPECT_EQ(FIT("51.01", "Single", 0, "Weekly"), "0.001");
  EXPECT_EQ(FIT("187", "Single", 0, "Weekly"), "13.6");  // still the 10 % bracket
  EXPECT_EQ(FIT("10000", "Single", 0, "Weekly"), "3120.3");
  // The daily tables are printed to the cent, so at a threshold the two
  // brackets differ by a fraction of a cent: the lower one applies.
  EXPECT_EQ(FIT("571.90", "Single", 0, "Daily"), "137.492");
  EXPECT_EQ(FIT("1235.40", "Single", 0, "Daily"), "356.445");
}

TEST_F(Withholding, NegativeTaxableWagesWithholdNothing) {
  EXPECT_EQ(FIT("50", "Single", 1, "Weekly"), "0");
  EXPECT_EQ(FIT("0", "Married", 9, "Weekly"), "0");
}

TEST_F(Withholding, ANegativeAllowanceCountRaisesTheTaxableWages) {
  // 100 + 59.62 = 159.62: 10 % of 108.62.
  EXPECT_EQ(FIT("100", "Single", -1, "Weekly"), "10.862");
}

TEST_F(Withholding, FilingStatusIgnoresCase) {
  EXPECT_EQ(FIT("300", "head of household", 1, "Weekly"), "21.607");
  EXPECT_EQ(FIT("300", "HEAD OF HOUSEHOLD", 1, "Weekly"), "21.607");
  EXPECT_EQ(FIT("1000", "married", 2, "WEEKLY"), "95.264");
  EXPECT_EQ(FIT("300", "Widowed", 1, "Weekly"), "0");
  EXPECT_EQ(FIT("300", "", 1, "Weekly"), "0");
}

TEST_F(Withholding, UnknownPayPeriodWithholdsNothing) {
  EXPECT_EQ(FIT("300", "Single", 1, "Fortnightly"), "0");
  EXPECT_EQ(FIT("300", "Single", 1, ""), "0");
}

TEST_F(Withholding, PeriodOperationTakesTheAllowanceOfTheNamedPeriod) {
  // 500 - 258.33 = 241.67 through the weekly single table.
  EXPECT_EQ(FormatAmount(rules_.GetWeeklyFederalWithholding(Usd("500"), "Single", 1, "Monthly")),
            "21.8005");
  EXPECT_EQ(FormatAmount(rules_.GetMonthlyFederalWithholding(Usd("500"), "Single", 1, "Monthly")),
            "2.067");
}

TEST_F(Withholding, AllowanceValuesPerPeriod) {
  EXPECT_EQ(FormatAmount(rules_.GetExemptionAmount("Weekly")), "59.62");
  EXPECT_EQ(FormatAmount(rules_.GetExemptionAmount("semimonthly")), "129.17");
  EXPECT_EQ(FormatAmount(rules_.GetExemptionAmount("Quarterly")), "775");
  EXPECT_EQ(FormatAmount(rules_.GetExemptionAmount("Daily")), "11.92");
  EXPECT_EQ(rules_.GetExemptionAmount(""), Money());
}

}  // namespace
}  // namespace veltrane
