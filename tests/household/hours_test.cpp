// The work journal: a day's hours of an assistant, in all its entries, are
// at most 24; they can be set or removed while unpaid, and the hours of a
// day a check pays cannot change.
#include "household_fixture.h"

namespace veltrane::household::testing {
namespace {

using ::testing::HasSubstr;

class Hours : public HouseholdTest {
 protected:
  HoursEntry Day(const char* day, const char* regular, const char* overtime = "") {
    return CheckHours(*db, {"ann lee", day, regular, overtime});
  }
  long long Entries() { return Count("SELECT Count(*) AS n FROM [Work Journal]"); }
  double Sum(const char* field) {
    auto rs = db->OpenRecordset(std::string("SELECT Sum(") + field + ") AS n FROM [Work Journal]",
                                RecordsetType::kForwardOnly);
    const double n = rs->Field("n").ToDouble();
    rs->Close();
    return n;
  }
};

TEST_F(Hours, ADayHoldsAtMost24HoursInAllItsEntries) {
  AddHours("Ann Lee", "3/1/2004", "8");
  AddHours("Ann Lee", "3/1/2004", "8");
  const Fault too_many = FaultOf([&] { AddHours("Ann Lee", "3/1/2004", "6", "3"); });
  EXPECT_EQ(too_many.field(), "regular");
  EXPECT_THAT(too_many.text(), HasSubstr("with the 16 already recorded for Ann Lee on 3/1/2004"));
  // So do the entries of one call: the second of these passes 24.
  const HoursEntry twenty[] = {Day("3/2/2004", "20"), Day("3/2/2004", "5")};
  EXPECT_EQ(FaultOf([&] { RecordHours(*db, twenty); }).field(), "regular");
  AddHours("Ann Lee", "3/1/2004", "8");  // exactly 24
  EXPECT_EQ(Entries(), 3);
  EXPECT_EQ(FaultOf([&] { Day("3/3/2004", "20", "4.5"); }).field(), "regular");
}

TEST_F(Hours, SettingADayReplacesItsUnpaidEntriesAndRepeatingItChangesNothing) {
  AddHours("Ann Lee", "3/1/2004", "8");
  AddHours("Ann Lee", "3/1/2004", "8");
  const HoursEntry corrected[] = {Day("3/1/2004", "7", "1"), Day("3/2/2004", "8")};
  EXPECT_EQ(SetHours(*db, corrected), 2);
  EXPECT_EQ(Entries(), 2);
  EXPECT_EQ(Sum("RegHours"), 15);
  EXPECT_EQ(Sum("OTHours"), 1);
  const long long newest = Count("SELECT Max(ID) AS n FROM [Work Journal]");
  EXPECT_EQ(SetHours(*db, corrected), 0);
  EXPECT_EQ(Count("SELECT Max(ID) AS n FROM [Work Journal]"), newest);
  // No hours remove the day's; removing it again finds none.
  const HoursEntry none[] = {Day("3/2/2004", "", "")};
  EXPECT_EQ(SetHours(*db, none), 1);
  EXPECT_EQ(Entries(), 1);
  EXPECT_EQ(DeleteHours(*db, "Ann Lee", "3/1/2004").regular, 7.0f);
  EXPECT_THAT(FaultOf([&] { DeleteHours(*db, "Ann Lee", "3/1/2004"); }).text(),
              HasSubstr("no unpaid hours are recorded for Ann Lee on 3/1/2004"));
  EXPECT_EQ(Entries(), 0);
}

TEST_F(Hours, APaidDayCannotChangeAndNamesItsCheck) {
  AddHours("Ann Lee", "3/1/2004", "8");
  AddHours("Ann Lee", "3/9/2004", "8");
  ASSERT_TRUE(Pay({"Ann Lee", "3/1/2004", "3/7/2004"}).paid);
  const std::function<void()> changes[] = {[&] { AddHours("Ann Lee", "3/2/2004", "1"); },
                                           [&] {
                                             const HoursEntry e[] = {Day("3/1/2004", "4")};
                                             SetHours(*db, e);
                                           },
                                           [&] { DeleteHours(*db, "Ann Lee", "3/1/2004"); }};
  for (const auto& change : changes) {
    const Fault f = FaultOf(change);
    EXPECT_EQ(f.remedy(), Remedy::kVoidToChange);
    EXPECT_EQ(f.check_id(), 1);
    EXPECT_THAT(f.text(), HasSubstr("are paid by check ID 1, for 3/1/2004 to 3/7/2004"));
  }
  // One refused day stores nothing of the others.
  const HoursEntry mixed[] = {Day("3/9/2004", "2"), Day("3/1/2004", "4")};
  EXPECT_EQ(FaultOf([&] { SetHours(*db, mixed); }).remedy(), Remedy::kVoidToChange);
  EXPECT_EQ(Sum("RegHours"), 16);

  const auto days = RecordedDays(*db, MakeDate(2004, 3, 1), MakeDate(2004, 3, 9));
  EXPECT_EQ(days.at({"Ann Lee", MakeDate(2004, 3, 1)}).paid_regular, 8.0f);
  EXPECT_EQ(days.at({"Ann Lee", MakeDate(2004, 3, 7)}).paid_by, 1);
  EXPECT_EQ(days.at({"Ann Lee", MakeDate(2004, 3, 9)}).regular, 8.0f);
  EXPECT_FALSE(days.at({"Ann Lee", MakeDate(2004, 3, 9)}).paid_by);
  VoidCheck(*db, 1);
  EXPECT_EQ(DeleteHours(*db, "Ann Lee", "3/1/2004").regular, 8.0f);
}

}  // namespace
}  // namespace veltrane::household::testing
