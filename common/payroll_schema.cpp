#include "common/payroll_schema.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "common/sqlite_database.h"
#include "common/database_backend.h"
#include "common/open_database.h"
#include "common/payroll_layout.h"
#include "common/recordset_columns.h"
#include "common/text.h"

namespace veltrane {
namespace {

using Reason = PayrollSchemaError::Reason;

// The table that carries the stamp on a server, where there is no
// application_id or user_version.
constexpr const char* kStampTable = "payroll_stamp";

SqlDialect DialectOf(Database& db) { return BackendOf(db).dialect(); }

// On a server, the citext type and the currency domain the layout's text
// and money fields are declared with: the domain in the database's current
// schema, beside the tables.
void CreateServerTypes(Database& db) {
  DatabaseBackend& backend = BackendOf(db);
  backend.ExecuteNative("CREATE EXTENSION IF NOT EXISTS citext");
  auto rs = db.OpenRecordset(
      "SELECT count(*) AS n FROM pg_type WHERE typname = 'currency' AND typnamespace = "
      "current_schema()::regnamespace",
      RecordsetType::kForwardOnly);
  const bool has_domain = rs->Field("n").ToInt() > 0;
  rs->Close();
  if (!has_domain) backend.ExecuteNative("CREATE DOMAIN currency AS bigint");
}

void RunStatements(Database& db) {
  DatabaseBackend& backend = BackendOf(db);
  if (backend.dialect() == SqlDialect::kPostgresql) CreateServerTypes(db);
  for (const std::string& sql : layout::CreateStatements(backend.dialect())) backend.ExecuteNative(sql);
}

// A table's fields as declared: name and declared type, in order; none for
// a table that does not exist.
using Fields = std::vector<std::pair<std::string, std::string>>;

Fields FieldsOf(Database& db, const std::string& table) {
  const std::string sql =
      DialectOf(db) == SqlDialect::kPostgresql
          ? "SELECT a.attname AS name, format_type(a.atttypid, a.atttypmod) AS type FROM pg_attribute AS a, "
            "pg_class AS c WHERE c.oid = a.attrelid AND c.relname = '" +
                QuoteName(ToLower(table)) +
                "' AND c.relnamespace = current_schema()::regnamespace AND a.attnum > 0 AND NOT "
                "a.attisdropped ORDER BY a.attnum"
          : "SELECT name, type FROM pragma_table_info('" + QuoteName(table) + "')";
  Fields fields;
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext())
    fields.emplace_back(rs->Field("name").ToText(), rs->Field("type").ToText());
  rs->Close();
  return fields;
}

struct Stamp {
  std::int64_t application_id = 0;
  std::int64_t version = 0;
  bool has_payroll_table = false;
};

std::int64_t Number(Database& db, const std::string& sql, const char* field) {
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  const std::int64_t n = rs->Field(field).ToInt();
  rs->Close();
  return n;
}

Stamp ReadStamp(Database& db) {
  const bool pg = DialectOf(db) == SqlDialect::kPostgresql;
  Stamp s;
  bool has_stamp_table = false;
  auto rs = db.OpenRecordset(pg ? "SELECT relname AS name FROM pg_class WHERE relkind IN ('r', 'p') AND "
                                  "relnamespace = current_schema()::regnamespace"
                                : "SELECT name FROM sqlite_schema WHERE type='table'",
                             RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    const std::string name = rs->Field("name").ToText();
    for (const layout::Table& table : layout::PayrollTables())
      s.has_payroll_table = s.has_payroll_table || IEquals(name, table.name);
    has_stamp_table = has_stamp_table || name == kStampTable;
  }
  rs->Close();
  if (!pg) {
    s.application_id = Number(db, "SELECT application_id FROM pragma_application_id", "application_id");
    s.version = Number(db, "SELECT user_version FROM pragma_user_version", "user_version");
  } else if (has_stamp_table) {
    auto stamp = db.OpenRecordset(std::string("SELECT application_id, user_version FROM ") + kStampTable,
                                  RecordsetType::kForwardOnly);
    if (!stamp->IsEOF()) {
      s.application_id = stamp->Field("application_id").ToInt();
      s.version = stamp->Field("user_version").ToInt();
    }
    stamp->Close();
  }
  return s;
}

void WriteStamp(Database& db) {
  const std::string id = std::to_string(kPayrollApplicationId);
  const std::string version = std::to_string(kPayrollLayoutVersion);
  DatabaseBackend& backend = BackendOf(db);
  if (backend.dialect() == SqlDialect::kPostgresql) {
    backend.ExecuteNative(std::string("CREATE TABLE IF NOT EXISTS ") + kStampTable +
                          " (application_id integer NOT NULL, user_version integer NOT NULL)");
    backend.ExecuteNative(std::string("DELETE FROM ") + kStampTable);
    backend.ExecuteNative(std::string("INSERT INTO ") + kStampTable + " VALUES (" + id + ", " + version + ")");
  } else {
    backend.ExecuteNative("PRAGMA application_id = " + id);
    backend.ExecuteNative("PRAGMA user_version = " + version);
  }
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
  const SqlDialect dialect = DialectOf(db);
  std::string problems;
  const auto add = [&](const std::string& problem) {
    problems += (problems.empty() ? "" : "; ") + problem;
  };
  for (const layout::Table& table : layout::PayrollTables()) {
    std::map<std::string, std::string> actual;  // declared type by lower-case name
    for (const auto& [name, type] : FieldsOf(db, table.name)) actual.emplace(ToLower(name), type);
    if (actual.empty()) {
      add("the table \"" + std::string(table.name) + "\" is missing");
      continue;
    }
    std::string missing;
    for (const layout::Field& field : table.fields) {
      const std::string expected = layout::DeclaredType(field.type, dialect);
      const auto it = actual.find(ToLower(field.name));
      if (it == actual.end()) {
        missing += (missing.empty() ? "" : ", ") + std::string(field.name);
      } else if (KindOfDeclType(it->second) != KindOfDeclType(expected)) {
        add("the field " + std::string(field.name) + " of \"" + table.name + "\" is declared " +
            (it->second.empty() ? "without a type" : it->second) + ", not " + expected);
      }
    }
    if (!missing.empty()) {
      add("the table \"" + std::string(table.name) + "\" lacks the field" +
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
  WriteStamp(db);
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

OpenedPayrollDatabase OpenPayrollDatabase(const std::string& location) {
  const bool server = IsServerLocation(location);
  if (!server && !IsSqliteFile(location))
    throw PayrollSchemaError(Reason::kNotPayroll, "it is not an SQLite database");
  OpenedPayrollDatabase opened;
  opened.db = OpenDatabase(location);
  Database& db = *opened.db;
  std::optional<int> layout = LayoutOf(ReadStamp(db));
  if (!layout) throw PayrollSchemaError(Reason::kNotPayroll, "it holds no payroll tables");
  VerifyFields(db);
  if (*layout == kPayrollLayoutVersion) return opened;

  // Under the write lock, so that no other program changes the database
  // between the copy and the upgrade; it may have upgraded it meanwhile. A
  // file's copy is read through a connection of its own, as a connection
  // cannot copy a database it is writing; a server keeps its own backups.
  TransactionScope tx(db);
  layout = LayoutOf(ReadStamp(db));
  if (layout && *layout < kPayrollLayoutVersion) {
    std::string copy;
    if (!server) {
      copy = KeptCopyName(location, "layout" + std::to_string(*layout));
      const std::string partial = copy + std::string(kPartial);
      RemoveCutOffCopies(location);
      CopySqliteDatabase(*OpenSqliteDatabase(location), partial);
      std::error_code renamed;
      std::filesystem::rename(partial, copy, renamed);
      if (renamed) {
        std::error_code ec;
        std::filesystem::remove(partial, ec);
        throw DatabaseError(
            "cannot keep the copy of '" + location + "' as '" + copy + "': " + renamed.message(),
            DatabaseError::Kind::kNotWritable);
      }
    }
    try {
      Upgrade(db, layout);
      tx.Commit();
    } catch (...) {
      std::error_code ec;
      if (!copy.empty()) std::filesystem::remove(copy, ec);  // the file is as it was
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
