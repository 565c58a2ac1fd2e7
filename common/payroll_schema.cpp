#include "common/payroll_schema.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "common/sqlite_database.h"
#include "common/sqlite_recordsets.h"
#include "common/text.h"

namespace veltrane {
namespace {

using Reason = PayrollSchemaError::Reason;

constexpr std::array<const char*, 5> kPayrollTables = {
    "Payment Journal", "Work Journal", "Assistants", "Tax Settings", kEmployerTable};

// Declared types carry the logical type to the record sets: CURRENCY holds
// ten-thousandths as an integer (the CHECK keeps binary floats out, so sums
// stay exact), DATE holds "yyyy-mm-dd", BOOLEAN holds 0 or 1. Text compares
// without regard to letter case. Every statement leaves what exists alone,
// so running them all on an older layout adds only what it lacks.
constexpr const char* kStatements[] = {
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

void RunStatements(Database& db) {
  for (const char* sql : kStatements) db.Execute(sql);
}

// A table's fields as declared: name and declared type, in order; none for
// a table that does not exist.
using Fields = std::vector<std::pair<std::string, std::string>>;

Fields FieldsOf(Database& db, const std::string& table) {
  Fields fields;
  auto rs = db.OpenRecordset("SELECT name, type FROM pragma_table_info('" + QuoteName(table) + "')",
                             RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext())
    fields.emplace_back(rs->Field("name").ToText(), rs->Field("type").ToText());
  rs->Close();
  return fields;
}

// The fields of each payroll table as the statements above make them.
const std::vector<Fields>& ExpectedFields() {
  static const std::vector<Fields> tables = [] {
    const auto db = OpenSqliteDatabase(":memory:");
    RunStatements(*db);
    std::vector<Fields> out;
    for (const char* table : kPayrollTables) out.push_back(FieldsOf(*db, table));
    return out;
  }();
  return tables;
}

sqlite::ColumnKind KindOf(const std::string& declared_type) {
  return sqlite::KindOfDeclType(declared_type.c_str());
}

struct Stamp {
  std::int64_t application_id = 0;
  std::int64_t version = 0;
  bool has_payroll_table = false;
};

std::int64_t PragmaNumber(Database& db, const std::string& name) {
  auto rs =
      db.OpenRecordset("SELECT " + name + " FROM pragma_" + name, RecordsetType::kForwardOnly);
  const std::int64_t n = rs->Field(name).ToInt();
  rs->Close();
  return n;
}

Stamp ReadStamp(Database& db) {
  Stamp s;
  s.application_id = PragmaNumber(db, "application_id");
  s.version = PragmaNumber(db, "user_version");
  auto rs = db.OpenRecordset("SELECT name FROM sqlite_schema WHERE type='table'",
                             RecordsetType::kForwardOnly);
  for (; !rs->IsEOF() && !s.has_payroll_table; rs->MoveNext()) {
    const std::string name = rs->Field("name").ToText();
    for (const char* table : kPayrollTables)
      s.has_payroll_table = s.has_payroll_table || IEquals(name, table);
  }
  rs->Close();
  return s;
}

// The layout a stamp says the database has; nullopt for one that holds no
// payroll table and no stamp. Raises PayrollSchemaError for a database
// that is not a payroll database of this layout or an older one.
std::optional<int> LayoutOf(const Stamp& s) {
  if (s.application_id == kPayrollApplicationId) {
    if (s.version > kPayrollLayoutVersion) {
      throw PayrollSchemaError(Reason::kNewer,
                               "its layout is version " + std::to_string(s.version) +
                                   ", and this program reads layouts up to version " +
                                   std::to_string(kPayrollLayoutVersion));
    }
    return static_cast<int>(std::max<std::int64_t>(s.version, 0));
  }
  if (s.application_id != 0 || s.version != 0) {
    throw PayrollSchemaError(Reason::kNotPayroll,
                             "it belongs to another application (application_id " +
                                 std::to_string(s.application_id) + ", user_version " +
                                 std::to_string(s.version) + ")");
  }
  if (!s.has_payroll_table) return std::nullopt;
  return 0;
}

// Raises PayrollSchemaError naming every payroll table or field that is
// missing, or declared with a type the record sets read differently, so
// that no command fails half way on a field it needs.
void VerifyFields(Database& db) {
  std::string problems;
  const auto add = [&](const std::string& problem) {
    problems += (problems.empty() ? "" : "; ") + problem;
  };
  for (std::size_t t = 0; t < kPayrollTables.size(); ++t) {
    const std::string table = kPayrollTables[t];
    std::map<std::string, std::string> actual;  // declared type by lower-case name
    for (const auto& [name, type] : FieldsOf(db, table)) actual.emplace(ToLower(name), type);
    if (actual.empty()) {
      add("the table \"" + table + "\" is missing");
      continue;
    }
    std::string missing;
    for (const auto& [name, type] : ExpectedFields()[t]) {
      const auto it = actual.find(ToLower(name));
      if (it == actual.end()) {
        missing += (missing.empty() ? "" : ", ") + name;
      } else if (KindOf(it->second) != KindOf(type)) {
        add("the field " + name + " of \"" + table + "\" is declared " +
            (it->second.empty() ? "without a type" : it->second) + ", not " + type);
      }
    }
    if (!missing.empty()) {
      add("the table \"" + table + "\" lacks the field" +
          (missing.find(',') == std::string::npos ? " " : "s ") + missing);
    }
  }
  if (!problems.empty()) throw PayrollSchemaError(Reason::kIncomplete, problems);
}

// Brings a database of `layout` (nullopt: no payroll tables yet) to this
// layout and stamps it; the caller holds the transaction. A later layout
// adds its own steps here, each keyed by the layout it starts from.
void Upgrade(Database& db, std::optional<int> layout) {
  if (layout) VerifyFields(db);  // nothing is added to tables that lack fields
  RunStatements(db);
  db.Execute("PRAGMA application_id = " + std::to_string(kPayrollApplicationId));
  db.Execute("PRAGMA user_version = " + std::to_string(kPayrollLayoutVersion));
}

// Whether the file starts as an SQLite database does; an empty file is an
// empty database. Raises DatabaseError when the file cannot be read.
bool IsSqliteFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DatabaseError("cannot read '" + path + "'");
  static constexpr char kHeader[] = "SQLite format 3";  // with its terminating NUL: 16 bytes
  char head[sizeof kHeader] = {};
  in.read(head, sizeof head);
  if (in.gcount() == 0) return true;
  return in.gcount() == sizeof head && std::equal(head, head + sizeof head, kHeader);
}

// A kept copy is written under its name with this added, and renamed to
// its name only when complete, so that a copy cut off (by a crash or a
// power loss) never passes for the file as it was.
constexpr std::string_view kPartial = ".partial";

// Removes what copies cut off before left beside `path`. Called under the
// write lock, which a program copying the file holds.
void RemoveCutOffCopies(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path file(path);
  const std::string prefix = file.filename().string() + ".layout";
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::error_code ec;
  std::vector<fs::path> cut_off;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(prefix) &&
        (name.ends_with(kPartial) || name.ends_with(std::string(kPartial) + "-journal")))
      cut_off.push_back(it->path());
  }
  for (const fs::path& name : cut_off) fs::remove(name, ec);
}

}  // namespace

void CreatePayrollSchema(Database& db) {
  TransactionScope tx(db);
  const std::optional<int> layout = LayoutOf(ReadStamp(db));
  if (layout == kPayrollLayoutVersion) {
    VerifyFields(db);
  } else {
    Upgrade(db, layout);
  }
  tx.Commit();
}

OpenedPayrollDatabase OpenPayrollDatabase(const std::string& path) {
  if (!IsSqliteFile(path))
    throw PayrollSchemaError(Reason::kNotPayroll, "it is not an SQLite database");
  OpenedPayrollDatabase opened;
  opened.db = OpenSqliteDatabase(path);
  Database& db = *opened.db;
  std::optional<int> layout = LayoutOf(ReadStamp(db));
  if (!layout) throw PayrollSchemaError(Reason::kNotPayroll, "it holds no payroll tables");
  VerifyFields(db);
  if (*layout == kPayrollLayoutVersion) return opened;

  // Under the write lock, so that no other program changes the file between
  // the copy and the upgrade; it may have upgraded the file meanwhile. The
  // copy is read through a connection of its own, as a connection cannot
  // copy a database it is writing.
  TransactionScope tx(db);
  layout = LayoutOf(ReadStamp(db));
  if (layout && *layout < kPayrollLayoutVersion) {
    const std::string copy = KeptCopyName(path, "layout" + std::to_string(*layout));
    const std::string partial = copy + std::string(kPartial);
    RemoveCutOffCopies(path);
    CopySqliteDatabase(*OpenSqliteDatabase(path), partial);
    std::error_code renamed;
    std::filesystem::rename(partial, copy, renamed);
    if (renamed) {
      std::error_code ec;
      std::filesystem::remove(partial, ec);
      throw DatabaseError(
          "cannot keep the copy of '" + path + "' as '" + copy + "': " + renamed.message(),
          DatabaseError::Kind::kNotWritable);
    }
    try {
      Upgrade(db, layout);
      tx.Commit();
    } catch (...) {
      std::error_code ec;
      std::filesystem::remove(copy, ec);  // the file is as it was
      throw;
    }
    opened.upgraded_from = *layout;
    opened.kept_copy = copy;
    return opened;
  }
  tx.Commit();
  return opened;
}

std::string KeptCopyName(const std::string& path, std::string_view tag) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = path + "." + std::string(tag) + "-" + stamp;
  const auto taken = [](const std::string& name) {
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal"}) {
      if (std::filesystem::exists(std::filesystem::symlink_status(name + suffix, ec))) return true;
    }
    return false;
  };
  std::string name = base;
  for (int n = 2; taken(name); ++n) name = base + "-" + std::to_string(n);
  return name;
}

}  // namespace veltrane
