// The payroll schema's stamp and its check on opening: new databases,
// the upgrade of the first layout, newer and foreign files, and tables that
// lack fields, each against a real database file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/payroll_schema.h"
#include "common/pg_database.h"
#include "common/sqlite_database.h"
#include "support/test_databases.h"

namespace veltrane {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Reason = PayrollSchemaError::Reason;

// The statements of the first layout (layout 0), as it was released: the
// files it made carry no application_id and no user_version.
const std::vector<std::string> kLayout0Statements = {
    R"(CREATE TABLE IF NOT EXISTS "Payment Journal" (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    "Date" DATE,
    payee TEXT COLLATE NOCASE,
    employer_info TEXT COLLATE NOCASE,
    employee_info TEXT COLLATE NOCASE,
    check_number TEXT COLLATE NOCASE,
    start_period DATE,
    end_period DATE,
    Earnings TEXT COLLATE NOCASE,
    Deductions TEXT COLLATE NOCASE,
    gross_regular CURRENCY CHECK (typeof(gross_regular) IN ('integer','null')),
    gross_overtime CURRENCY CHECK (typeof(gross_overtime) IN ('integer','null')),
    gross_pay CURRENCY CHECK (typeof(gross_pay) IN ('integer','null')),
    gross_pay_ytd CURRENCY CHECK (typeof(gross_pay_ytd) IN ('integer','null')),
    net_pay CURRENCY CHECK (typeof(net_pay) IN ('integer','null')),
    net_pay_ytd CURRENCY CHECK (typeof(net_pay_ytd) IN ('integer','null')),
    eic_pay CURRENCY CHECK (typeof(eic_pay) IN ('integer','null')),
    withholding_liability_data TEXT COLLATE NOCASE,
    supplemental_pay_data TEXT COLLATE NOCASE,
    Paid BOOLEAN NOT NULL DEFAULT 0,
    Void BOOLEAN NOT NULL DEFAULT 0))",
    R"(CREATE INDEX IF NOT EXISTS "Payment Journal by payee and end" ON "Payment Journal" (payee, end_period))",
    R"(CREATE INDEX IF NOT EXISTS "Payment Journal by payee and date" ON "Payment Journal" (payee, "Date"))",
    R"(CREATE INDEX IF NOT EXISTS "Payment Journal by date" ON "Payment Journal" ("Date"))",
    R"(CREATE TABLE IF NOT EXISTS "Work Journal" (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE NOT NULL,
    TimeInDate DATE NOT NULL,
    RegHours DOUBLE NOT NULL DEFAULT 0,
    OTHours DOUBLE NOT NULL DEFAULT 0,
    PaidFor BOOLEAN NOT NULL DEFAULT 0))",
    R"(CREATE INDEX IF NOT EXISTS "Work Journal by name and day" ON "Work Journal" (Name, TimeInDate))",
    R"(CREATE TABLE IF NOT EXISTS Assistants (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE NOT NULL UNIQUE,
    Title TEXT COLLATE NOCASE,
    first_name TEXT COLLATE NOCASE,
    mi TEXT COLLATE NOCASE,
    last_name TEXT COLLATE NOCASE,
    address1 TEXT COLLATE NOCASE,
    address2 TEXT COLLATE NOCASE,
    city TEXT COLLATE NOCASE,
    state TEXT COLLATE NOCASE,
    zip TEXT COLLATE NOCASE,
    social_security_number TEXT COLLATE NOCASE,
    regular_hourly_rate CURRENCY CHECK (typeof(regular_hourly_rate) IN ('integer','null')),
    overtime_hourly_rate CURRENCY CHECK (typeof(overtime_hourly_rate) IN ('integer','null')),
    Withholdings TEXT COLLATE NOCASE))",
    R"(CREATE TABLE IF NOT EXISTS "Tax Settings" (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    PayrollPeriod TEXT COLLATE NOCASE,
    OtherWithholdings TEXT COLLATE NOCASE,
    SITRate TEXT COLLATE NOCASE, SITSingle TEXT COLLATE NOCASE,
    SITMarried TEXT COLLATE NOCASE, SITHousehold TEXT COLLATE NOCASE,
    SDIBase TEXT COLLATE NOCASE, SDIEmployeeRate TEXT COLLATE NOCASE,
    SDIEmployerRate TEXT COLLATE NOCASE, SDISingle TEXT COLLATE NOCASE,
    SDIMarried TEXT COLLATE NOCASE, SDIHousehold TEXT COLLATE NOCASE,
    SDIWithholding TEXT COLLATE NOCASE, SDIUseExemptions TEXT COLLATE NOCASE,
    SUIBase TEXT COLLATE NOCASE, SUIEmployeeRate TEXT COLLATE NOCASE,
    SUIEmployerRate TEXT COLLATE NOCASE, SUISingle TEXT COLLATE NOCASE,
    SUIMarried TEXT COLLATE NOCASE, SUIHousehold TEXT COLLATE NOCASE,
    SUIWithholding TEXT COLLATE NOCASE, SUIUseExemptions TEXT COLLATE NOCASE,
    SUIState TEXT COLLATE NOCASE, SUIReportingNumber TEXT COLLATE NOCASE,
    SUIWithholdingName TEXT COLLATE NOCASE,
    EICReduce BOOLEAN NOT NULL DEFAULT 0,
    EICPayInFull BOOLEAN NOT NULL DEFAULT 0))",
    R"(CREATE TABLE IF NOT EXISTS Employer (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Title TEXT COLLATE NOCASE,
    first_name TEXT COLLATE NOCASE,
    mi TEXT COLLATE NOCASE,
    last_name TEXT COLLATE NOCASE,
    address1 TEXT COLLATE NOCASE,
    address2 TEXT COLLATE NOCASE,
    city TEXT COLLATE NOCASE,
    state TEXT COLLATE NOCASE,
    zip TEXT COLLATE NOCASE,
    federal_employer_id TEXT COLLATE NOCASE))",
};

std::int64_t Number(Database& db, const std::string& sql) {
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  const std::int64_t n = rs->Field("n").ToInt();
  rs->Close();
  return n;
}

std::int64_t LayoutVersion(Database& db) {
  return Number(db, "SELECT user_version AS n FROM pragma_user_version");
}

std::int64_t ApplicationId(Database& db) {
  return Number(db, "SELECT application_id AS n FROM pragma_application_id");
}

class SchemaFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "schema-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/payroll.db";
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // A file of the first layout with a few rows; `change` replaces a text
  // of its statements (to leave a field out, say) and `extra` runs after.
  void MakeLayout0(const std::string& from = "", const std::string& to = "",
                   const std::vector<std::string>& extra = {}) const {
    const auto db = OpenSqliteDatabase(path_);
    for (std::string sql : kLayout0Statements) {
      if (!from.empty() && sql.find(from) != std::string::npos)
        sql.replace(sql.find(from), from.size(), to);
      db->Execute(sql);
    }
    for (const std::string& sql : extra) db->Execute(sql);
    db->Execute(
        "INSERT INTO Assistants (Name, regular_hourly_rate, Withholdings) VALUES ('Ann', 105000, "
        "'FIT|Single|1|')");
    db->Execute(
        "INSERT INTO [Payment Journal] (payee, start_period, end_period, gross_pay, Paid, [Void]) "
        "VALUES ('Ann', #3/1/04#, #3/7/04#, 4001234, True, False)");
  }

  // The files of the folder other than the database itself.
  std::vector<std::string> FilesBeside() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      if (entry.path() != path_) names.push_back(entry.path().string());
    }
    return names;
  }

  // The reason OpenPayrollDatabase gives for refusing the file.
  Reason RefusalOf(std::string* what = nullptr) const {
    try {
      OpenPayrollDatabase(path_);
    } catch (const PayrollSchemaError& e) {
      if (what != nullptr) *what = e.what();
      return e.reason();
    }
    ADD_FAILURE() << "the file was opened";
    return Reason::kNotPayroll;
  }

  std::string dir_, path_;
};

TEST(PayrollSchema, ANewDatabaseIsStampedAndCreatingAgainChangesNothing) {
  const auto db = OpenSqliteDatabase(":memory:");
  CreatePayrollSchema(*db);
  EXPECT_EQ(ApplicationId(*db), kPayrollApplicationId);
  EXPECT_EQ(LayoutVersion(*db), kPayrollLayoutVersion);
  db->Execute("INSERT INTO Employer (first_name) VALUES ('Dana')");
  CreatePayrollSchema(*db);
  EXPECT_EQ(Number(*db, "SELECT Count(*) AS n FROM Employer"), 1);
}

TEST_F(SchemaFile, TheFirstLayoutIsUpgradedInPlaceWithACopyKeptBesideIt) {
  MakeLayout0();
  OpenedPayrollDatabase opened = OpenPayrollDatabase(path_);
  ASSERT_TRUE(opened.upgraded_from.has_value());
  EXPECT_EQ(*opened.upgraded_from, 0);
  EXPECT_EQ(FilesBeside(), std::vector<std::string>{opened.kept_copy});
  EXPECT_THAT(opened.kept_copy, ::testing::StartsWith(path_ + ".layout0-"));

  Database& db = *opened.db;
  EXPECT_EQ(ApplicationId(db), kPayrollApplicationId);
  EXPECT_EQ(LayoutVersion(db), kPayrollLayoutVersion);
  auto rs =
      db.OpenRecordset("SELECT gross_pay FROM [Payment Journal]", RecordsetType::kForwardOnly);
  EXPECT_EQ(rs->Field("gross_pay").ToMoney(), ParseAmount("400.1234"));
  rs->Close();
  opened.db.reset();

  const auto copy = OpenSqliteDatabase(opened.kept_copy);
  EXPECT_EQ(ApplicationId(*copy), 0);
  EXPECT_EQ(LayoutVersion(*copy), 0);
  EXPECT_EQ(Number(*copy, "SELECT Count(*) AS n FROM Assistants"), 1);

  // Upgraded once: opening it again keeps no other copy.
  EXPECT_FALSE(OpenPayrollDatabase(path_).upgraded_from.has_value());
  EXPECT_EQ(FilesBeside().size(), 1u);
}

TEST_F(SchemaFile, CreatingTheSchemaOnTheFirstLayoutUpgradesIt) {
  MakeLayout0();
  const auto db = OpenSqliteDatabase(path_);
  CreatePayrollSchema(*db);
  EXPECT_EQ(LayoutVersion(*db), kPayrollLayoutVersion);
  EXPECT_EQ(Number(*db, "SELECT Count(*) AS n FROM [Payment Journal]"), 1);
}

// The upgrade is one transaction: when a step of it fails, the file keeps
// its layout and no copy is left behind.
TEST_F(SchemaFile, AnUpgradeThatFailsLeavesTheFileAsItWas) {
  // A table holds the name of an index the upgrade creates.
  MakeLayout0("CREATE INDEX IF NOT EXISTS \"Work Journal by name and day\"",
              "CREATE INDEX IF NOT EXISTS \"another name\"",
              {"CREATE TABLE \"Work Journal by name and day\" (x)"});
  EXPECT_THROW(OpenPayrollDatabase(path_), DatabaseError);
  EXPECT_THAT(FilesBeside(), IsEmpty());
  const auto db = OpenSqliteDatabase(path_);
  EXPECT_EQ(LayoutVersion(*db), 0);
  EXPECT_EQ(ApplicationId(*db), 0);
}

TEST_F(SchemaFile, ANewerLayoutIsRefusedAndLeftAlone) {
  {
    const auto db = OpenSqliteDatabase(path_);
    CreatePayrollSchema(*db);
    db->Execute("PRAGMA user_version = " + std::to_string(kPayrollLayoutVersion + 1));
    try {
      CreatePayrollSchema(*db);
      ADD_FAILURE() << "a newer layout was accepted";
    } catch (const PayrollSchemaError& e) {
      EXPECT_EQ(e.reason(), Reason::kNewer);
    }
  }
  std::string what;
  EXPECT_EQ(RefusalOf(&what), Reason::kNewer);
  EXPECT_THAT(what,
              HasSubstr("its layout is version " + std::to_string(kPayrollLayoutVersion + 1)));
  EXPECT_THAT(FilesBeside(), IsEmpty());
  EXPECT_EQ(LayoutVersion(*OpenSqliteDatabase(path_)), kPayrollLayoutVersion + 1);
}

TEST_F(SchemaFile, FilesOfOtherProgramsAreNotPayrollDatabases) {
  const auto refusal = [&](const std::string& content) {
    std::filesystem::remove(path_);
    std::ofstream(path_, std::ios::binary) << content;
    std::string what;
    EXPECT_EQ(RefusalOf(&what), Reason::kNotPayroll);
    return what;
  };
  EXPECT_EQ(refusal("shopping list\n"), "it is not an SQLite database");
  EXPECT_EQ(refusal(""), "it holds no payroll tables");

  std::filesystem::remove(path_);
  OpenSqliteDatabase(path_)->Execute("CREATE TABLE notes (text)");
  EXPECT_EQ(RefusalOf(), Reason::kNotPayroll);

  // Stamped by another application, even with the payroll tables.
  std::filesystem::remove(path_);
  MakeLayout0("", "", {"PRAGMA application_id = 1234"});
  EXPECT_EQ(RefusalOf(), Reason::kNotPayroll);
  const auto db = OpenSqliteDatabase(path_);
  EXPECT_THROW(CreatePayrollSchema(*db), PayrollSchemaError);
  EXPECT_EQ(ApplicationId(*db), 1234);
}

// A field the components read that is missing would fail a command half
// way (or, for OTHours, pay overtime as 0): such a file is refused whole,
// with every missing part named, and left as it is.
TEST_F(SchemaFile, TablesThatLackFieldsAreRefusedNamingThem) {
  MakeLayout0("OTHours DOUBLE NOT NULL DEFAULT 0,", "", {"DROP TABLE Employer"});
  std::string what;
  EXPECT_EQ(RefusalOf(&what), Reason::kIncomplete);
  EXPECT_EQ(what,
            "the table \"Work Journal\" lacks the field OTHours; the table \"Employer\" is "
            "missing");
  EXPECT_THAT(FilesBeside(), IsEmpty());
  EXPECT_EQ(LayoutVersion(*OpenSqliteDatabase(path_)), 0);
}

TEST_F(SchemaFile, AFieldOfAnotherTypeIsRefused) {
  MakeLayout0("gross_pay CURRENCY CHECK (typeof(gross_pay) IN ('integer','null'))",
              "gross_pay REAL");
  std::string what;
  EXPECT_EQ(RefusalOf(&what), Reason::kIncomplete);
  EXPECT_EQ(what, "the field gross_pay of \"Payment Journal\" is declared REAL, not CURRENCY");
}

TEST_F(SchemaFile, AStampedFileThatLostAFieldIsRefused) {
  {
    const auto db = OpenSqliteDatabase(path_);
    CreatePayrollSchema(*db);
    db->Execute("ALTER TABLE Assistants DROP COLUMN overtime_hourly_rate");
    db->Execute("ALTER TABLE Assistants DROP COLUMN Withholdings");
  }
  std::string what;
  EXPECT_EQ(RefusalOf(&what), Reason::kIncomplete);
  EXPECT_EQ(what, "the table \"Assistants\" lacks the fields overtime_hourly_rate, Withholdings");
}

TEST_F(SchemaFile, AFileLockedByAnotherConnectionIsBusy) {
  MakeLayout0();
  const auto holder = OpenSqliteDatabase(path_);
  holder->Execute("BEGIN EXCLUSIVE");
  EXPECT_THROW(OpenPayrollDatabase(path_), DatabaseBusyError);
}

TEST_F(SchemaFile, KeptCopyNamesNeverTakeAnExistingName) {
  const std::string first = KeptCopyName(path_, "replaced");
  EXPECT_THAT(first, ::testing::MatchesRegex(".*/payroll\\.db\\.replaced-[0-9]{8}-[0-9]{6}"));
  std::ofstream(first) << "x";
  const std::string second = KeptCopyName(path_, "replaced");
  EXPECT_NE(second, first);
  std::ofstream(second + "-journal") << "x";  // a journal claims its name too
  const std::string third = KeptCopyName(path_, "replaced");
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
}

// A household on a server carries the stamp in a table of its own and is
// checked on opening as a file is, with the same reasons.
TEST(ServerSchema, IsStampedAndCheckedOnOpeningAsAFileIs) {
  const std::string uri = testing::NewServerSchema();
  if (uri.empty()) return;
  const auto refusal = [&] {
    try {
      OpenPayrollDatabase(uri);
    } catch (const PayrollSchemaError& e) {
      return std::string(e.what());
    }
    return std::string("opened");
  };
  const auto db = OpenPostgresDatabase(uri);
  EXPECT_EQ(refusal(), "it holds no payroll tables");
  CreatePayrollSchema(*db);
  EXPECT_EQ(Number(*db, "SELECT application_id AS n FROM payroll_stamp"), kPayrollApplicationId);
  EXPECT_EQ(Number(*db, "SELECT user_version AS n FROM payroll_stamp"), kPayrollLayoutVersion);
  EXPECT_FALSE(OpenPayrollDatabase(uri).upgraded_from.has_value());

  db->Execute("UPDATE payroll_stamp SET user_version = user_version + 1");
  EXPECT_THAT(refusal(), HasSubstr("its layout is version " + std::to_string(kPayrollLayoutVersion + 1)));
  db->Execute("UPDATE payroll_stamp SET user_version = " + std::to_string(kPayrollLayoutVersion) +
              ", application_id = 1234");
  EXPECT_THAT(refusal(), HasSubstr("it belongs to another application"));
  db->Execute("UPDATE payroll_stamp SET application_id = " + std::to_string(kPayrollApplicationId));
  db->Execute("ALTER TABLE [Work Journal] DROP COLUMN OTHours");
  db->Execute("ALTER TABLE [Payment Journal] ALTER COLUMN gross_pay TYPE double precision");
  EXPECT_EQ(refusal(),
            "the field gross_pay of \"Payment Journal\" is declared double precision, not currency; the table "
            "\"Work Journal\" lacks the field OTHours");
}

}  // namespace
}  // namespace veltrane
