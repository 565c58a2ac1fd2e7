// Paychecks from the command line: paying again refused in its words, two
// payers at once, another locale, and an assistant whose name holds an
// apostrophe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;

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
                                   "check ID 1 (No. 1) pays 3/1/2004 to 3/7/2004; void "
                                   "that check first ('paystead void 1') to pay those days again"));
  EXPECT_EQ(LineCount(again.err), 1) << again.err;
  // Shown without --pay, the paycheck says that paying it would be refused.
  EXPECT_THAT(Ok({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004"}),
              HasSubstr("Not paid, and --pay would be refused: Ann Lee is already paid"));
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 1);
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

}  // namespace
}  // namespace veltrane::host::testing
