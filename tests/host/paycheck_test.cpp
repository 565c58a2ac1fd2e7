// Paychecks from the command line: paying, paying again, manual hours and
// supplemental pay, the year of the year-to-date totals, voiding, and an
// assistant whose name holds an apostrophe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class Paycheck : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeHousehold();
  }
  // Eight hours a day, Monday 3/1/2004 to Friday 3/5/2004.
  void AddWeekOfHours(const std::string& name) const {
    for (const char* day : {"3/1/2004", "3/2/2004", "3/3/2004", "3/4/2004", "3/5/2004"}) {
      Ok({"hours", "add", name, day, "8"});
    }
  }
  ProgramResult PayFirstWeek(const std::string& name) const {
    return Run({"paycheck", name, "--from", "3/1/2004", "--to", "3/7/2004", "--today", "3/8/2004",
                "--pay"});
  }
};

TEST_F(Paycheck, PayingTheSamePeriodTwiceIsRefusedNamingTheFirstCheck) {
  AddWeekOfHours("Ann Lee");
  ASSERT_EQ(PayFirstWeek("Ann Lee").exit_code, 0);

  const ProgramResult again = PayFirstWeek("Ann Lee");
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_THAT(again.err, HasSubstr("Ann Lee is already paid for days of 3/1/2004 to 3/7/2004: "
                                   "check ID 1 (no check number) pays 3/1/2004 to 3/7/2004"));
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 1);
}

// With hours given by hand the work journal has nothing to say about the
// period; the payment journal alone tells that it is paid.
TEST_F(Paycheck, ManualHoursCannotPayADayThatACheckPays) {
  const auto pay = [&](const char* from, const char* to) {
    return Run({"paycheck", "Ann Lee", "--from", from, "--to", to, "--hours", "40", "--check",
                "1001", "--pay"});
  };
  ASSERT_EQ(pay("3/1/2004", "3/7/2004").exit_code, 0);

  for (const auto& [from, to] : {std::pair{"3/1/2004", "3/7/2004"},
                                 {"3/7/2004", "3/13/2004"},
                                 {"2/24/2004", "3/1/2004"},
                                 {"3/3/2004", "3/4/2004"}}) {
    const ProgramResult again = pay(from, to);
    EXPECT_EQ(again.exit_code, 1) << from << " to " << to;
    EXPECT_THAT(again.err, HasSubstr("check ID 1 (No. 1001) pays 3/1/2004 to 3/7/2004; void that "
                                     "check first ('paystead void 1')"));
    EXPECT_EQ(LineCount(again.err), 1) << again.err;
  }
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 1);
  // Shown without --pay, the paycheck says that paying it would be refused.
  EXPECT_THAT(
      Ok({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004", "--hours", "40"}),
      HasSubstr("Not paid, and --pay would be refused: Ann Lee is already paid"));

  // The days next to the period are free; voiding the check frees its own.
  EXPECT_EQ(pay("3/8/2004", "3/14/2004").exit_code, 0);
  Ok({"void", "1"});
  const ProgramResult repaid = pay("3/1/2004", "3/7/2004");
  EXPECT_EQ(repaid.exit_code, 0) << repaid.err;
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal] WHERE [Void]=False"), 2);
}

// Two payers of the same period started at once: the check of the period
// and the payment are one write transaction, so exactly one of them pays.
TEST_F(Paycheck, OfTwoPayersAtOnceExactlyOnePays) {
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    const std::string from = "1/" + std::to_string(round + 1) + "/2004";
    const std::vector<std::string> args = {"paycheck", "Ann Lee", "--from", from,   "--to",
                                           from,       "--hours", "8",      "--pay"};
    const Running first = Start(args);
    const Running second = Start(args);
    const ProgramResult a = Wait(first), b = Wait(second);
    ASSERT_EQ((a.exit_code == 0) + (b.exit_code == 0), 1) << "round " << round << ":\n"
                                                          << a.err << b.err;
    const ProgramResult& refused = a.exit_code == 0 ? b : a;
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_THAT(refused.err, HasSubstr("Ann Lee is already paid for days of " + from));
  }
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), kRounds);
}

TEST_F(Paycheck, ManualHoursAndSupplementalPayAreTaxedAndTheJournalHoursMarkedPaid) {
  AddWeekOfHours("Ann Lee");
  const std::string out =
      Ok({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004", "--hours", "37.5,2",
          "--supp", "Bonus:50", "--supp", "Holiday pay:25.5", "--today", "3/8/2004", "--pay"});
  EXPECT_THAT(out, HasSubstr("Hours: 37.5 regular, 2 overtime"));
  EXPECT_THAT(out, HasRow({"Regular", "37.5", "$10.00", "$375.00"}));
  EXPECT_THAT(out, HasRow({"Bonus", "$50.00", "$50.00"}));
  EXPECT_THAT(out, HasRow({"Holiday pay", "$25.50", "$25.50"}));
  // 375 + 2 x 15 + 50 + 25.50; Soc. Sec. 6.2% of it.
  EXPECT_THAT(out, HasRow({"Gross pay", "$480.50"}));
  EXPECT_THAT(out, HasRow({"Soc. Sec.", "$29.79"}));
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Work Journal] WHERE PaidFor=0"), 0);
}

TEST_F(Paycheck, YearToDateCountsTheChecksOfTheCheckDatesYear) {
  AddWeekOfHours("Ann Lee");
  for (const char* day : {"3/8/2004", "3/9/2004", "3/10/2004", "3/11/2004", "3/12/2004"}) {
    Ok({"hours", "add", "Ann Lee", day, "8"});
  }
  ASSERT_EQ(PayFirstWeek("Ann Lee").exit_code, 0);
  const std::string second = Ok({"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004",
                                 "--today", "3/15/2004", "--pay"});
  EXPECT_THAT(second, HasRow({"Gross pay", "$400.00", "$800.00"}));

  // Prepared in January for a December period: a new year starts from 0.
  Ok({"hours", "add", "Ann Lee", "12/28/2004", "8"});
  const std::string january = Ok(
      {"paycheck", "Ann Lee", "--from", "12/27/2004", "--to", "1/2/2005", "--today", "1/5/2005"});
  EXPECT_THAT(january, HasRow({"Gross pay", "$80.00", "$80.00"}));
}

TEST_F(Paycheck, VoidingTakesTheCheckOutOfTheTotalsAndMakesItsHoursPayableAgain) {
  AddWeekOfHours("Ann Lee");
  ASSERT_EQ(PayFirstWeek("Ann Lee").exit_code, 0);
  EXPECT_THAT(
      Ok({"void", "1"}),
      HasSubstr(
          "Check 1 (Ann Lee, 3/1/2004 to 3/7/2004, $400.00) is void; 5 work-journal entries"));
  const std::string journal = Ok({"journal"});
  EXPECT_THAT(journal, HasSubstr("VOID"));
  EXPECT_THAT(journal, HasSubstr("Total of 0 checks not void: gross $0.00"));
  EXPECT_THAT(Ok({"check", "1"}), HasSubstr("PAYCHECK   VOID"));

  const ProgramResult twice = Run({"void", "1"});
  EXPECT_EQ(twice.exit_code, 1);
  EXPECT_THAT(twice.err, HasSubstr("check 1 is already void"));

  // Paid again: the void check is in no year-to-date total.
  const ProgramResult repaid = PayFirstWeek("Ann Lee");
  ASSERT_EQ(repaid.exit_code, 0);
  EXPECT_THAT(repaid.out, HasRow({"Gross pay", "$400.00", "$400.00"}));
}

// paystead pays a day once, but a journal written by another program (or
// before the host refused a second payment) may hold two checks of a day.
TEST_F(Paycheck, VoidingKeepsHoursPaidThatAnotherCheckCovers) {
  AddWeekOfHours("Ann Lee");
  ASSERT_EQ(PayFirstWeek("Ann Lee").exit_code, 0);
  Execute(
      "INSERT INTO [Payment Journal] (payee, [Date], start_period, end_period, gross_pay, Paid, "
      "[Void]) VALUES ('Ann Lee', #3/4/04#, #3/1/04#, #3/3/04#, 400000, True, False)");
  EXPECT_THAT(Ok({"void", "1"}),
              HasSubstr("is void; 2 work-journal entries of its period unpaid again"));
  EXPECT_THAT(Ok({"hours", "list", "--unpaid"}), HasSubstr("Total: 2 entries, 16 regular"));
}

TEST_F(Paycheck, WithholdingsAboveThePayAreRefused) {
  Ok({"settings", "set", "--other-withholdings", "Dues|50||||||||"});
  Ok({"assistant", "set", "Ann Lee", "--other", "Dues"});
  Ok({"hours", "add", "Ann Lee", "3/1/2004", "1"});
  const ProgramResult r = PayFirstWeek("Ann Lee");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_THAT(r.err, HasSubstr("the net pay would be ($40.00)"));
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 0);
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Work Journal] WHERE PaidFor=1"), 0);
}

TEST_F(Paycheck, WithoutAPayPeriodThereIsNoPaycheck) {
  Ok({"settings", "set", "--period", ""});
  AddWeekOfHours("Ann Lee");
  const ProgramResult r = PayFirstWeek("Ann Lee");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_THAT(r.err, HasSubstr("no pay period is set"));
}

TEST_F(Paycheck, AnotherLocaleIsWarnedAbout) {
  AddWeekOfHours("Ann Lee");
  const ProgramResult r = Run({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004"},
                              {"LC_ALL=de_DE.UTF-8"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_THAT(r.err, HasSubstr("warning: the locale"));
}

TEST_F(Paycheck, ANameWithAnApostropheWorksEndToEnd) {
  Ok({"assistant", "add", "Sean O'Connor", "--title", "Mr.", "--first", "Sean", "--last",
      "O'Connor", "--rate", "12", "--fit", "Married:2", "--ss", "--medicare"});
  // A look-alike name must match none of his rows.
  Ok({"assistant", "add", "Sean O", "--rate", "99"});
  Ok({"hours", "add", "Sean O", "3/2/2004", "8"});
  AddWeekOfHours("sean o'connor");

  EXPECT_THAT(Ok({"hours", "list", "Sean O'Connor"}), HasSubstr("Total: 5 entries, 40 regular"));
  const ProgramResult paid = PayFirstWeek("Sean O'Connor");
  ASSERT_EQ(paid.exit_code, 0) << paid.err;
  EXPECT_THAT(paid.out, HasSubstr("Pay to Sean O'Connor"));
  EXPECT_THAT(paid.out, HasSubstr("Mr. Sean O'Connor"));
  EXPECT_THAT(paid.out, HasRow({"Gross pay", "$480.00", "$480.00"}));
  EXPECT_THAT(paid.out, HasSubstr("5 work-journal entries marked paid"));

  EXPECT_THAT(Ok({"journal", "Sean O'Connor"}),
              HasSubstr("Total of 1 check not void: gross $480.00"));
  EXPECT_THAT(Ok({"journal", "Sean O"}), HasSubstr("No checks found."));
  EXPECT_THAT(Ok({"hours", "list", "Sean O", "--unpaid"}), HasSubstr("Total: 1 entry"));
  EXPECT_THAT(Ok({"void", "1"}), HasSubstr("5 work-journal entries of its period unpaid again"));
  EXPECT_THAT(Ok({"hours", "list", "--unpaid"}), HasSubstr("Total: 6 entries"));
}

// Hours written into the work journal by another program, as the SQL
// values of RegHours and OTHours.
class HoursNoDayCanHold : public Paycheck, public ::testing::WithParamInterface<const char*> {};

TEST_P(HoursNoDayCanHold, StopThePaycheckBeforeAnythingIsWritten) {
  Ok({"hours", "add", "Ann Lee", "3/1/2004", "8"});
  Execute(std::string("INSERT INTO [Work Journal] (Name, TimeInDate, RegHours, OTHours, PaidFor) "
                      "VALUES ('Ann Lee', #3/2/04#, ") +
          GetParam() + ", False)");
  const std::string before = ReadFile(DbPath());

  // With supplemental pay there is something to pay whatever the hours.
  const std::vector<std::string> paycheck = {"paycheck", "Ann Lee",  "--from", "3/1/2004",
                                             "--to",     "3/7/2004", "--supp", "Bonus:50"};
  for (const bool pay : {false, true}) {
    std::vector<std::string> args = paycheck;
    if (pay) args.push_back("--pay");
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
    EXPECT_THAT(r.err, HasSubstr("the work journal holds hours for Ann Lee on 3/2/2004 that a day "
                                 "cannot hold"));
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(ReadFile(DbPath()) == before) << "the database changed";
}

INSTANTIATE_TEST_SUITE_P(Values, HoursNoDayCanHold,
                         ::testing::Values("30, 0", "-5, 0", "0, -0.5", "20, 5", "'NaN', 0",
                                           "'eight', 0", "9e999, 0", "0, 9e999", "1e20, 0"));

}  // namespace
}  // namespace veltrane::host::testing
