// The database as the components reach it: a database object that opens
// record sets, and record sets with the Jet-style operations the components
// are written against. Query and criteria texts are given in the Jet dialect
// ("#3/1/04#" dates, True/False, [bracketed names]); implementations
// translate them. Text comparisons and field names ignore letter case.
//
// Ownership: OpenRecordset returns a record set the caller owns; it must not
// outlive the Database it came from. Failures raise DatabaseError (or
// ConversionError for a value that cannot be stored).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/value.h"

namespace veltrane {

enum class RecordsetType {
  kTable = 1,        // a whole table, updatable, sees rows added through it
  kDynaset = 2,      // any query; can report its row count and find rows
  kForwardOnly = 8,  // streams rows once, in order; nothing is held in memory
};

class Recordset {
 public:
  virtual ~Recordset() = default;

  virtual bool IsBOF() const = 0;  // before the first row (or no rows)
  virtual bool IsEOF() const = 0;  // after the last row (or no rows)
  // Rows of the set; a forward-only set counts the rows reached so far.
  virtual std::int64_t RecordCount() = 0;
  virtual void MoveFirst() = 0;
  virtual void MoveNext() = 0;

  // Positions on the first row matching a criteria text such as
  // "Name='Ann'" or "ID=12"; when none matches, NoMatch() is true and the
  // position is unchanged. Not available on forward-only sets.
  virtual void FindFirst(std::string_view criteria) = 0;
  virtual bool NoMatch() const = 0;

  // The current row's field, letter case of the name ignored. Raises
  // DatabaseError when there is no current row or no such field.
  virtual Value Field(std::string_view name) = 0;

  // Starts a new row; SetField assigns it; Update stores the whole row at
  // once (or nothing, when it fails). Table and dynaset sets only.
  virtual void AddNew() = 0;
  virtual void SetField(std::string_view name, const Value& value) = 0;
  virtual void Update() = 0;
  // Drops a row begun with AddNew without storing it.
  virtual void CancelUpdate() = 0;

  virtual void Close() = 0;
};

class Database {
 public:
  virtual ~Database() = default;

  // `source` is a table name or an SQL SELECT text.
  virtual std::unique_ptr<Recordset> OpenRecordset(std::string_view source,
                                                   RecordsetType type = RecordsetType::kDynaset) = 0;
  // Runs a statement that returns no rows; returns the rows it changed.
  virtual std::int64_t Execute(std::string_view sql) = 0;

  virtual void BeginTransaction() = 0;
  virtual void CommitTransaction() = 0;
  virtual void RollbackTransaction() = 0;
  // Whether a transaction is open on this database.
  virtual bool InTransaction() = 0;
};

// The writes of one change, stored together or not at all: a transaction,
// or, inside a transaction already open, a savepoint of it, so that a
// command run as part of a larger one (as the demo runs them) is still
// whole and is stored, with a single sync, when the outer one commits.
// Rolls back unless Commit() was called.
class TransactionScope {
 public:
  explicit TransactionScope(Database& db);
  ~TransactionScope();
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;
  void Commit();

 private:
  Database& db_;
  bool nested_;
  bool done_ = false;
};

// A name made safe for a quoted text of a query or criteria: every "'" is
// doubled, so "O'Brien" is written 'O''Brien' and matches only that name.
std::string QuoteName(std::string_view name);

}  // namespace veltrane
