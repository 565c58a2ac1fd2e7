#include <algorithm>
#include <optional>

#include "common/errors.h"
#include "common/sql_translate.h"
#include "common/sqlite_recordsets.h"

namespace veltrane::sqlite {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw DatabaseError(what); }

// A whole table, positioned by row id: opening it, moving to its first row
// and finding a row each cost one indexed step, whatever the table's size,
// and the current row is read on demand, and read again after a row was
// written through the connection (it would show as it was). Rows are met
// in row-id order,
// those added since the set was opened (through it or not) included; rows
// added through the set join it at the end.
class TableSet final : public Recordset {
 public:
  TableSet(Connection& conn, const std::string& table)
      : conn_(conn),
        cols_(conn.TableColumns(table)),
        quoted_(QuotedName(table, SqlDialect::kSqlite)),
        slot_(cols_.size(), -1),
        cursor_sql_("SELECT rowid FROM " + quoted_ + " WHERE rowid >= ? ORDER BY rowid") {
    current_ = FirstKey();
    has_rows_ = current_.has_value();
  }

  // Before the first row only when the table had no rows.
  bool IsBOF() const override { return !has_rows_; }
  bool IsEOF() const override { return !current_; }
  std::int64_t RecordCount() override {
    Open();
    if (!count_) {
      Stmt s = conn_.Prepare("SELECT count(*) FROM " + quoted_);
      count_ = StepRow(s.get()) ? sqlite3_column_int64(s.get(), 0) : 0;
    }
    return *count_;
  }
  void MoveFirst() override {
    Open();
    current_ = FirstKey();
    if (!current_) Fail("no current row");
  }
  void MoveNext() override {
    Open();
    if (!current_) Fail("no current row");
    current_ = NextKey(*current_);
  }
  void FindFirst(std::string_view criteria) override {
    Open();
    Stmt s = conn_.Prepare("SELECT rowid FROM " + quoted_ + " WHERE (" + TranslateJetSql(criteria).sql +
                           ") ORDER BY rowid LIMIT 1");
    no_match_ = !StepRow(s.get());
    if (!no_match_) current_ = sqlite3_column_int64(s.get(), 0);
  }
  bool NoMatch() const override { return no_match_; }
  void Close() override { closed_ = true; }

  Value Field(std::string_view name) override {
    Open();
    if (!current_) Fail("no current row");
    const std::size_t i = fields_.Of(cols_, name);
    if (slot_[i] < 0) Select(i);
    if (cursor_key_ != *current_ || !CursorFresh()) Load(*current_);
    return ReadColumn(cursor_.get(), slot_[i], cols_[i].kind);
  }

  void AddNew() override {
    Open();
    pending_.emplace();
  }
  void SetField(std::string_view name, const Value& value) override {
    Open();
    if (!pending_) Fail("no row is being added");
    const std::size_t i = fields_.Of(cols_, name);
    Value stored = StoredForm(value, cols_[i].kind);  // may raise; nothing is assigned then
    auto& fields = *pending_;
    const auto same = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == i; });
    if (same != fields.end()) same->second = std::move(stored);
    else fields.emplace_back(i, std::move(stored));
  }
  void Update() override {
    Open();
    if (!pending_) Fail("no row is being added");
    std::string names, marks;
    for (const auto& [i, v] : *pending_) {
      names += (names.empty() ? "" : ", ") + QuotedName(cols_[i].name, SqlDialect::kSqlite);
      marks += marks.empty() ? "?" : ", ?";
    }
    const std::string sql = pending_->empty()
                                ? "INSERT INTO " + quoted_ + " DEFAULT VALUES"
                                : "INSERT INTO " + quoted_ + " (" + names + ") VALUES (" + marks + ")";
    // Rows added one after another assign the same fields: keep the
    // statement for the next one.
    if (!insert_ || insert_sql_ != sql) {
      insert_ = conn_.Prepare(sql);
      insert_sql_ = sql;
    }
    sqlite3_stmt* s = insert_.get();
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    int index = 1;
    for (const auto& [i, v] : *pending_) Bind(s, index++, v);
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) RaiseSqliteError(conn_.handle(), rc);
    // A set standing after its last row stands on the row just added.
    if (!current_) current_ = sqlite3_last_insert_rowid(conn_.handle());
    has_rows_ = true;
    if (count_) ++*count_;
    pending_.reset();
  }
  void CancelUpdate() override { pending_.reset(); }

 private:
  void Open() const {
    if (closed_) Fail("the record set is closed");
  }

  std::optional<std::int64_t> FirstKey() {
    Stmt s = conn_.Prepare("SELECT rowid FROM " + quoted_ + " ORDER BY rowid LIMIT 1");
    if (!StepRow(s.get())) return std::nullopt;
    return sqlite3_column_int64(s.get(), 0);
  }

  // The row after `key`: the cursor's next step when it stands on `key`,
  // so a walk from first to last costs one step a row; a seek otherwise.
  std::optional<std::int64_t> NextKey(std::int64_t key) {
    if (cursor_ && cursor_key_ == key && CursorFresh()) {
      if (StepRow(cursor_.get())) {
        cursor_key_ = sqlite3_column_int64(cursor_.get(), 0);
        return cursor_key_;
      }
      sqlite3_reset(cursor_.get());
      cursor_key_ = -1;
      return std::nullopt;
    }
    Stmt s = conn_.Prepare("SELECT rowid FROM " + quoted_ + " WHERE rowid > ? ORDER BY rowid LIMIT 1");
    sqlite3_bind_int64(s.get(), 1, key);
    if (!StepRow(s.get())) return std::nullopt;
    return sqlite3_column_int64(s.get(), 0);
  }

  // The cursor reads only the fields asked for so far: a walk that looks at
  // a few fields of a wide row does not decode the others on every step.
  void Select(std::size_t column) {
    slot_[column] = static_cast<int>(++selected_);
    cursor_sql_.insert(cursor_sql_.find(" FROM "), ", " + QuotedName(cols_[column].name, SqlDialect::kSqlite));
    cursor_.reset();
    cursor_key_ = -1;
  }

  // Puts the cursor on row `key`: one step when it stands just before it,
  // a seek otherwise.
  void Load(std::int64_t key) {
    if (cursor_ && cursor_key_ >= 0 && cursor_key_ < key && CursorFresh() && StepRow(cursor_.get()) &&
        sqlite3_column_int64(cursor_.get(), 0) == key) {
      cursor_key_ = key;
      return;
    }
    if (!cursor_) cursor_ = conn_.Prepare(cursor_sql_);
    cursor_key_ = -1;
    sqlite3_reset(cursor_.get());
    sqlite3_bind_int64(cursor_.get(), 1, key);
    cursor_changes_ = sqlite3_total_changes64(conn_.handle());
    if (!StepRow(cursor_.get()) || sqlite3_column_int64(cursor_.get(), 0) != key) {
      sqlite3_reset(cursor_.get());
      Fail("the current row has been deleted");
    }
    cursor_key_ = key;
  }

  // Whether no row was written through this connection since the cursor
  // was put on its row, which it would otherwise show as it was.
  bool CursorFresh() const { return cursor_changes_ == sqlite3_total_changes64(conn_.handle()); }

  bool StepRow(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) RaiseSqliteError(conn_.handle(), rc);
    return false;
  }

  static void Bind(sqlite3_stmt* s, int index, const Value& v) {
    std::visit(
        [&](const auto& x) {
          using T = std::decay_t<decltype(x)>;
          if constexpr (std::is_same_v<T, std::monostate>) sqlite3_bind_null(s, index);
          else if constexpr (std::is_same_v<T, bool>) sqlite3_bind_int(s, index, x ? 1 : 0);
          else if constexpr (std::is_same_v<T, std::int64_t>) sqlite3_bind_int64(s, index, x);
          else if constexpr (std::is_same_v<T, double>) sqlite3_bind_double(s, index, x);
          else if constexpr (std::is_same_v<T, Money>) sqlite3_bind_int64(s, index, x.ticks());
          else if constexpr (std::is_same_v<T, std::string>) {
            sqlite3_bind_text(s, index, x.data(), static_cast<int>(x.size()), SQLITE_TRANSIENT);
          } else {
            const std::string iso = FormatIsoDate(x);
            sqlite3_bind_text(s, index, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
          }
        },
        v.storage());
  }

  Connection& conn_;
  std::vector<Column> cols_;
  FieldIndex fields_;
  std::string quoted_;
  std::optional<std::int64_t> current_;  // row id of the current row; none after the last
  bool has_rows_ = false;
  std::optional<std::int64_t> count_;  // rows, counted when first asked
  bool no_match_ = false;
  bool closed_ = false;
  Stmt insert_;
  std::string insert_sql_;
  std::vector<int> slot_;  // result column of each field in the cursor, -1 if not read
  std::size_t selected_ = 0;
  std::string cursor_sql_;
  Stmt cursor_;
  std::int64_t cursor_key_ = -1;  // row id the cursor stands on, -1 for none
  std::int64_t cursor_changes_ = -1;  // the connection's changes when the cursor was put on it
  std::optional<std::vector<std::pair<std::size_t, Value>>> pending_;
};

}  // namespace

std::unique_ptr<Recordset> MakeTableSet(Connection& conn, const std::string& table) {
  return std::make_unique<TableSet>(conn, table);
}

}  // namespace veltrane::sqlite
