// Supplemental pay items that name the taxes they are subject to, from the
// command line: the tax list written into the item, and the names refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;

class SupplementalTaxes : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeHousehold();
  }
  ProgramResult PayWith(const std::vector<std::string>& supp) const {
    std::vector<std::string> args = {"paycheck", "Ann Lee", "--from", "3/1/2004", "--to",
                                     "3/7/2004", "--hours", "10",     "--pay"};
    for (const std::string& s : supp) {
      args.push_back("--supp");
      args.push_back(s);
    }
    return Run(args);
  }
  long long ChecksWithSupplemental(const std::string& quoted) const {
    return QueryNumber(
        "SELECT Count(*) AS n FROM [Payment Journal] WHERE supplemental_pay_data = '" + quoted +
        "'");
  }
};

TEST_F(SupplementalTaxes, TheItemCarriesItsTaxesAndANameWithoutTaxesMayHoldColons) {
  const ProgramResult r = PayWith({"Tip:20:soc. sec.,MEDICARE", "Note: May:5", "Bonus:7.5:"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  // 100 + 20 + 5 + 7.50 of gross pay, each item shown on the check.
  EXPECT_THAT(r.out, HasRow({"Tip", "$20.00", "$20.00"}));
  EXPECT_THAT(r.out, HasRow({"Gross pay", "$132.50"}));
  EXPECT_EQ(
      ChecksWithSupplemental("Tip''20''Soc. Sec.|||Medicare|||''Note: May''5''''Bonus''7.5''''"),
      1);
}

TEST_F(SupplementalTaxes, ATaxTheAssistantHasNotElectedIsRefusedAndNothingPaid) {
  const ProgramResult r = PayWith({"Tip:20:Soc. Sec.,SIT"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_THAT(r.err, HasSubstr("--supp: Ann Lee does not have SIT among the withholdings"));
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 0);
}

TEST_F(SupplementalTaxes, AnAmountThatIsNoAmountIsNamedWhateverFollowsIt) {
  EXPECT_THAT(PayWith({"Tip:2O:FIT"}).err, HasSubstr("--supp: '2O' is not an amount"));
  EXPECT_THAT(PayWith({"A:B:5x"}).err, HasSubstr("--supp: '5x' is not an amount"));
}

}  // namespace
}  // namespace veltrane::host::testing
