// A whole table as a record set on the server, moved through by its key:
// opening it, moving to its first row and finding a row each cost one
// statement, whatever the table's size. A walk fetches the rows after the
// current one in batches that grow as it goes on; the current row is read
// when a field of it is first asked for, and again after any write of the
// connection. Moving to the first row reads it only when the set is next
// looked at, when the set stands on a row, so that a find just after it (as
// the components write a find) costs one statement, not two; a table
// emptied meanwhile is found to have no current row then. Rows are met in key order, those added
// since the set was opened (through it or not) included; rows added through the set join it at the
// end.
#include <algorithm>
#include <optional>

#include "common/errors.h"
#include "common/pg_recordsets.h"
#include "common/sql_translate.h"

namespace veltrane::pg {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw DatabaseError(what); }

std::string Quoted(const std::string& name) { return QuotedName(name, SqlDialect::kPostgresql); }

class TableSet final : public Recordset {
 public:
  static constexpr int kLongestBatch = 256;

  TableSet(Connection& conn, const std::string& table) : conn_(conn), info_(conn.Table(table)) {
    if (!info_.key)
      Fail("the table '" + table + "' has no whole-number primary key to move through it by");
    quoted_ = Quoted(info_.name);
    key_ = Quoted(info_.columns[*info_.key].name);
    slot_.assign(info_.columns.size(), -1);
    // The fields earlier sets of the table read are read from the start:
    // the same code opens the same table again for each paycheck.
    for (const std::size_t i : conn_.FieldsRead(info_.name)) {
      if (i < slot_.size() && slot_[i] < 0) Select(i);
    }
    has_rows_ = Fetch("", {}, 1);
  }

  bool IsBOF() const override { return !has_rows_; }
  bool IsEOF() const override {
    if (first_pending_) const_cast<TableSet*>(this)->ReachFirst();
    return !current_;
  }
  std::int64_t RecordCount() override {
    Open();
    if (!count_)
      count_ =
          ReadValue(conn_.Run("SELECT count(*) FROM " + quoted_).get(), 0, 0, ColumnKind::kInteger)
              .ToInt();
    return *count_;
  }
  void MoveFirst() override {
    Open();
    batch_length_ = 1;
    first_pending_ = true;
    // A set on a row finds its table has rows when it is next looked at;
    // one after its last row looks now.
    if (!current_ && IsEOF()) Fail("no current row");
  }
  void MoveNext() override {
    Open();
    if (IsEOF()) Fail("no current row");
    if (Fresh() && row_ + 1 < PQntuples(batch_.get())) {
      ++row_;
      current_ = Key(row_);
      return;
    }
    batch_length_ = std::min(batch_length_ * 2, kLongestBatch);
    if (!Fetch(" WHERE " + key_ + " > $1", {std::to_string(*current_)}, batch_length_))
      current_.reset();
  }
  void FindFirst(std::string_view criteria) override {
    Open();
    no_match_ =
        !Fetch(" WHERE (" + TranslateJetSql(criteria, SqlDialect::kPostgresql).sql + ")", {}, 1);
    if (!no_match_) first_pending_ = false;
  }
  bool NoMatch() const override { return no_match_; }
  void Close() override { closed_ = true; }

  Value Field(std::string_view name) override {
    Open();
    if (IsEOF()) Fail("no current row");
    const std::size_t i = fields_.Of(info_.columns, name);
    if (slot_[i] < 0) {
      Select(i);
      std::vector<std::size_t>& read = conn_.FieldsRead(info_.name);
      if (std::find(read.begin(), read.end(), i) == read.end()) read.push_back(i);
      batch_.reset();
    }
    if (!Fresh() && !Fetch(" WHERE " + key_ + " = $1", {std::to_string(*current_)}, 1))
      Fail("the current row has been deleted");
    return ReadValue(batch_.get(), row_, slot_[i], info_.columns[i].kind);
  }

  void AddNew() override {
    Open();
    pending_.emplace();
  }
  void SetField(std::string_view name, const Value& value) override {
    Open();
    if (!pending_) Fail("no row is being added");
    const std::size_t i = fields_.Of(info_.columns, name);
    Value stored = StoredForm(value, info_.columns[i].kind);  // may raise; nothing is assigned then
    ParamText(stored);                                        // a text the server cannot hold, too
    auto& fields = *pending_;
    const auto same =
        std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == i; });
    if (same != fields.end())
      same->second = std::move(stored);
    else
      fields.emplace_back(i, std::move(stored));
  }
  void Update() override {
    Open();
    if (!pending_) Fail("no row is being added");
    IsEOF();  // a set moved to its first row stands on it
    std::string names, marks;
    Params params;
    for (const auto& [i, v] : *pending_) {
      names += (names.empty() ? "" : ", ") + Quoted(info_.columns[i].name);
      params.push_back(ParamText(v));
      marks += (marks.empty() ? "$" : ", $") + std::to_string(params.size());
    }
    const std::string sql =
        "INSERT INTO " + quoted_ +
        (pending_->empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + marks + ")") +
        " RETURNING " + key_;
    const Result r = conn_.Run(sql, params);
    conn_.Wrote();
    // A set standing after its last row stands on the row just added.
    if (!current_) current_ = ReadValue(r.get(), 0, 0, ColumnKind::kInteger).ToInt();
    has_rows_ = true;
    if (count_) ++*count_;
    pending_.reset();
  }
  void CancelUpdate() override { pending_.reset(); }

 private:
  void Open() const {
    if (closed_) Fail("the record set is closed");
  }

  void Select(std::size_t i) {
    slot_[i] = ++selected_count_;
    selected_ += ", " + Quoted(info_.columns[i].name);
  }

  // Stands on the first row, if there is one, as MoveFirst asked.
  void ReachFirst() {
    first_pending_ = false;
    if (!Fetch("", {}, 1)) current_.reset();
  }

  // Whether the batch holds the current row as it now stands.
  bool Fresh() const {
    return batch_ && generation_ == conn_.generation() && row_ < PQntuples(batch_.get());
  }
  std::int64_t Key(int row) const {
    return ReadValue(batch_.get(), row, 0, ColumnKind::kInteger).ToInt();
  }

  // Reads up to `limit` rows meeting `where` in key order, with the fields
  // asked for so far, and stands on the first; false, the set left where
  // it stands, when there is none.
  bool Fetch(const std::string& where, Params params, int limit) {
    params.push_back(std::to_string(limit));
    batch_ = conn_.Run("SELECT " + key_ + selected_ + " FROM " + quoted_ + where + " ORDER BY " +
                           key_ + " LIMIT $" + std::to_string(params.size()),
                       params);
    generation_ = conn_.generation();
    row_ = 0;
    if (PQntuples(batch_.get()) == 0) {
      batch_.reset();
      return false;
    }
    current_ = Key(0);
    return true;
  }

  Connection& conn_;
  const TableInfo info_;  // a copy: the connection reads its tables again after a change
  std::string quoted_, key_;
  FieldIndex fields_;
  std::vector<int> slot_;  // result column of each field in a batch, -1 if not read
  std::string selected_;   // ", field" for each field read so far
  int selected_count_ = 0;
  Result batch_;  // rows fetched, the current one among them
  std::uint64_t generation_ = 0;
  int row_ = 0;
  int batch_length_ = 1;
  std::optional<std::int64_t> current_;  // key of the current row; none after the last
  bool has_rows_ = false;
  bool first_pending_ = false;         // moved to the first row, not yet read
  std::optional<std::int64_t> count_;  // rows, counted when first asked
  bool no_match_ = false;
  bool closed_ = false;
  std::optional<std::vector<std::pair<std::size_t, Value>>> pending_;
};

}  // namespace

std::unique_ptr<Recordset> MakeTableSet(Connection& conn, const std::string& table) {
  return std::make_unique<TableSet>(conn, table);
}

}  // namespace veltrane::pg
