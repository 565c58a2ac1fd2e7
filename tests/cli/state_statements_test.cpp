// A household with state income tax, state unemployment insurance and
// union dues pays a quarter with tips and a bonus through paystead; its
// state, other-withholding and supplemental statements printed as tsv.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Settings: SIT 3% with yearly allowances Single 1,000 and Married 500; SUI
// at 2.7% for the employer on the first 1,000 of the year; union dues of 1%
// (and 0.5% for the employer) on the first 1,200.
// Ann Lee, $10 an hour: FIT Single 1, Soc. Sec., Medicare, SIT Single 1,
// SUI, union dues. Pat O'Brien, $12: Soc. Sec., Medicare, SIT Married 2,
// SUI. Forty hours on each of three weeks, plus a tip of 20 (Ann, February),
// a tip of 30 (Pat, March) and a bonus of 100 (Ann, March); an April check
// with a tip of 50 is outside the quarter.
//   Ann's gross 400, 420, 500 = 1,320; Pat's 480, 480, 510 = 1,470.
class StateStatementsProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Ok({"init"});
    Ok({"employer", "set", "--first", "Dana", "--last", "Whitfield", "--employer-id",
        "36-4417520"});
    Ok({"settings",
        "set",
        "--period",
        "Weekly",
        "--sit-rate",
        "3",
        "--sit-single",
        "1000",
        "--sit-married",
        "500",
        "--sui-base",
        "1000",
        "--sui-employer-rate",
        "2.7",
        "--sui-state",
        "IL",
        "--sui-reporting-number",
        "1234567",
        "--sui-withholding-name",
        "IL UI",
        "--other-withholdings",
        "Union dues||1200|1|0.5|1||||"});
    Ok({"assistant", "add", "Ann Lee", "--rate", "10", "--fit", "Single:1", "--ss", "--medicare",
        "--sit", "Single:1", "--sui", ":", "--other", "Union dues"});
    Ok({"assistant", "add", "Pat O'Brien", "--rate", "12", "--ss", "--medicare", "--sit",
        "Married:2", "--sui", ":"});
    Pay("Ann Lee", "1/5/2004", "1/11/2004");
    Pay("Pat O'Brien", "1/5/2004", "1/11/2004");
    Pay("Ann Lee", "2/2/2004", "2/8/2004", {"Tip:20:Soc. Sec.,Medicare"});
    Pay("Pat O'Brien", "2/2/2004", "2/8/2004");
    Pay("Ann Lee", "3/1/2004", "3/7/2004", {"Bonus:100:FIT,SIT,union dues"});
    Pay("Pat O'Brien", "3/1/2004", "3/7/2004", {"Tip:30:Soc. Sec.,Medicare,SIT"});
    Pay("Ann Lee", "4/5/2004", "4/11/2004", {"Tip:50:Soc. Sec."});
  }

  void Pay(const std::string& who, const std::string& from, const std::string& to,
           const std::vector<std::string>& supplemental = {}) const {
    std::vector<std::string> args = {"paycheck", who,    "--from",  from, "--to", to,
                                     "--hours",  "40,0", "--today", to,   "--pay"};
    for (const std::string& item : supplemental) args.insert(args.end(), {"--supp", item});
    Ok(args);
  }

  std::vector<std::string> Statement(const std::string& type, const std::string& who = "") {
    std::vector<std::string> args = {"statement", type,        "--from",   "1/1/2004",
                                     "--to",      "3/31/2004", "--format", "tsv"};
    if (!who.empty()) args.insert(args.end(), {"--assistant", who});
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "") << "no message of the statements library";
    return Lines(r.out);
  }
};

// Withheld on the checks: the allowance is used up first, so Ann's SIT is
// 3% of 1,320 - 1,000 = 9.60 (on her March check) and Pat's 3% of 1,470 -
// 2 x 500 = 14.10: 23.70. The statement lowers 2,790 by the same 1,000 +
// 1,000 to 790, and 3% of 790 is 23.70 too.
TEST_F(StateStatementsProgramTest, IncomeTaxOfTheQuarterWithTheAllowancesOfBothAssistants) {
  EXPECT_THAT(Statement("SIT"), ElementsAreArray({
                                    "STATE INCOME TAX STATEMENT\t ",
                                    "1/1/2004 TO 3/31/2004\t ",
                                    " \t ",
                                    "TAX INFORMATION\t ",
                                    " \t ",
                                    "Wage base limit: \tNone",
                                    "Wage base reduced by exemptions: \tYes",
                                    "Tax rate:\t3.00%",
                                    "Employer tax rate\t0.00%",
                                    "Employee tax rate\t3.00%",
                                    "Exemption allowances\t ",
                                    "     Married\t$500.00",
                                    "     Single\t$1,000.00",
                                    "     Head of household\tNot specified!",
                                    " \t ",
                                    "PAYMENTS\t ",
                                    " \t ",
                                    "Total taxable payments\t$2,790.00",
                                    "Wage base adjusted by exemptions\t$790.00",
                                    " \t ",
                                    "WITHHOLDINGS & LIABILITIES\t ",
                                    " \t ",
                                    "Total withholdings\t$23.70",
                                    "Employee liability\t$23.70",
                                    "Employer liability\t$0.00",
                                }));
  // O'Brien's allowance is found by her name: 1,470 - 1,000 = 470, 3% 14.10.
  const auto pat = Statement("sit", "pat o'brien");
  EXPECT_EQ(pat[17], "Total taxable payments\t$1,470.00");
  EXPECT_EQ(pat[18], "Wage base adjusted by exemptions\t$470.00");
  EXPECT_EQ(pat[22], "Total withholdings\t$14.10");
  EXPECT_EQ(pat[23], "Employee liability\t$14.10");
}

// Each assistant reaches the 1,000 base in March: the checks' SUI is 2.7%
// of Ann's 400 + 420 + 180 and Pat's 480 + 480 + 40, 54.00 in all; the
// statement limits 2,790 to 1,000 + 1,000 and 2.7% of 2,000 is 54.00.
TEST_F(StateStatementsProgramTest, UnemploymentInsuranceLimitedByTheBaseOfEachAssistant) {
  EXPECT_THAT(Statement("SUI"), ElementsAreArray({
                                    "SUI STATEMENT\t ",
                                    "1/1/2004 TO 3/31/2004\t ",
                                    " \t ",
                                    "TAX INFORMATION\t ",
                                    " \t ",
                                    "Wage base limit: \t$1,000.00",
                                    "Wage base reduced by exemptions: \tNo",
                                    "Employee tax rate\t0.00%",
                                    "Withholding rate:\t0.00%",
                                    "Employer tax rate\t2.70%",
                                    " \t ",
                                    "FUTA Credit\t ",
                                    " \t ",
                                    "Contributions paid to\tIL",
                                    "State reporting number\t1234567",
                                    "Designated SUI tax name\tIL UI",
                                    " \t ",
                                    "PAYMENTS\t ",
                                    " \t ",
                                    "Total taxable payments\t$2,790.00",
                                    "Payments limited by base\t$2,000.00",
                                    "Payments in excess of base\t$790.00",
                                    "Wage base adjusted by exemptions\t$2,000.00",
                                    " \t ",
                                    "WITHHOLDINGS AND LIABILITIES\t ",
                                    " \t ",
                                    "Employee liability\t$0.00",
                                    "Total withholdings\t$0.00",
                                    "Employer liability\t$54.00",
                                }));
}

// Only Ann pays dues, on 400 + 420 + 380 up to the 1,200 base: 1% is
// 12.00 withheld and the employer's 0.5% 6.00, as the statement has them.
TEST_F(StateStatementsProgramTest, UnionDuesUpToTheirWageBase) {
  EXPECT_THAT(Statement("union dues"), ElementsAreArray({
                                           "UNION DUES STATEMENT\t ",
                                           "1/1/2004 to 3/31/2004\t ",
                                           " \t ",
                                           "TAX INFORMATION\t ",
                                           " \t ",
                                           "Withhold flat amount\tNo",
                                           "Wage base\t$1,200.00",
                                           "Employee liability\t1.00%",
                                           "Withholding rate\t1.00%",
                                           "Employer liability\t0.50%",
                                           " \t ",
                                           "PAYMENTS\t ",
                                           " \t ",
                                           "Total taxable payments\t$1,320.00",
                                           "Payments limited by base\t$1,200.00",
                                           "Payments in excess of base\t$120.00",
                                           "Wage base adjusted by exemptions\t$1,200.00",
                                           " \t ",
                                           "WITHHOLDINGS AND LIABILITIES\t ",
                                           " \t ",
                                           "Employee liability\t$12.00",
                                           "Total withholdings\t$12.00",
                                           "Employer liability\t$6.00",
                                       }));
}

// The tips of the quarter are 20 + 30 (April's 50 is outside); their taxes
// in alphabetical order. The Social Security statement counts them as tips.
TEST_F(StateStatementsProgramTest, TipsAndTheBonusWithTheirTaxes) {
  EXPECT_THAT(Statement("Tip"),
              ElementsAre("TIP STATEMENT\t ", "1/1/2004 to 3/31/2004\t ", " \t ", "PAYMENTS\t ",
                          " \t ", "Total amount paid\t$50.00", "No. of payments\t2", " \t ",
                          "TAXES/WITHHOLDINGS\t ", " \t ", "     Medicare\t ", "     SIT\t ",
                          "     Soc. Sec.\t "));
  const auto bonus = Statement("bonus");
  EXPECT_EQ(bonus[0], "BONUS STATEMENT\t ");
  EXPECT_EQ(bonus[5], "Total amount paid\t$100.00");
  EXPECT_EQ(bonus[6], "No. of payments\t1");
  EXPECT_THAT(std::vector<std::string>(bonus.begin() + 10, bonus.end()),
              ElementsAre("     FIT\t ", "     SIT\t ", "     Union dues\t "));
  const auto pat = Statement("Tip", "Pat O'Brien");
  EXPECT_EQ(pat[5], "Total amount paid\t$30.00");
  EXPECT_EQ(pat[6], "No. of payments\t1");

  EXPECT_EQ(Statement("Soc. Sec.")[16], "     Total Social Security tips\t$50.00");
}

}  // namespace
}  // namespace veltrane::host::testing
