// Advance EIC: the bands of the tables, the phase-out floor and the limit
// that stops payments.
#include <gtest/gtest.h>

#include "common/amount_text.h"
#include "common/locale.h"
#include "fedtaxrules/fed_tax_rules.h"

namespace veltrane {
namespace {

Money Usd(std::string_view text) { return ParseAmount(text); }

class AdvanceEIC : public ::testing::Test {
 protected:
  std::string Pay(std::string_view wages, std::string_view period, std::uint8_t code,
                  std::string_view base = "0", std::string_view ytd_eic = "0") const {
    return FormatAmount(rules_.GetEICPayment(Usd(wages), Usd(base), Usd(ytd_eic), period, code));
  }

  FixedLocaleProvider us_{kLocaleEnUs};
  clsFedTaxRules rules_{us_};
};

TEST_F(AdvanceEIC, WeeklySingleWalksThroughTheThreeBands) {
  EXPECT_EQ(Pay("100", "Weekly", 0), "20.4");     // phase-in
  EXPECT_EQ(Pay("147", "Weekly", 0), "29.988");   // top of phase-in
  EXPECT_EQ(Pay("147.01", "Weekly", 0), "30");    // flat band
  EXPECT_EQ(Pay("270", "Weekly", 0), "30");       // top of flat band
  EXPECT_EQ(Pay("300", "Weekly", 0), "27.1236");  // phase-out
  EXPECT_EQ(Pay("600", "Weekly", 0), "0");        // phase-out below zero
}

TEST_F(AdvanceEIC, SpouseFilingCodeSelectsTheColumn) {
  EXPECT_EQ(Pay("280", "Weekly", 1), "30");  // code 1 stays flat up to 289
  EXPECT_EQ(Pay("100", "Weekly", 2), "15");  // code 2 phase-in ends at 73
  EXPECT_EQ(Pay("100", "Semimonthly", 1), "20.4");
  EXPECT_EQ(Pay("100", "Weekly", 3), "0");
}

TEST_F(AdvanceEIC, AnnualTableAtItsBandEdges) {
  EXPECT_EQ(Pay("7660.50", "Annually", 0), "1563");
  EXPECT_EQ(Pay("14040.01", "Annually", 0), "1562.999");
}

TEST_F(AdvanceEIC, NegativeWagesEarnNothing) { EXPECT_EQ(Pay("-10", "Weekly", 0), "0"); }

// The year's payments never pass 1,563, whatever the wages; the wage limit
// alone does not stop them.
TEST_F(AdvanceEIC, TheYearsMaximumCapsEveryPayment) {
  EXPECT_EQ(Pay("100", "Weekly", 0, "20000", "1563"), "0");
  EXPECT_EQ(Pay("100", "Weekly", 0, "30338", "1563"), "0");
  EXPECT_EQ(Pay("100", "Weekly", 0, "20000", "1600"), "0");
  EXPECT_EQ(Pay("100", "Weekly", 0, "20000", "1562.9999"), "0.0001");
  EXPECT_EQ(Pay("100", "Weekly", 0, "20000", "1550"), "13");     // 20.40 asked, 13 left
  EXPECT_EQ(Pay("100", "Weekly", 0, "20000", "1542.60"), "20.4");  // exactly what is left
  EXPECT_EQ(Pay("100", "Weekly", 0, "30338", "1000"), "20.4");
  EXPECT_EQ(Pay("100", "Weekly", 0, "99999", "0"), "20.4");
}

TEST_F(AdvanceEIC, PayPeriodIgnoresCaseAndUnknownPeriodsPayNothing) {
  EXPECT_EQ(Pay("100", "weekly", 0), "20.4");
  EXPECT_EQ(Pay("40", "DAILY", 0), "6");
  EXPECT_EQ(Pay("100", "Fortnightly", 0), "0");
  EXPECT_EQ(Pay("100", "", 0), "0");
}

}  // namespace
}  // namespace veltrane
