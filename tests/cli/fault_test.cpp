// A crash between storing the payment and marking the hours paid (or just
// before the commit) leaves the database with neither change.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"
#include "host/household/fault_point.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;

class CrashDuringPayment : public ProgramTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeHousehold();
    for (const char* day : {"3/1/2004", "3/2/2004", "3/3/2004"})
      Ok({"hours", "add", "Ann Lee", day, "8"});
  }
  ProgramResult Pay(const std::vector<std::string>& env) const {
    return Run({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004", "--pay"}, env);
  }
};

TEST_P(CrashDuringPayment, LeavesNeitherThePaymentNorThePaidHours) {
  const ProgramResult crashed = Pay({std::string("PAYSTEAD_FAULT=") + GetParam()});
  ASSERT_EQ(crashed.exit_code, household::kFaultExitStatus) << crashed.err;

  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 0);
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Work Journal] WHERE PaidFor=0"), 3);
  EXPECT_THAT(Ok({"journal"}), HasSubstr("No checks found."));

  // The same payment, uninterrupted, makes both changes.
  const ProgramResult paid = Pay({});
  ASSERT_EQ(paid.exit_code, 0) << paid.err;
  EXPECT_THAT(paid.out, HasRow({"Gross pay", "$240.00", "$240.00"}));
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 1);
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Work Journal] WHERE PaidFor=0"), 0);
}

INSTANTIATE_TEST_SUITE_P(Points, CrashDuringPayment,
                         ::testing::Values("after-payment", "before-commit"));

}  // namespace
}  // namespace veltrane::host::testing
