// Record sets reuse the connection's prepared statements: a reused
// statement starts afresh, two sets of one text are independent, and a kept
// statement neither holds a lock nor hides a change of the schema.
#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "common/sqlite_database.h"

namespace veltrane {
namespace {

class StatementReuse : public ::testing::Test {
 protected:
  void SetUp() override {
    db = OpenSqliteDatabase(":memory:");
    db->Execute("CREATE TABLE T (ID INTEGER PRIMARY KEY, Name TEXT COLLATE NOCASE, N INTEGER)");
    for (int i = 1; i <= 3; ++i) {
      db->Execute("INSERT INTO T (Name, N) VALUES ('n" + std::to_string(i) + "', " + std::to_string(i) + ")");
    }
  }

  // The N of every row of `sql`, read forward-only.
  std::string Ns(const std::string& sql) {
    auto rs = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
    std::string out;
    for (; !rs->IsEOF(); rs->MoveNext()) out += std::to_string(rs->Field("N").ToInt());
    return out;
  }

  std::unique_ptr<Database> db;
};

TEST_F(StatementReuse, AReopenedQueryStartsFromItsFirstRow) {
  const std::string sql = "SELECT N FROM T ORDER BY N";
  {
    auto rs = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
    rs->MoveNext();  // left in the middle
  }
  EXPECT_EQ(Ns(sql), "123");
  EXPECT_EQ(Ns(sql), "123");
}

TEST_F(StatementReuse, TwoOpenSetsOfOneTextMoveIndependently) {
  const std::string sql = "SELECT N FROM T ORDER BY N";
  auto a = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
  auto b = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
  a->MoveNext();
  a->MoveNext();
  EXPECT_EQ(a->Field("N").ToInt(), 3);
  EXPECT_EQ(b->Field("N").ToInt(), 1);
  a.reset();
  b.reset();
  EXPECT_EQ(Ns(sql), "123");
}

TEST_F(StatementReuse, AKeptStatementSeesRowsAndColumnsAddedSince) {
  EXPECT_EQ(Ns("SELECT * FROM T ORDER BY N"), "123");
  db->Execute("INSERT INTO T (Name, N) VALUES ('n4', 4)");
  db->Execute("ALTER TABLE T ADD COLUMN Extra TEXT");
  db->Execute("UPDATE T SET Extra = 'x' || N");
  auto rs = db->OpenRecordset("SELECT * FROM T ORDER BY N", RecordsetType::kForwardOnly);
  EXPECT_EQ(rs->Field("Extra").ToText(), "x1");
  EXPECT_EQ(Ns("SELECT * FROM T ORDER BY N"), "1234");
}

TEST_F(StatementReuse, ASchemaChangedBeforeAFailingStatementIsStillSeen) {
  EXPECT_EQ(Ns("SELECT * FROM T ORDER BY N"), "123");
  EXPECT_THROW(db->Execute("ALTER TABLE T ADD COLUMN Extra TEXT; INSERT INTO Missing VALUES (1)"), DatabaseError);
  auto rs = db->OpenRecordset("SELECT * FROM T ORDER BY N", RecordsetType::kForwardOnly);
  EXPECT_TRUE(rs->Field("Extra").IsNull());
}

TEST_F(StatementReuse, AKeptStatementDoesNotKeepItsTableFromBeingDropped) {
  EXPECT_EQ(Ns("SELECT N FROM T"), "123");
  auto table = db->OpenRecordset("T", RecordsetType::kTable);
  EXPECT_EQ(table->Field("N").ToInt(), 1);
  table.reset();
  EXPECT_NO_THROW(db->Execute("DROP TABLE T"));
  EXPECT_THROW(Ns("SELECT N FROM T"), DatabaseError);
}

TEST_F(StatementReuse, ManyDifferentTextsStayCorrect) {
  // More texts than the connection keeps: the oldest are let go and made
  // again when they come back.
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 200; ++i) {
      EXPECT_EQ(Ns("SELECT N FROM T WHERE N = " + std::to_string(i % 4)), i % 4 == 0 ? "" : std::to_string(i % 4));
    }
  }
}

TEST_F(StatementReuse, AFieldIsFoundUnderAnyLetterCaseOnEveryRow) {
  auto rs = db->OpenRecordset("SELECT Name, N FROM T ORDER BY N", RecordsetType::kForwardOnly);
  EXPECT_EQ(rs->Field("name").ToText(), "n1");
  EXPECT_EQ(rs->Field("NAME").ToText(), "n1");
  rs->MoveNext();
  EXPECT_EQ(rs->Field("Name").ToText(), "n2");
  EXPECT_EQ(rs->Field("n").ToInt(), 2);
  EXPECT_THROW(rs->Field("Nam"), DatabaseError);
  EXPECT_THROW(rs->Field("Nam"), DatabaseError);  // an unknown name is never learnt
}

}  // namespace
}  // namespace veltrane
