// Paying: a day is paid once, manual hours and supplemental pay, the year
// of the year-to-date totals, voiding, refusals, and hours no day can hold.
#include "common/amount_text.h"
#include "host/household/journal.h"
#include "household_fixture.h"

namespace veltrane::household::testing {
namespace {

using ::testing::HasSubstr;

class Paying : public HouseholdTest {
 protected:
  PaycheckOutcome PayFirstWeek(const std::string& name = "Ann Lee") {
    return Pay({name, "3/1/2004", "3/7/2004"});
  }
  long long Checks() { return Count("SELECT Count(*) AS n FROM [Payment Journal]"); }
  long long UnpaidEntries() {
    return Count("SELECT Count(*) AS n FROM [Work Journal] WHERE PaidFor=False");
  }
};

// With hours given by hand the work journal has nothing to say about the
// period; the payment journal alone tells that it is paid.
TEST_F(Paying, ADayIsPaidOnceUntilItsCheckIsVoid) {
  const auto pay = [&](const char* from, const char* to) {
    return Pay({"Ann Lee", from, to, "1001", "40"});
  };
  ASSERT_TRUE(pay("3/1/2004", "3/7/2004").paid);
  for (const auto& period : {std::pair{"3/1/2004", "3/7/2004"},
                             {"3/7/2004", "3/13/2004"},
                             {"2/24/2004", "3/1/2004"},
                             {"3/3/2004", "3/4/2004"}}) {
    const auto [from, to] = period;
    const Fault f = FaultOf([&] { pay(period.first, period.second); });
    EXPECT_EQ(f.remedy(), Remedy::kVoidCheck) << from;
    EXPECT_EQ(f.check_id(), 1) << from;
    EXPECT_THAT(f.text(),
                HasSubstr(std::string("Ann Lee is already paid for days of ") + from + " to " + to +
                          ": check ID 1 (No. 1001) pays 3/1/2004 to 3/7/2004"));
  }
  EXPECT_EQ(Checks(), 1);
  // A preview says that paying would be refused.
  const PaycheckOutcome preview = Preview({"Ann Lee", "3/1/2004", "3/7/2004", "", "40"});
  ASSERT_TRUE(preview.refusal);
  EXPECT_EQ(preview.refusal->remedy(), Remedy::kVoidCheck);

  // The days next to the period are free; voiding the check frees its own.
  EXPECT_TRUE(pay("3/8/2004", "3/14/2004").paid);
  VoidCheck(*db, 1);
  EXPECT_TRUE(pay("3/1/2004", "3/7/2004").paid);
  EXPECT_EQ(Count("SELECT Count(*) AS n FROM [Payment Journal] WHERE [Void]=False"), 2);
}

TEST_F(Paying, ManualHoursAndSupplementalPayAreTaxedAndTheJournalHoursMarkedPaid) {
  AddWeekOfHours("Ann Lee");
  const PaycheckOutcome out =
      Pay({"Ann Lee", "3/1/2004", "3/7/2004", "", "37.5,2", {"Bonus:50", "Holiday pay:25.5"}});
  ASSERT_TRUE(out.paid);
  EXPECT_EQ(out.shown.regular_hours, 37.5f);
  EXPECT_EQ(out.shown.overtime_hours, 2.0f);
  // 375 + 2 x 15 + 50 + 25.50; Soc. Sec. 6.2% of it.
  EXPECT_EQ(out.shown.gross_pay, ParseAmount("480.5"));
  EXPECT_THAT(out.shown.earnings, HasSubstr("Bonus|0|0|50|50|Holiday pay|0|0|25.5|25.5|"));
  EXPECT_THAT(out.shown.deductions, HasSubstr("Soc. Sec.|29.791|29.791|"));
  EXPECT_EQ(out.hours_marked, 5);
  EXPECT_EQ(UnpaidEntries(), 0);
}

TEST_F(Paying, YearToDateCountsTheChecksOfTheCheckDatesYear) {
  AddWeekOfHours("Ann Lee");
  for (const char* day : {"3/8/2004", "3/9/2004", "3/10/2004", "3/11/2004", "3/12/2004"})
    AddHours("Ann Lee", day, "8");
  ASSERT_TRUE(PayFirstWeek().paid);
  clock.Set(MakeDate(2004, 3, 15));
  const PaycheckOutcome second = Pay({"Ann Lee", "3/8/2004", "3/14/2004"});
  EXPECT_EQ(second.shown.gross_ytd, ParseAmount("800"));

  // Prepared in January for a December period: a new year starts from 0.
  AddHours("Ann Lee", "12/28/2004", "8");
  clock.Set(MakeDate(2005, 1, 5));
  EXPECT_EQ(Preview({"Ann Lee", "12/27/2004", "1/2/2005"}).shown.gross_ytd, ParseAmount("80"));
}

TEST_F(Paying, VoidingTakesTheCheckOutOfTheTotalsAndMakesItsHoursPayableAgain) {
  AddWeekOfHours("Ann Lee");
  ASSERT_TRUE(PayFirstWeek().paid);
  const VoidOutcome v = VoidCheck(*db, 1);
  EXPECT_EQ(v.payee, "Ann Lee");
  EXPECT_EQ(v.gross, ParseAmount("400"));
  EXPECT_EQ(v.hours_unpaid, 5);
  EXPECT_TRUE(ShowCheck(*db, clock, 1).is_void);
  EXPECT_THAT(FaultOf([&] { VoidCheck(*db, 1); }).text(), HasSubstr("check 1 is already void"));
  EXPECT_EQ(FaultOf([&] { VoidCheck(*db, 9); }).remedy(), Remedy::kListChecks);

  // Paid again: the void check is in no year-to-date total.
  const PaycheckOutcome repaid = PayFirstWeek();
  ASSERT_TRUE(repaid.paid);
  EXPECT_EQ(repaid.shown.gross_ytd, ParseAmount("400"));
}

// paystead pays a day once, but a journal written by another program (or
// before the host refused a second payment) may hold two checks of a day.
TEST_F(Paying, VoidingKeepsHoursPaidThatAnotherCheckCovers) {
  AddWeekOfHours("Ann Lee");
  ASSERT_TRUE(PayFirstWeek().paid);
  db->Execute(
      "INSERT INTO [Payment Journal] (payee, [Date], start_period, end_period, gross_pay, Paid, "
      "[Void]) VALUES ('Ann Lee', #3/4/04#, #3/1/04#, #3/3/04#, 400000, True, False)");
  EXPECT_EQ(VoidCheck(*db, 1).hours_unpaid, 2);
  EXPECT_EQ(UnpaidEntries(), 2);
}

TEST_F(Paying, WhatCannotBePaidIsRefusedAndNothingStored) {
  // Nothing to pay.
  PaycheckOutcome out = PayFirstWeek();
  EXPECT_FALSE(out.paid);
  EXPECT_EQ(out.refusal->remedy(), Remedy::kRecordHours);
  EXPECT_THAT(out.refusal->text(), HasSubstr("there is nothing to pay Ann Lee"));

  // Withholdings above the pay.
  StoreSettings(*db, {{"other-withholdings", "Dues|50||||||||"}});
  ChangeAssistant(
      *db, "Ann Lee",
      {{}, std::nullopt, std::nullopt, std::vector<ElectionInput>{{"other", "Dues", "", ""}}});
  AddHours("Ann Lee", "3/1/2004", "1");
  out = PayFirstWeek();
  EXPECT_FALSE(out.paid);
  EXPECT_THAT(out.refusal->text(), HasSubstr("the net pay would be ($40.00)"));
  EXPECT_EQ(Checks(), 0);
  EXPECT_EQ(UnpaidEntries(), 1);

  // No pay period.
  StoreSettings(*db, {{"period", ""}});
  EXPECT_EQ(FaultOf([&] { PayFirstWeek(); }).remedy(), Remedy::kSetPayPeriod);
}

TEST_F(Paying, APreviewIsPaidOnlyAsItWasSeen) {
  AddWeekOfHours("Ann Lee");
  const PaycheckRequest request = CheckPaycheckRequest(*db, {"Ann Lee", "3/1/2004", "3/7/2004"});
  const PaycheckOutcome preview = PreparePaycheck(*db, clock, request);
  EXPECT_FALSE(PayPreviewedPaycheck(*db, clock, request, "0000").paid);
  EXPECT_THAT(PayPreviewedPaycheck(*db, clock, request, "0000").refusal->text(),
              HasSubstr("changed since it was previewed"));
  EXPECT_TRUE(PayPreviewedPaycheck(*db, clock, request, preview.fingerprint).paid);
  // Sent again: refused as paid, nothing more stored.
  const PaycheckOutcome twice = PayPreviewedPaycheck(*db, clock, request, preview.fingerprint);
  EXPECT_FALSE(twice.paid);
  EXPECT_THAT(twice.refusal->text(), HasSubstr("this paycheck is already paid: check ID 1"));
  EXPECT_EQ(Checks(), 1);
}

// Hours written into the work journal by another program, as the SQL
// values of RegHours and OTHours.
class HoursNoDayCanHold : public Paying, public ::testing::WithParamInterface<const char*> {};

TEST_P(HoursNoDayCanHold, StopThePaycheckBeforeAnythingIsWritten) {
  AddHours("Ann Lee", "3/1/2004", "8");
  db->Execute(
      std::string("INSERT INTO [Work Journal] (Name, TimeInDate, RegHours, OTHours, PaidFor) "
                  "VALUES ('Ann Lee', #3/2/04#, ") +
      GetParam() + ", False)");
  // With supplemental pay there is something to pay whatever the hours.
  const PaycheckInput input{"Ann Lee", "3/1/2004", "3/7/2004", "", "", {"Bonus:50"}};
  for (const bool pay : {false, true}) {
    const Fault f = FaultOf([&] { pay ? Pay(input) : Preview(input); });
    EXPECT_THAT(f.text(), HasSubstr("the work journal holds hours for Ann Lee on 3/2/2004 that a "
                                    "day cannot hold"));
  }
  EXPECT_EQ(Checks(), 0);
  EXPECT_EQ(UnpaidEntries(), 2);
}

INSTANTIATE_TEST_SUITE_P(Values, HoursNoDayCanHold,
                         ::testing::Values("30, 0", "-5, 0", "0, -0.5", "20, 5", "'NaN', 0",
                                           "'eight', 0", "9e999, 0", "0, 9e999", "1e20, 0"));

}  // namespace
}  // namespace veltrane::household::testing
