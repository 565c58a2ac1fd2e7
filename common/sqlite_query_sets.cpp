// The forward-only and query sets of the SQLite database: a query's
// statement stepped as a row cursor, its columns typed by their declared
// types.
#include <map>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/row_sets.h"
#include "common/sql_translate.h"
#include "common/sqlite_recordsets.h"
#include "common/text.h"

namespace veltrane::sqlite {

Value ReadColumn(sqlite3_stmt* stmt, int i, ColumnKind kind) {
  const int type = sqlite3_column_type(stmt, i);
  if (type == SQLITE_NULL) return Value();
  const auto text = [&] {
    return std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                            static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
  };
  switch (kind) {
    case ColumnKind::kMoney:
      if (type == SQLITE_INTEGER) return Money::FromTicks(sqlite3_column_int64(stmt, i));
      return ParseAmount(text());
    case ColumnKind::kDate:
      return ReadStoredDay(text());
    case ColumnKind::kBool:
      return sqlite3_column_int64(stmt, i) != 0;
    default:
      break;
  }
  switch (type) {
    case SQLITE_INTEGER:
      return std::int64_t{sqlite3_column_int64(stmt, i)};
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt, i);
    default:
      return std::string(text());
  }
}

namespace {

// The rows of a translated query, its columns typed by their declared
// types; a sum named in `sum_aliases` is typed like the column it adds up.
class StatementCursor final : public RowCursor {
 public:
  StatementCursor(Connection& conn, const TranslatedSql& t) : stmt_(conn.Prepare(t.sql)) {
    const int n = sqlite3_column_count(stmt_.get());
    for (int i = 0; i < n; ++i) {
      const char* decl = sqlite3_column_decltype(stmt_.get(), i);
      Column c{sqlite3_column_name(stmt_.get(), i), KindOfDeclType(decl != nullptr ? decl : "")};
      if (c.kind == ColumnKind::kPlain) {
        const auto alias = t.sum_aliases.find(ToLower(c.name));
        if (alias != t.sum_aliases.end()) c.kind = conn.KindOfColumnNamed(alias->second);
      }
      cols_.push_back(std::move(c));
    }
  }

  const std::vector<Column>& columns() const override { return cols_; }
  bool Step() override {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) RaiseSqliteError(sqlite3_db_handle(stmt_.get()), rc);
    return false;
  }
  Value Read(std::size_t i) override { return ReadColumn(stmt_.get(), static_cast<int>(i), cols_[i].kind); }

 private:
  Stmt stmt_;
  std::vector<Column> cols_;
};

}  // namespace

std::unique_ptr<Recordset> MakeForwardOnly(Connection& conn, const std::string& jet_sql) {
  return MakeForwardOnlySet(std::make_unique<StatementCursor>(conn, TranslateJetSql(jet_sql)));
}

std::unique_ptr<Recordset> MakeQuerySet(Connection& conn, const std::string& jet_sql) {
  const TranslatedSql t = TranslateJetSql(jet_sql);
  StatementCursor rows(conn, t);
  return veltrane::MakeQuerySet(rows, SqlDialect::kSqlite, [&conn, sql = t.sql](const std::string& condition) {
    Stmt s = conn.Prepare(FirstMatchQuery(sql, condition));
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) return std::optional<std::size_t>(sqlite3_column_int64(s.get(), 0));
    if (rc != SQLITE_DONE) RaiseSqliteError(conn.handle(), rc);
    return std::optional<std::size_t>();
  });
}

}  // namespace veltrane::sqlite
