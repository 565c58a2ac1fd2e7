// A whole table as a record set: its position, walks, finds and added rows,
// on a real table that changes while the set is open.
#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "common/sqlite_database.h"

namespace veltrane {
namespace {

class TableSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db = OpenSqliteDatabase(":memory:");
    db->Execute("CREATE TABLE T (ID INTEGER PRIMARY KEY, Name TEXT COLLATE NOCASE, N INTEGER)");
  }
  void Add(int n) {
    db->Execute("INSERT INTO T (Name, N) VALUES ('n" + std::to_string(n) + "', " + std::to_string(n) + ")");
  }
  // The N of the rows from the current one to the end.
  static std::string Walk(Recordset& rs) {
    std::string out;
    for (; !rs.IsEOF(); rs.MoveNext()) out += std::to_string(rs.Field("N").ToInt());
    return out;
  }

  std::unique_ptr<Database> db;
};

TEST_F(TableSetTest, AnEmptyTableIsBeforeItsFirstAndAfterItsLastRow) {
  auto rs = db->OpenRecordset("T", RecordsetType::kTable);
  EXPECT_TRUE(rs->IsBOF());
  EXPECT_TRUE(rs->IsEOF());
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_THROW(rs->MoveFirst(), DatabaseError);
  EXPECT_THROW(rs->Field("N"), DatabaseError);
}

TEST_F(TableSetTest, WalksInIdOrderIncludingRowsAddedSinceItOpened) {
  Add(1);
  Add(2);
  auto rs = db->OpenRecordset("T", RecordsetType::kTable);
  EXPECT_EQ(rs->Field("N").ToInt(), 1);  // opens on the first row
  Add(3);
  EXPECT_EQ(Walk(*rs), "123");
  rs->MoveFirst();
  EXPECT_EQ(Walk(*rs), "123");
  EXPECT_THROW(rs->MoveNext(), DatabaseError);
}

TEST_F(TableSetTest, ADeletedCurrentRowCannotBeReadButTheWalkGoesOn) {
  for (int n = 1; n <= 3; ++n) Add(n);
  auto rs = db->OpenRecordset("T", RecordsetType::kTable);
  db->Execute("DELETE FROM T WHERE N = 1");
  EXPECT_THROW(rs->Field("N"), DatabaseError);
  rs->MoveNext();
  EXPECT_EQ(rs->Field("N").ToInt(), 2);
  db->Execute("DELETE FROM T WHERE N = 3");
  rs->MoveNext();  // the deleted row is passed over
  EXPECT_TRUE(rs->IsEOF());
}

TEST_F(TableSetTest, FindFirstMovesToTheFirstMatchOrStaysWhenNoneMatches) {
  for (int n = 1; n <= 4; ++n) Add(n % 2);
  auto rs = db->OpenRecordset("T", RecordsetType::kTable);
  rs->FindFirst("N=0");
  ASSERT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->Field("ID").ToInt(), 2);
  rs->FindFirst("Name='none'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(rs->Field("ID").ToInt(), 2);
  rs->FindFirst("Name='N1'");  // letter case ignored
  EXPECT_EQ(rs->Field("ID").ToInt(), 1);
}

TEST_F(TableSetTest, RowsAddedThroughTheSetCountAndJoinItAtTheEnd) {
  Add(1);
  auto rs = db->OpenRecordset("T", RecordsetType::kTable);
  EXPECT_EQ(rs->RecordCount(), 1);
  rs->AddNew();
  rs->SetField("N", 2);
  rs->Update();
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_EQ(rs->Field("N").ToInt(), 1);  // a set on a row stays on it
  rs->MoveNext();
  rs->MoveNext();
  ASSERT_TRUE(rs->IsEOF());
  rs->AddNew();
  rs->SetField("N", 3);
  rs->Update();
  EXPECT_EQ(rs->Field("N").ToInt(), 3);  // one after its last row stands on the new row

  auto empty_at_open = db->OpenRecordset("SELECT * FROM T WHERE N > 9", RecordsetType::kDynaset);
  EXPECT_TRUE(empty_at_open->IsBOF());
  auto fresh = db->OpenRecordset("T", RecordsetType::kTable);
  EXPECT_FALSE(fresh->IsBOF());
  EXPECT_EQ(Walk(*fresh), "123");
}

}  // namespace
}  // namespace veltrane
