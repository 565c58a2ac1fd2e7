// The database file as paystead finds it: stamped by this layout, of the
// first unstamped layout (upgraded, with the old file kept), newer, of
// another program, missing a field, or held locked by another program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "cli/program_runner.h"
#include "common/payroll_schema.h"
#include "common/sqlite_database.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class DatabaseFile : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeHousehold();
    Ok({"hours", "add", "Ann Lee", "3/1/2004", "8", "2"});
  }
  // The files of the test's folder other than the database and the
  // program's output.
  std::vector<std::string> FilesBeside() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (name != "paystead.db" && !name.starts_with(".std")) names.push_back(name);
    }
    return names;
  }
  ProgramResult PayFirstWeek() const {
    return Run({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004", "--pay"});
  }
};

TEST_F(DatabaseFile, ANewDatabaseIsStampedAndOpensWithoutANote) {
  EXPECT_EQ(QueryNumber("SELECT application_id AS n FROM pragma_application_id"),
            kPayrollApplicationId);
  EXPECT_EQ(QueryNumber("SELECT user_version AS n FROM pragma_user_version"),
            kPayrollLayoutVersion);
  const ProgramResult r = Run({"hours", "list"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_THAT(FilesBeside(), IsEmpty());
}

// A database of the first layout is the same tables without the stamp.
TEST_F(DatabaseFile, TheFirstLayoutIsUpgradedOnceWithTheOldFileKept) {
  Execute("PRAGMA application_id = 0");
  Execute("PRAGMA user_version = 0");

  const ProgramResult r = Run({"hours", "list"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Total: 1 entry, 8 regular and 2 overtime hours"));
  const std::vector<std::string> kept = FilesBeside();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_THAT(kept[0], ::testing::MatchesRegex("paystead\\.db\\.layout0-[0-9]{8}-[0-9]{6}"));
  EXPECT_EQ(r.err,
            "paystead: note: 'paystead.db' had database layout 0; it is upgraded to layout " +
                std::to_string(kPayrollLayoutVersion) + ", and the file as it was is kept as '" +
                kept[0] + "'\n");
  // The copy is the old file's content, still of the first layout.
  const auto copy = OpenSqliteDatabase(Path(kept[0]));
  const auto number = [&](const std::string& sql) {
    auto rs = copy->OpenRecordset(sql, RecordsetType::kForwardOnly);
    return rs->Field("n").ToInt();
  };
  EXPECT_EQ(number("SELECT user_version AS n FROM pragma_user_version"), 0);
  EXPECT_EQ(number("SELECT application_id AS n FROM pragma_application_id"), 0);
  EXPECT_EQ(number("SELECT Sum(OTHours) AS n FROM [Work Journal]"), 2);
  EXPECT_EQ(number("SELECT Count(*) AS n FROM Assistants"), 1);
  EXPECT_EQ(QueryNumber("SELECT user_version AS n FROM pragma_user_version"),
            kPayrollLayoutVersion);

  const ProgramResult again = Run({"hours", "list"});
  EXPECT_EQ(again.err, "");
  EXPECT_EQ(FilesBeside().size(), 1u);
  const ProgramResult paid = PayFirstWeek();
  EXPECT_EQ(paid.exit_code, 0) << paid.err;
  EXPECT_THAT(paid.out, HasRow({"Overtime", "2", "$15.00", "$30.00"}));
}

// What a copy cut off by a crash leaves is never taken for the kept file,
// and the next upgrade, which keeps a whole copy, removes it.
TEST_F(DatabaseFile, AnUpgradeCutOffLeavesNoCopyThatPassesForTheOldFile) {
  Execute("PRAGMA application_id = 0");
  Execute("PRAGMA user_version = 0");
  std::ofstream(Path("paystead.db.layout0-20040301-101500.partial")) << "";
  std::ofstream(Path("paystead.db.layout0-20040301-101500.partial-journal")) << "half";
  std::ofstream(Path("paystead.db.notes")) << "the person's own file";

  const ProgramResult r = Run({"hours", "list"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::vector<std::string> beside = FilesBeside();
  std::sort(beside.begin(), beside.end());
  ASSERT_EQ(beside.size(), 2u) << ::testing::PrintToString(beside);
  EXPECT_THAT(beside[0], ::testing::MatchesRegex("paystead\\.db\\.layout0-[0-9]{8}-[0-9]{6}"));
  EXPECT_EQ(beside[1], "paystead.db.notes");
  EXPECT_GT(std::filesystem::file_size(Path(beside[0])), 0u);
  const auto copy = OpenSqliteDatabase(Path(beside[0]));
  auto rs = copy->OpenRecordset("SELECT Sum(OTHours) AS n FROM [Work Journal]",
                                RecordsetType::kForwardOnly);
  EXPECT_EQ(rs->Field("n").ToInt(), 2);
}

// A damaged file is said to be damaged, in words for the person, without
// the query that met the damage.
TEST_F(DatabaseFile, ADamagedFileIsSaidToBeDamagedWithoutSql) {
  const auto damage = [&](std::streamoff at, std::size_t bytes) {
    std::fstream file(DbPath(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(at);
    file << std::string(bytes, '\x07');
  };
  const std::string intact = ReadFile(DbPath());
  const long long page = QueryNumber("SELECT page_size AS n FROM pragma_page_size");
  damage(page, intact.size() - static_cast<std::size_t>(page));  // every page of the tables
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"journal"}, std::vector<std::string>{"check", "1"}}) {
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_THAT(r.err, HasSubstr("'paystead.db' is damaged: part of it cannot be read"));
    EXPECT_THAT(r.err, ::testing::Not(HasSubstr("SELECT")));
  }
  std::ofstream(DbPath(), std::ios::binary) << intact;
  damage(100, 200);  // the schema's first records
  const ProgramResult opened = Run({"hours", "list"});
  EXPECT_EQ(opened.exit_code, 1);
  EXPECT_THAT(opened.err, HasSubstr("is damaged"));
  EXPECT_THAT(opened.err, ::testing::Not(HasSubstr("SELECT")));
}

TEST_F(DatabaseFile, ANewerLayoutIsRefusedAndLeftAlone) {
  Execute("PRAGMA user_version = " + std::to_string(kPayrollLayoutVersion + 1));
  const std::string before = ReadFile(DbPath());
  const ProgramResult r = Run({"hours", "list"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "paystead: 'paystead.db' was written by a newer paystead: its layout is version " +
                std::to_string(kPayrollLayoutVersion + 1) +
                ", and this program reads layouts up to version " +
                std::to_string(kPayrollLayoutVersion) + "; open it with that version\n");
  EXPECT_TRUE(ReadFile(DbPath()) == before) << "the database changed";
  EXPECT_THAT(FilesBeside(), IsEmpty());
}

TEST_F(DatabaseFile, AnotherApplicationsDatabaseIsNotCalledPayroll) {
  Execute("PRAGMA application_id = 1234");
  const ProgramResult r = Run({"hours", "list"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_THAT(r.err, HasSubstr("'paystead.db' is not a paystead database: it belongs to another "
                               "application (application_id 1234, user_version " +
                               std::to_string(kPayrollLayoutVersion) + "); name yours"));
}

// Without OTHours the overtime cannot be read; the paycheck must not pay
// it as 0, nor fail deep inside with SQLite's text.
TEST_F(DatabaseFile, AWorkJournalWithoutOvertimeIsRefusedBeforeAnythingIsPaid) {
  Execute("ALTER TABLE [Work Journal] DROP COLUMN OTHours");
  const ProgramResult r = PayFirstWeek();
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "paystead: 'paystead.db' is not a complete paystead database: the table \"Work "
            "Journal\" lacks the field OTHours; nothing was changed\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(QueryNumber("SELECT Count(*) AS n FROM [Payment Journal]"), 0);
}

// The lock of another program, held longer than paystead waits for it.
class LockedDatabase : public DatabaseFile {
 protected:
  void Lock(const char* how) {
    holder_ = OpenSqliteDatabase(DbPath());
    holder_->Execute(std::string("BEGIN ") + how);
  }
  void TearDown() override {
    holder_.reset();
    DatabaseFile::TearDown();
  }
  std::unique_ptr<Database> holder_;
};

TEST_F(LockedDatabase, OneThatCannotBeReadIsInUseNotForeign) {
  Lock("EXCLUSIVE");
  const ProgramResult r = Run({"assistant", "list"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "paystead: 'paystead.db' is in use by another program; try again\n");
}

TEST_F(LockedDatabase, OneThatCannotBeWrittenIsInUseAndUnchanged) {
  const std::string before = ReadFile(DbPath());  // read first: closing a file drops its locks
  Lock("IMMEDIATE");
  const ProgramResult r = Run({"hours", "add", "Ann Lee", "3/2/2004", "8"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "paystead: 'paystead.db' is in use by another program; try again\n");
  holder_.reset();
  EXPECT_TRUE(ReadFile(DbPath()) == before) << "the database changed";
}

TEST_F(LockedDatabase, InitForceLeavesAFileInUseWhereItIs) {
  Lock("IMMEDIATE");
  const ProgramResult r = Run({"init", "--force"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "paystead: 'paystead.db' is in use by another program; try again\n");
  holder_.reset();
  EXPECT_THAT(FilesBeside(), IsEmpty());
  EXPECT_THAT(Ok({"assistant", "list"}), HasSubstr("Ann Lee"));
}

}  // namespace
}  // namespace veltrane::host::testing
