// Hours from the work journal, manual hours, pay periods and year-to-date
// sums, seen through the paycheck they produce.
#include "fedtaxrules/fed_tax_rules.h"
#include "transaction_fixture.h"

namespace veltrane::testing {
namespace {

class HoursTest : public TransactionTest {
 protected:
  void SetUpHousehold() override {
    Settings(kWeekly);
    AddAssistant("Ann", "10", "15", "");
    AddAssistant("Bob", "10", "15", "");
  }
};

TEST_P(HoursTest, PeriodBoundsCountOutsideOtherAssistantsAndPaidHoursDoNot) {
  AddHours("Ann", "3/1/04", 8, 1);
  AddHours("Ann", "3/7/04", 2, 0.5);
  AddHours("Ann", "2/29/04", 100, 100);
  AddHours("Ann", "3/8/04", 100, 100);
  AddHours("Ann", "3/4/04", 100, 100, /*paid=*/true);
  AddHours("Bob", "3/4/04", 100, 100);
  Init("ann");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("RegHours"), "10");
  EXPECT_EQ(shown.at("OTHours"), "1.5");
  EXPECT_EQ(shown.at("GrossPay"), "122.5");  // 10 x 10 + 1.5 x 15
}

TEST_P(HoursTest, NoMatchingRowsGiveZeroHours) {
  Init("Ann");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("RegHours"), "0");
  EXPECT_EQ(shown.at("GrossPay"), "0");
}

TEST_P(HoursTest, ManualHoursReplaceTheWorkJournal) {
  AddHours("Ann", "3/2/04", 40);
  Init("Ann");
  tx.ComputeHoursManually(37.5, 2);
  const auto shown = Shown();
  EXPECT_EQ(shown.at("RegHours"), "37.5");
  EXPECT_EQ(shown.at("OTHours"), "2");
  EXPECT_EQ(shown.at("GrossPay"), "405");  // 37.5 x 10 + 2 x 15
  ASSERT_TRUE(tx.ExecutePayment());
  auto rs = Journal();
  EXPECT_EQ(rs->Field("gross_regular").ToMoney(), M("375"));
  EXPECT_EQ(rs->Field("gross_overtime").ToMoney(), M("30"));
  EXPECT_EQ(rs->Field("Earnings").ToText(), "Regular|37.5|10|375|375|Overtime|2|15|30|30|");
}

TEST_P(HoursTest, ManualPeriodKeepsManualHoursAndZeroHoursPayNothing) {
  Init("Ann", "3/1/04", "3/7/04", "", "", /*no_timesheet=*/true);
  EXPECT_EQ(Shown().at("GrossPay"), "0");
  tx.ComputeHoursManually(4, 0);
  tx.UpdateManualNoTimeSheetPayPeriod("3/8/04", "3/14/04");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("PeriodStartDate"), "3/8/04");
  EXPECT_EQ(shown.at("GrossPay"), "40");
}

class PayPeriodTest : public TransactionTest {
 protected:
  // FIT of a 1,000 check, Single with one allowance, under the stored code.
  std::string FitUnder(const char* code) {
    if (code) Settings({{"PayrollPeriod", code}});
    AddAssistant("Ann", "10", "15", "FIT|Single|1|");
    AddHours("Ann", "3/2/04", 100);
    Init("Ann");
    return tx.GetWithholdingsAndLiabilities();
  }
  static std::string Expected(const char* period) {
    return "FIT|" + FormatAmount(clsFedTaxRules().GetFITWithholding(M("1000"), "Single", 1, period)) + "|0|";
  }
};

TEST_P(PayPeriodTest, CodeThreeIsMonthly) { EXPECT_EQ(FitUnder("3"), Expected("Monthly")); }
TEST_P(PayPeriodTest, CodeEightIsNoPeriod) { EXPECT_EQ(FitUnder("8"), "FIT|0|0|"); }
TEST_P(PayPeriodTest, EmptyCodeIsNoPeriod) { EXPECT_EQ(FitUnder(""), "FIT|0|0|"); }
TEST_P(PayPeriodTest, TextThatIsNotANumberCountsAsWeekly) { EXPECT_EQ(FitUnder("often"), Expected("Weekly")); }
TEST_P(PayPeriodTest, NoSettingsRowIsNoPeriod) { EXPECT_EQ(FitUnder(nullptr), "FIT|0|0|"); }

class YearToDateTest : public TransactionTest {
 protected:
  void SetUpHousehold() override {
    Settings(kWeekly);
    AddAssistant("Ann", "10", "15", "Medicare|||");
    AddHours("Ann", "12/27/04", 10);
    AddPayment("Ann", "3/5/04", {{"gross_pay", M("100")}, {"net_pay", M("90")}});
    AddPayment("Ann", "12/26/04", {{"gross_pay", M("200")}, {"net_pay", M("180")}});
    AddPayment("Ann", "3/6/04", {{"gross_pay", M("1000")}, {"net_pay", M("1000")}}, true, /*void=*/true);
    AddPayment("Ann", "3/6/04", {{"gross_pay", M("1000")}, {"net_pay", M("1000")}}, /*paid=*/false);
    AddPayment("Bob", "3/6/04", {{"gross_pay", M("1000")}, {"net_pay", M("1000")}});
  }
};

TEST_P(YearToDateTest, OnlyTheAssistantsPaidNonVoidChecksOfTheYearCount) {
  clock.Set(MakeDate(2004, 12, 31));
  Init("Ann", "12/27/04", "12/31/04");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("GrossYTD"), "400");  // 100 + 200 + this check's 100
  // Medicare withheld is 1.45, so net is 98.55 on top of 270.
  EXPECT_EQ(shown.at("NetYTD"), "368.55");
}

TEST_P(YearToDateTest, AJanuaryCheckForADecemberPeriodStartsTheNewYearFromZero) {
  clock.Set(MakeDate(2005, 1, 5));
  Init("Ann", "12/27/04", "12/31/04");
  EXPECT_EQ(Shown().at("GrossYTD"), "100");
}

VELTRANE_ON_BOTH_BACKENDS(HoursTest);
VELTRANE_ON_BOTH_BACKENDS(PayPeriodTest);
VELTRANE_ON_BOTH_BACKENDS(YearToDateTest);

}  // namespace
}  // namespace veltrane::testing
