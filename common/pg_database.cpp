#include "common/pg_database.h"

#include "common/database_backend.h"
#include "common/pg_recordsets.h"
#include "common/recordset_columns.h"

namespace veltrane {
namespace {

class PostgresDatabase final : public Database, public DatabaseBackend {
 public:
  explicit PostgresDatabase(const std::string& uri) : conn_(uri) {}

  std::unique_ptr<Recordset> OpenRecordset(std::string_view source, RecordsetType type) override {
    const RecordsetSource from = SourceOf(source, type);
    if (from.is_query) {
      if (type == RecordsetType::kForwardOnly) return pg::MakeForwardOnly(conn_, from.text);
      return pg::MakeQuerySet(conn_, from.text);
    }
    if (type == RecordsetType::kForwardOnly) {
      return pg::MakeForwardOnly(conn_,
                                 "SELECT * FROM " + QuotedName(from.text, SqlDialect::kPostgresql));
    }
    return pg::MakeTableSet(conn_, from.text);
  }

  // Each statement of the text runs on its own, as SQLite runs them: those
  // before a failing one stay done.
  std::int64_t Execute(std::string_view sql) override {
    std::int64_t changed = 0;
    for (const std::string& statement : TranslateJetSql(sql, SqlDialect::kPostgresql).Statements())
      changed = conn_.Execute(statement);
    return changed;
  }
  void ExecuteNative(const std::string& sql) override { conn_.Execute(sql); }
  SqlDialect dialect() const override { return SqlDialect::kPostgresql; }

  void BeginTransaction() override { conn_.Begin(); }
  void CommitTransaction() override { conn_.Commit(); }
  void RollbackTransaction() override { conn_.Rollback(); }
  bool InTransaction() override { return conn_.InTransaction(); }

  void ActAs(const std::string& role, const std::string& schema) {
    if (conn_.InTransaction())
      throw DatabaseError("a connection changes its role outside a transaction only");
    conn_.SetIdentity(role.empty() ? ""
                                   : "SET ROLE " + QuotedName(role, SqlDialect::kPostgresql) +
                                         "; SET search_path TO " +
                                         QuotedName(schema, SqlDialect::kPostgresql));
  }

 private:
  pg::Connection conn_;
};

}  // namespace

std::unique_ptr<Database> OpenPostgresDatabase(const std::string& uri) {
  return std::make_unique<PostgresDatabase>(uri);
}

void ActAs(Database& db, const std::string& role, const std::string& schema) {
  auto* server = dynamic_cast<PostgresDatabase*>(&db);
  if (server == nullptr) throw DatabaseError("only a server's connection acts as another role");
  server->ActAs(role, schema);
}

}  // namespace veltrane
