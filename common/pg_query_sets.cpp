// The forward-only and query sets of the PostgreSQL database: a streamed
// query, or a whole result, stepped as a row cursor.
#include "common/errors.h"
#include "common/pg_recordsets.h"
#include "common/row_sets.h"
#include "common/sql_translate.h"

namespace veltrane::pg {
namespace {

TranslatedSql Translated(const std::string& jet_sql) { return TranslateJetSql(jet_sql, SqlDialect::kPostgresql); }

class StreamCursor final : public RowCursor {
 public:
  StreamCursor(Connection& conn, const TranslatedSql& t) {
    conn.EnsureCatalog();
    stream_.emplace(conn, t.sql);
    cols_ = conn.ResultColumns(stream_->description(), t.sum_aliases);
  }
  const std::vector<Column>& columns() const override { return cols_; }
  bool Step() override { return stream_->Next(); }
  Value Read(std::size_t i) override {
    return ReadValue(stream_->row(), stream_->row_index(), static_cast<int>(i), cols_[i].kind);
  }

 private:
  std::optional<RowStream> stream_;
  std::vector<Column> cols_;
};

class ResultCursor final : public RowCursor {
 public:
  ResultCursor(Connection& conn, const TranslatedSql& t)
      : result_(conn.Run(t.sql)), cols_(conn.ResultColumns(result_.get(), t.sum_aliases)) {}
  const std::vector<Column>& columns() const override { return cols_; }
  bool Step() override { return ++row_ < PQntuples(result_.get()); }
  Value Read(std::size_t i) override { return ReadValue(result_.get(), row_, static_cast<int>(i), cols_[i].kind); }

 private:
  Result result_;
  std::vector<Column> cols_;
  int row_ = -1;
};

}  // namespace

std::unique_ptr<Recordset> MakeForwardOnly(Connection& conn, const std::string& jet_sql) {
  return MakeForwardOnlySet(std::make_unique<StreamCursor>(conn, Translated(jet_sql)));
}

std::unique_ptr<Recordset> MakeQuerySet(Connection& conn, const std::string& jet_sql) {
  const TranslatedSql t = Translated(jet_sql);
  ResultCursor rows(conn, t);
  return veltrane::MakeQuerySet(rows, SqlDialect::kPostgresql, [&conn, sql = t.sql](const std::string& condition) {
    const Result r = conn.Run(FirstMatchQuery(sql, condition));
    if (PQntuples(r.get()) == 0) return std::optional<std::size_t>();
    return std::optional<std::size_t>(ReadValue(r.get(), 0, 0, ColumnKind::kInteger).ToInt());
  });
}

}  // namespace veltrane::pg
