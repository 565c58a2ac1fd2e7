#include "common/row_sets.h"

#include "common/errors.h"

namespace veltrane {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw DatabaseError(what); }

class ForwardOnlySet final : public Recordset {
 public:
  explicit ForwardOnlySet(std::unique_ptr<RowCursor> cursor) : cursor_(std::move(cursor)) {
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
    return cursor_->Read(fields_.Of(cursor_->columns(), name));
  }
  void AddNew() override { ReadOnly(); }
  void SetField(std::string_view, const Value&) override { ReadOnly(); }
  void Update() override { ReadOnly(); }
  void CancelUpdate() override { ReadOnly(); }
  void Close() override { cursor_.reset(); }

 private:
  [[noreturn]] static void ReadOnly() { Fail("a forward-only record set cannot add rows"); }
  void Open() const {
    if (!cursor_) Fail("the record set is closed");
  }
  void Step() {
    at_end_ = true;  // stays so when the step fails
    if (cursor_->Step()) {
      at_end_ = false;
      ++reached_;
    }
  }

  std::unique_ptr<RowCursor> cursor_;
  FieldIndex fields_;
  std::int64_t reached_ = 0;
  bool at_end_ = false;
  bool empty_ = false;
};

class QuerySet final : public Recordset {
 public:
  QuerySet(RowCursor& cursor, SqlDialect dialect, FirstMatch first_match)
      : cols_(cursor.columns()), dialect_(dialect), first_match_(std::move(first_match)) {
    while (cursor.Step()) {
      std::vector<Value> row;
      row.reserve(cols_.size());
      for (std::size_t i = 0; i < cols_.size(); ++i) row.push_back(cursor.Read(i));
      rows_.push_back(std::move(row));
    }
  }

  bool IsBOF() const override { return rows_.empty(); }
  bool IsEOF() const override { return pos_ >= rows_.size(); }
  std::int64_t RecordCount() override { return static_cast<std::int64_t>(rows_.size()); }
  void MoveFirst() override {
    Open();
    if (rows_.empty()) Fail("no current row");
    pos_ = 0;
  }
  void MoveNext() override {
    Open();
    if (IsEOF()) Fail("no current row");
    ++pos_;
  }
  void FindFirst(std::string_view criteria) override {
    Open();
    const std::optional<std::size_t> found = first_match_(TranslateJetSql(criteria, dialect_).sql);
    no_match_ = !found || *found >= rows_.size();
    if (!no_match_) pos_ = *found;
  }
  bool NoMatch() const override { return no_match_; }
  Value Field(std::string_view name) override {
    Open();
    if (IsEOF()) Fail("no current row");
    return rows_[pos_][fields_.Of(cols_, name)];
  }
  void AddNew() override { ReadOnly(); }
  void SetField(std::string_view, const Value&) override { ReadOnly(); }
  void Update() override { ReadOnly(); }
  void CancelUpdate() override { ReadOnly(); }
  void Close() override { closed_ = true; }

 private:
  [[noreturn]] static void ReadOnly() { Fail("rows cannot be added to a query"); }
  void Open() const {
    if (closed_) Fail("the record set is closed");
  }

  std::vector<Column> cols_;
  SqlDialect dialect_;
  FirstMatch first_match_;
  FieldIndex fields_;
  std::vector<std::vector<Value>> rows_;
  std::size_t pos_ = 0;
  bool no_match_ = false;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<Recordset> MakeForwardOnlySet(std::unique_ptr<RowCursor> cursor) {
  return std::make_unique<ForwardOnlySet>(std::move(cursor));
}

std::unique_ptr<Recordset> MakeQuerySet(RowCursor& cursor, SqlDialect dialect, FirstMatch first_match) {
  return std::make_unique<QuerySet>(cursor, dialect, std::move(first_match));
}

std::string FirstMatchQuery(const std::string& sql, const std::string& condition) {
  return "SELECT veltrane_row FROM (SELECT row_number() OVER () - 1 AS veltrane_row, * FROM (" + sql +
         ") AS veltrane_query) AS veltrane_rows WHERE (" + condition + ") ORDER BY veltrane_row LIMIT 1";
}

}  // namespace veltrane
