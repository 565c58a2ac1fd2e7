// The household's people and settings: a change keeps what it does not
// give, values are stored in one form, and a refused change stores nothing.
#include "common/amount_text.h"
#include "household_fixture.h"

namespace veltrane::household::testing {
namespace {

using ::testing::HasSubstr;

using People = HouseholdTest;

TEST_F(People, AChangeKeepsWhatItDoesNotGive) {
  RowImage ann = ChangeAssistant(
      *db, "ann lee",
      {{}, "12.5", std::nullopt, std::vector<ElectionInput>{{"eic", "EIC", "", "1"}}});
  EXPECT_EQ(ann.Text("Name"), "Ann Lee");
  EXPECT_EQ(ann.Get("regular_hourly_rate").ToMoney(), ParseAmount("12.5"));
  EXPECT_EQ(ann.Get("overtime_hourly_rate").ToMoney(), Money::Dollars(15));
  EXPECT_EQ(ann.Text("Withholdings"), "EIC||1|");
  EXPECT_EQ(ann.Text("first_name"), "Ann");
  // An overtime rate given empty is 1.5 times the regular one.
  ann = ChangeAssistant(*db, "Ann Lee", {{}, std::nullopt, "", std::nullopt});
  EXPECT_EQ(ann.Get("overtime_hourly_rate").ToMoney(), ParseAmount("18.75"));
  EXPECT_EQ(Count("SELECT Count(*) AS n FROM Assistants"), 1);

  SetEmployer(*db, {{"mi", "R"}, {"title", "Ms."}});
  EXPECT_EQ(FullName(*ReadEmployer(*db)), "Ms. Dana R Whitfield");
  EXPECT_EQ(ReadEmployer(*db)->Text("address1"), "12 Larch Lane");
}

TEST_F(People, ANewAssistantNeedsARateAndAFreeName) {
  const Fault no_rate = FaultOf([&] { AddAssistant(*db, "Bo", {}); });
  EXPECT_EQ(no_rate.field(), "rate");
  EXPECT_TRUE(no_rate.NamesFields());
  const Fault taken = FaultOf([&] { AddAssistant(*db, " ann LEE ", {{}, "9"}); });
  EXPECT_EQ(taken.field(), "name");
  EXPECT_EQ(taken.remedy(), Remedy::kChangeAssistant);
  EXPECT_EQ(FaultOf([&] { AddAssistant(*db, "All Assistants", {{}, "9"}); }).field(), "name");
  EXPECT_EQ(FaultOf([&] { AddAssistant(*db, "Bo", {{}, "-5"}); }).field(), "rate");
  EXPECT_EQ(FaultOf([&] {
              ChangeAssistant(*db, "Bo", {{}, "9"});
            }).remedy(),
            Remedy::kListAssistants);
  EXPECT_EQ(Count("SELECT Count(*) AS n FROM Assistants"), 1);
}

TEST_F(People, SettingsKeepNormalisedValuesAndAnEmptyValueClears) {
  RowImage row = StoreSettings(*db, {{"sit-rate", "3.5%"},
                                     {"sdi-base", "7000"},
                                     {"sdi-use-exemptions", "yes"},
                                     {"other-withholdings", "union dues|5.00||||||||"}});
  EXPECT_EQ(row.Text("SITRate"), "3.5");
  EXPECT_EQ(row.Text("SDIBase"), "7000");
  EXPECT_TRUE(row.Get("SDIUseExemptions").ToBool());
  EXPECT_EQ(row.Text("OtherWithholdings"), "union dues|5||||||||");
  EXPECT_EQ(row.Text("PayrollPeriod"), "0");
  row = StoreSettings(*db, {{"sit-rate", ""}});
  EXPECT_EQ(row.Text("SITRate"), "");
  EXPECT_EQ(row.Text("SDIBase"), "7000");

  // One value refused: nothing of the change is stored.
  const Fault f = FaultOf([&] {
    StoreSettings(*db, {{"sdi-base", "1"}, {"sui-employer-rate", "200"}});
  });
  EXPECT_EQ(f.field(), "sui-employer-rate");
  EXPECT_EQ(ReadSettings(*db)->Text("SDIBase"), "7000");
}

}  // namespace
}  // namespace veltrane::household::testing
