#include "common/sqlite_database.h"

#include <filesystem>
#include <map>

#include "common/database_backend.h"
#include "common/errors.h"
#include "common/sql_translate.h"
#include "common/sqlite_recordsets.h"
#include "common/recordset_columns.h"
#include "common/text.h"

namespace veltrane {

namespace {

using sqlite::RaiseSqliteError;
using sqlite::RaiseSqliteFailure;
using sqlite::Stmt;

class SqliteDatabase final : public Database, public DatabaseBackend, public sqlite::Connection {
 public:
  explicit SqliteDatabase(const std::string& path) {
    // One connection serves one thread (the host's), so SQLite's per-call
    // locking of the connection is not needed.
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw DatabaseError("cannot open database '" + path + "': " + why, sqlite::KindOfFailure(rc));
    }
    sqlite3_busy_timeout(db_, 5000);
    statements_ = std::make_unique<sqlite::StatementCache>(db_);
  }
  ~SqliteDatabase() override {
    statements_.reset();
    sqlite3_close_v2(db_);
  }

  std::unique_ptr<Recordset> OpenRecordset(std::string_view source, RecordsetType type) override {
    const RecordsetSource from = SourceOf(source, type);
    if (from.is_query) {
      if (type == RecordsetType::kForwardOnly) return sqlite::MakeForwardOnly(*this, from.text);
      return sqlite::MakeQuerySet(*this, from.text);
    }
    if (type == RecordsetType::kForwardOnly) {
      return sqlite::MakeForwardOnly(*this, "SELECT * FROM " + QuotedName(from.text, SqlDialect::kSqlite));
    }
    return sqlite::MakeTableSet(*this, from.text);
  }

  std::int64_t Execute(std::string_view sql) override { return Run(TranslateJetSql(sql).sql); }
  void ExecuteNative(const std::string& sql) override { Run(sql); }
  SqlDialect dialect() const override { return SqlDialect::kSqlite; }

  // Runs every statement of a text; returns the rows the last one changed.
  std::int64_t Run(const std::string& translated) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, translated.c_str(), nullptr, nullptr, &err);
    const std::string why = rc == SQLITE_OK ? "" : err ? err : sqlite3_errmsg(db_);
    const int extended = rc == SQLITE_OK ? rc : sqlite3_extended_errcode(db_);
    sqlite3_free(err);
    const std::int64_t changed = sqlite3_changes64(db_);
    // The statements may have changed the schema, even when a later one
    // of the text failed.
    tables_.clear();
    all_columns_.clear();
    ForgetStatementsIfSchemaChanged();
    if (rc != SQLITE_OK) RaiseSqliteFailure((extended & 0xff) == (rc & 0xff) ? extended : rc, why);
    return changed;
  }

  void BeginTransaction() override { Execute("BEGIN IMMEDIATE"); }
  void CommitTransaction() override { Execute("COMMIT"); }
  void RollbackTransaction() override { Execute("ROLLBACK"); }
  bool InTransaction() override { return sqlite3_get_autocommit(db_) == 0; }

  sqlite3* handle() override { return db_; }

  Stmt Prepare(const std::string& sql) override { return statements_->Prepare(sql); }

  const std::vector<Column>& TableColumns(const std::string& table) override {
    const std::string key = ToLower(table);
    auto it = tables_.find(key);
    if (it != tables_.end()) return it->second;
    std::vector<Column> cols;
    Stmt s = Prepare("SELECT name, type FROM pragma_table_info(?)");
    sqlite3_bind_text(s.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
      cols.push_back({reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)),
                      KindOfDeclType(ColumnText(s.get(), 1))});
    }
    if (cols.empty()) throw DatabaseError("no table named '" + table + "'");
    return tables_.emplace(key, std::move(cols)).first->second;
  }

  ColumnKind KindOfColumnNamed(const std::string& lower_name) override {
    if (all_columns_.empty()) {
      Stmt s = Prepare(
          "SELECT lower(p.name), p.type FROM sqlite_schema AS t, pragma_table_info(t.name) AS p "
          "WHERE t.type = 'table'");
      while (sqlite3_step(s.get()) == SQLITE_ROW) {
        all_columns_.emplace(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)),
                             KindOfDeclType(ColumnText(s.get(), 1)));
      }
    }
    const auto it = all_columns_.find(lower_name);
    return it == all_columns_.end() ? ColumnKind::kPlain : it->second;
  }

 private:
  // Kept statements describe the schema they were compiled under; most
  // statements run here (transactions, inserts, updates) leave it alone.
  void ForgetStatementsIfSchemaChanged() {
    std::int64_t version = -1;
    {
      Stmt s = Prepare("PRAGMA schema_version");
      if (sqlite3_step(s.get()) == SQLITE_ROW) version = sqlite3_column_int64(s.get(), 0);
    }
    if (version != schema_version_ || version < 0) statements_->Forget();
    schema_version_ = version;
  }

  static std::string_view ColumnText(sqlite3_stmt* s, int i) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return text != nullptr ? text : "";
  }

  sqlite3* db_ = nullptr;
  std::unique_ptr<sqlite::StatementCache> statements_;  // statements of db_, kept for reuse
  std::int64_t schema_version_ = -1;                    // the schema statements_ was compiled under
  std::map<std::string, std::vector<Column>> tables_;
  std::map<std::string, ColumnKind> all_columns_;
};

}  // namespace

std::unique_ptr<Database> OpenSqliteDatabase(const std::string& path) {
  return std::make_unique<SqliteDatabase>(path);
}

void CopySqliteDatabase(Database& db, const std::string& to_path) {
  auto* source = dynamic_cast<SqliteDatabase*>(&db);
  if (source == nullptr) throw DatabaseError("only an SQLite database can be copied");
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(to_path, ec)))
    throw DatabaseError("cannot copy the database to '" + to_path + "': the file exists");
  sqlite3* target = nullptr;
  int rc = sqlite3_open_v2(to_path.c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source->handle(), "main");
    if (backup == nullptr) {
      rc = sqlite3_errcode(target);
    } else {
      rc = sqlite3_backup_step(backup, -1);
      const int finish = sqlite3_backup_finish(backup);
      rc = rc == SQLITE_DONE ? finish : rc;
    }
  }
  const std::string why = target != nullptr ? sqlite3_errmsg(target) : sqlite3_errstr(rc);
  sqlite3_close_v2(target);
  if (rc != SQLITE_OK) {
    std::filesystem::remove(to_path, ec);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) throw DatabaseBusyError();
    throw DatabaseError("cannot copy the database to '" + to_path + "': " + why,
                        sqlite::KindOfFailure(rc));
  }
}

}  // namespace veltrane
