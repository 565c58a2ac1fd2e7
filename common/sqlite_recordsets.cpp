#include "common/sqlite_recordsets.h"

#include <algorithm>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/sql_translate.h"
#include "common/text.h"

namespace veltrane::sqlite {

void StmtDeleter::operator()(sqlite3_stmt* s) const {
  if (cache != nullptr) cache->Release(s);
  else sqlite3_finalize(s);
}

Stmt StatementCache::Prepare(const std::string& sql) {
  sqlite3_stmt* s = nullptr;
  if (const auto hit = index_.find(sql); hit != index_.end()) {
    const auto entry = hit->second;
    s = entry->second;
    index_.erase(hit);
    idle_.erase(entry);
  } else if (const int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &s, nullptr);
             rc != SQLITE_OK) {
    RaiseSqliteError(db_, rc, "in: " + sql);
  }
  in_use_.emplace(s, generation_);
  return Stmt(s, StmtDeleter{this});
}

void StatementCache::Release(sqlite3_stmt* s) {
  if (s == nullptr) return;
  const auto used = in_use_.find(s);
  const bool current = used != in_use_.end() && used->second == generation_;
  if (used != in_use_.end()) in_use_.erase(used);
  const char* text = sqlite3_sql(s);
  if (!current || text == nullptr) {
    sqlite3_finalize(s);
    return;
  }
  // Reset ends the statement's read of the database, so an idle statement
  // holds no lock and does not keep a table from being changed.
  sqlite3_reset(s);
  sqlite3_clear_bindings(s);
  idle_.emplace_front(text, s);
  index_.emplace(idle_.front().first, idle_.begin());
  if (idle_.size() > kIdle) {
    const auto oldest = std::prev(idle_.end());
    const auto range = index_.equal_range(oldest->first);
    for (auto it = range.first; it != range.second; ++it) {
      if (it->second == oldest) {
        index_.erase(it);
        break;
      }
    }
    sqlite3_finalize(oldest->second);
    idle_.erase(oldest);
  }
}

void StatementCache::Forget() {
  ++generation_;
  index_.clear();
  for (const Entry& e : idle_) sqlite3_finalize(e.second);
  idle_.clear();
}

ColumnKind KindOfDeclType(const char* decl) {
  if (decl == nullptr) return ColumnKind::kPlain;
  const std::string d = ToUpper(decl);
  if (d == "CURRENCY") return ColumnKind::kMoney;
  if (d == "DATE") return ColumnKind::kDate;
  if (d == "BOOLEAN") return ColumnKind::kBool;
  if (d.find("INT") != std::string::npos) return ColumnKind::kInteger;
  if (d.find("REAL") != std::string::npos || d.find("DOUB") != std::string::npos ||
      d.find("FLOA") != std::string::npos) {
    return ColumnKind::kReal;
  }
  if (d.find("TEXT") != std::string::npos || d.find("CHAR") != std::string::npos) return ColumnKind::kText;
  return ColumnKind::kPlain;
}

std::vector<Column> ResultColumns(Connection& conn, sqlite3_stmt* stmt,
                                  const std::map<std::string, std::string>& sum_aliases) {
  std::vector<Column> cols;
  const int n = sqlite3_column_count(stmt);
  for (int i = 0; i < n; ++i) {
    Column c{sqlite3_column_name(stmt, i), KindOfDeclType(sqlite3_column_decltype(stmt, i))};
    if (c.kind == ColumnKind::kPlain) {
      const auto alias = sum_aliases.find(ToLower(c.name));
      if (alias != sum_aliases.end()) c.kind = conn.KindOfColumnNamed(alias->second);
    }
    cols.push_back(std::move(c));
  }
  return cols;
}

namespace {

// A date in the stored form "yyyy-mm-dd" read straight from its digits;
// anything else (a time of day, another form, an impossible day) is left to
// ParseDate, which accepts or refuses it.
std::optional<Date> StoredDay(sqlite3_stmt* stmt, int i) {
  if (sqlite3_column_bytes(stmt, i) != 10) return std::nullopt;
  const auto* t = sqlite3_column_text(stmt, i);
  int digits[8];
  int d = 0;
  for (int k = 0; k < 10; ++k) {
    if (k == 4 || k == 7) {
      if (t[k] != '-') return std::nullopt;
    } else if (t[k] >= '0' && t[k] <= '9') {
      digits[d++] = t[k] - '0';
    } else {
      return std::nullopt;
    }
  }
  const Date day{std::chrono::year{digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3]},
                 std::chrono::month{static_cast<unsigned>(digits[4] * 10 + digits[5])},
                 std::chrono::day{static_cast<unsigned>(digits[6] * 10 + digits[7])}};
  if (!day.ok()) return std::nullopt;
  return day;
}

}  // namespace

Value ReadColumn(sqlite3_stmt* stmt, int i, ColumnKind kind) {
  const int type = sqlite3_column_type(stmt, i);
  if (type == SQLITE_NULL) return Value();
  const auto text = [&] {
    return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                       static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
  };
  switch (kind) {
    case ColumnKind::kMoney:
      if (type == SQLITE_INTEGER) return Money::FromTicks(sqlite3_column_int64(stmt, i));
      return ParseAmount(text());
    case ColumnKind::kDate:
      if (const auto day = StoredDay(stmt, i)) return *day;
      return ParseDate(text());
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
      return text();
  }
}

namespace {

[[noreturn]] void Fail(const std::string& what) { throw DatabaseError(what); }

std::size_t ColumnIndex(const std::vector<Column>& cols, std::string_view name) {
  // Callers mostly spell a field as the schema does; try that first.
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (cols[i].name == name) return i;
  }
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (IEquals(cols[i].name, name)) return i;
  }
  Fail("no field named '" + std::string(name) + "'");
}

// The column of each field name as callers spell it, learnt on its first
// use. A walk reads the same few fields of every row in the same order, so
// the name after the last one found is tried first: a read compares one
// name instead of searching the columns.
class FieldIndex {
 public:
  std::size_t Of(const std::vector<Column>& cols, std::string_view name) {
    const std::size_t n = known_.size();
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t at = next_ + k < n ? next_ + k : next_ + k - n;
      if (known_[at].first == name) {
        next_ = at + 1 < n ? at + 1 : 0;
        return known_[at].second;
      }
    }
    const std::size_t i = ColumnIndex(cols, name);
    known_.emplace_back(std::string(name), i);
    next_ = 0;
    return i;
  }

 private:
  std::vector<std::pair<std::string, std::size_t>> known_;
  std::size_t next_ = 0;  // where the next name is looked for first
};

std::string QuotedIdentifier(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  return out + "\"";
}

// Rows are streamed from one statement, in order, and never held.
class ForwardOnlySet final : public Recordset {
 public:
  ForwardOnlySet(Connection& conn, const std::string& jet_sql) {
    const TranslatedSql t = TranslateJetSql(jet_sql);
    stmt_ = conn.Prepare(t.sql);
    cols_ = ResultColumns(conn, stmt_.get(), t.sum_aliases);
    Step();
    empty_ = at_end_;
  }
  bool IsBOF() const override { return empty_; }
  bool IsEOF() const override { return at_end_; }
  std::int64_t RecordCount() override { return reached_; }
  void MoveFirst() override {
    Open();
    if (reached_ > 1 || (at_end_ && !empty_)) Fail("a forward-only record set cannot move back");
  }
  void MoveNext() override {
    Open();
    if (at_end_) Fail("no current row");
    Step();
  }
  void FindFirst(std::string_view) override { Fail("a forward-only record set cannot find rows"); }
  bool NoMatch() const override { return true; }
  Value Field(std::string_view name) override {
    Open();
    if (at_end_) Fail("no current row");
    const std::size_t i = fields_.Of(cols_, name);
    return ReadColumn(stmt_.get(), static_cast<int>(i), cols_[i].kind);
  }
  void AddNew() override { ReadOnly(); }
  void SetField(std::string_view, const Value&) override { ReadOnly(); }
  void Update() override { ReadOnly(); }
  void CancelUpdate() override { ReadOnly(); }
  void Close() override { stmt_.reset(); }

 private:
  [[noreturn]] void ReadOnly() { Fail("a forward-only record set cannot add rows"); }
  void Open() const {
    if (!stmt_) Fail("the record set is closed");
  }
  void Step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) {
      ++reached_;
    } else if (rc == SQLITE_DONE) {
      at_end_ = true;
    } else {
      at_end_ = true;
      RaiseSqliteError(sqlite3_db_handle(stmt_.get()), rc);
    }
  }

  Stmt stmt_;
  std::vector<Column> cols_;
  FieldIndex fields_;
  std::int64_t reached_ = 0;
  bool at_end_ = false;
  bool empty_ = false;
};

// Position and find of a set that holds its rows in order.
class ScrollableSet : public Recordset {
 public:
  bool IsBOF() const override { return size() == 0; }
  bool IsEOF() const override { return pos_ >= size(); }
  std::int64_t RecordCount() override { return static_cast<std::int64_t>(size()); }
  void MoveFirst() override {
    Open();
    if (size() == 0) Fail("no current row");
    pos_ = 0;
  }
  void MoveNext() override {
    Open();
    if (IsEOF()) Fail("no current row");
    ++pos_;
  }
  void FindFirst(std::string_view criteria) override {
    Open();
    const std::optional<std::size_t> found = Find(TranslateJetSql(criteria).sql);
    no_match_ = !found;
    if (found) pos_ = *found;
  }
  bool NoMatch() const override { return no_match_; }
  void Close() override { closed_ = true; }

 protected:
  virtual std::size_t size() const = 0;
  // Index of the first row matching a translated condition.
  virtual std::optional<std::size_t> Find(const std::string& condition) = 0;
  void Open() const {
    if (closed_) Fail("the record set is closed");
  }
  std::size_t CurrentRow() const {
    Open();
    if (IsEOF()) Fail("no current row");
    return pos_;
  }

 private:
  std::size_t pos_ = 0;
  bool no_match_ = false;
  bool closed_ = false;
};

// A whole table, positioned by row id: opening it, moving to its first row
// and finding a row each cost one indexed step, whatever the table's size,
// and the current row is read on demand. Rows are met in row-id order,
// those added since the set was opened (through it or not) included; rows
// added through the set join it at the end.
class TableSet final : public Recordset {
 public:
  TableSet(Connection& conn, const std::string& table)
      : conn_(conn),
        cols_(conn.TableColumns(table)),
        quoted_(QuotedIdentifier(table)),
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
    if (cursor_key_ != *current_) Load(*current_);
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
    Value stored = Convert(value, cols_[i].kind);  // may raise; nothing is assigned then
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
      names += (names.empty() ? "" : ", ") + QuotedIdentifier(cols_[i].name);
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
    if (cursor_ && cursor_key_ == key) {
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
    cursor_sql_.insert(cursor_sql_.find(" FROM "), ", " + QuotedIdentifier(cols_[column].name));
    cursor_.reset();
    cursor_key_ = -1;
  }

  // Puts the cursor on row `key`: one step when it stands just before it,
  // a seek otherwise.
  void Load(std::int64_t key) {
    if (cursor_ && cursor_key_ >= 0 && cursor_key_ < key && StepRow(cursor_.get()) &&
        sqlite3_column_int64(cursor_.get(), 0) == key) {
      cursor_key_ = key;
      return;
    }
    if (!cursor_) cursor_ = conn_.Prepare(cursor_sql_);
    cursor_key_ = -1;
    sqlite3_reset(cursor_.get());
    sqlite3_bind_int64(cursor_.get(), 1, key);
    if (!StepRow(cursor_.get()) || sqlite3_column_int64(cursor_.get(), 0) != key) {
      sqlite3_reset(cursor_.get());
      Fail("the current row has been deleted");
    }
    cursor_key_ = key;
  }

  bool StepRow(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) RaiseSqliteError(conn_.handle(), rc);
    return false;
  }

  // The stored form of a value for a column of the given kind.
  static Value Convert(const Value& v, ColumnKind kind) {
    if (v.IsNull()) return v;
    switch (kind) {
      case ColumnKind::kMoney: return v.ToMoney();
      case ColumnKind::kDate: return FormatIsoDate(v.ToDate());
      case ColumnKind::kBool: return std::int64_t{v.ToBool() ? 1 : 0};
      case ColumnKind::kInteger: return v.ToInt();
      case ColumnKind::kReal: return v.ToDouble();
      case ColumnKind::kText: return v.ToText();
      case ColumnKind::kPlain: break;
    }
    return v;
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
  std::optional<std::vector<std::pair<std::size_t, Value>>> pending_;
};

// The rows of a query, read once when the set is opened.
class QuerySet final : public ScrollableSet {
 public:
  QuerySet(Connection& conn, const TranslatedSql& t) : conn_(conn), sql_(t.sql) {
    Stmt s = conn_.Prepare(sql_);
    cols_ = ResultColumns(conn_, s.get(), t.sum_aliases);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
      std::vector<Value> row;
      row.reserve(cols_.size());
      for (std::size_t i = 0; i < cols_.size(); ++i) {
        row.push_back(ReadColumn(s.get(), static_cast<int>(i), cols_[i].kind));
      }
      rows_.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) RaiseSqliteError(conn_.handle(), rc);
  }

  Value Field(std::string_view name) override { return rows_[CurrentRow()][fields_.Of(cols_, name)]; }
  void AddNew() override { ReadOnly(); }
  void SetField(std::string_view, const Value&) override { ReadOnly(); }
  void Update() override { ReadOnly(); }
  void CancelUpdate() override { ReadOnly(); }

 private:
  [[noreturn]] static void ReadOnly() { Fail("rows cannot be added to a query"); }
  std::size_t size() const override { return rows_.size(); }

  // Numbers the query's rows in the order they were read and asks the
  // database for the first one that meets the condition.
  std::optional<std::size_t> Find(const std::string& condition) override {
    Stmt s = conn_.Prepare("SELECT veltrane_row FROM (SELECT row_number() OVER () - 1 AS veltrane_row, * FROM (" +
                           sql_ + ")) WHERE (" + condition + ") ORDER BY veltrane_row LIMIT 1");
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) {
      const auto row = static_cast<std::size_t>(sqlite3_column_int64(s.get(), 0));
      if (row < rows_.size()) return row;
    } else if (rc != SQLITE_DONE) {
      RaiseSqliteError(conn_.handle(), rc);
    }
    return std::nullopt;
  }

  Connection& conn_;
  std::string sql_;
  std::vector<Column> cols_;
  FieldIndex fields_;
  std::vector<std::vector<Value>> rows_;
};

}  // namespace

std::unique_ptr<Recordset> MakeForwardOnly(Connection& conn, const std::string& jet_sql) {
  return std::make_unique<ForwardOnlySet>(conn, jet_sql);
}
std::unique_ptr<Recordset> MakeTableSet(Connection& conn, const std::string& table) {
  return std::make_unique<TableSet>(conn, table);
}
std::unique_ptr<Recordset> MakeQuerySet(Connection& conn, const std::string& jet_sql) {
  return std::make_unique<QuerySet>(conn, TranslateJetSql(jet_sql));
}

}  // namespace veltrane::sqlite
