// Internal to the SQLite database: statement handles and the cache that
// keeps them (sqlite_statements.cpp), typed column reads and the query sets
// over a statement (sqlite_query_sets.cpp), and the table set
// (sqlite_table_set.cpp).
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/database.h"
#include "common/recordset_columns.h"

namespace veltrane::sqlite {

class StatementCache;

// Releasing a statement hands it back to the cache it came from, or
// finalizes it when it came from none.
struct StmtDeleter {
  StatementCache* cache = nullptr;
  void operator()(sqlite3_stmt* s) const;
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// Raises the error of a failed call that returned `rc`: DatabaseBusyError
// when another connection holds the database locked, otherwise
// DatabaseError with SQLite's text, after `context` when one is given.
[[noreturn]] void RaiseSqliteError(sqlite3* db, int rc, const std::string& context = "");
// The same for a failure whose text is already known.
[[noreturn]] void RaiseSqliteFailure(int rc, const std::string& why);
// What became of the database, by SQLite's (primary or extended) code.
DatabaseError::Kind KindOfFailure(int rc);

// Prepared statements of one connection kept for reuse by their SQL text:
// the components run the same few texts on every paycheck, and compiling
// one costs more than running it. A statement in use belongs to its
// holder; a released one is reset, its bindings cleared, and kept idle,
// the most recently used kIdle of them. A statement reports the columns of
// the schema it was compiled under until it is next stepped, so the
// connection calls Forget when its schema changes: idle statements are
// finalized, and those in use are finalized when released. The cache must
// outlive every statement it hands out.
class StatementCache {
 public:
  static constexpr std::size_t kIdle = 64;

  explicit StatementCache(sqlite3* db) : db_(db) {}
  ~StatementCache() { Forget(); }
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  // An idle statement of exactly this text, or a newly prepared one.
  // Raises DatabaseError when the text does not compile.
  Stmt Prepare(const std::string& sql);
  void Forget();
  std::size_t idle() const { return idle_.size(); }

 private:
  friend struct StmtDeleter;
  void Release(sqlite3_stmt* s);

  using Entry = std::pair<std::string, sqlite3_stmt*>;
  sqlite3* db_;
  std::list<Entry> idle_;  // most recently released first
  // Keys view the texts held by `idle_`, whose nodes never move; a text
  // may have several idle statements when several were in use at once.
  std::unordered_multimap<std::string_view, std::list<Entry>::iterator> index_;
  // The statements in use, each with the generation it was compiled in.
  std::unordered_map<sqlite3_stmt*, unsigned> in_use_;
  unsigned generation_ = 0;
};

// What the database offers its record sets.
class Connection {
 public:
  virtual ~Connection() = default;
  virtual sqlite3* handle() = 0;
  // Prepares a translated statement; raises DatabaseError.
  virtual Stmt Prepare(const std::string& sql) = 0;
  // Columns of a table, in order; raises DatabaseError for an unknown table.
  virtual const std::vector<Column>& TableColumns(const std::string& table) = 0;
  // Kind of a column named anywhere in the schema (for sums of it).
  virtual ColumnKind KindOfColumnNamed(const std::string& lower_name) = 0;
};

Value ReadColumn(sqlite3_stmt* stmt, int index, ColumnKind kind);

// `conn` must outlive every record set made from it.
std::unique_ptr<Recordset> MakeForwardOnly(Connection& conn, const std::string& jet_sql);
std::unique_ptr<Recordset> MakeQuerySet(Connection& conn, const std::string& jet_sql);
std::unique_ptr<Recordset> MakeTableSet(Connection& conn, const std::string& table);

}  // namespace veltrane::sqlite
