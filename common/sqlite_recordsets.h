// Internal to the SQLite database: statement handles, typed column reads
// and binds, and the three kinds of record set.
#pragma once

#include <sqlite3.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/database.h"

namespace veltrane::sqlite {

struct StmtDeleter {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// Raises the error of a failed call that returned `rc`: DatabaseBusyError
// when another connection holds the database locked, otherwise
// DatabaseError with SQLite's text, after `context` when one is given.
[[noreturn]] void RaiseSqliteError(sqlite3* db, int rc, const std::string& context = "");

// The logical type a declared column type stands for.
enum class ColumnKind { kPlain, kMoney, kDate, kBool, kInteger, kReal, kText };
ColumnKind KindOfDeclType(const char* decl);

struct Column {
  std::string name;
  ColumnKind kind;
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

// Result columns of a prepared query; `sum_aliases` types "Sum(x) As [a]".
std::vector<Column> ResultColumns(Connection& conn, sqlite3_stmt* stmt,
                                  const std::map<std::string, std::string>& sum_aliases);
Value ReadColumn(sqlite3_stmt* stmt, int index, ColumnKind kind);

// `conn` must outlive every record set made from it.
std::unique_ptr<Recordset> MakeForwardOnly(Connection& conn, const std::string& jet_sql);
std::unique_ptr<Recordset> MakeTableSet(Connection& conn, const std::string& table);
std::unique_ptr<Recordset> MakeQuerySet(Connection& conn, const std::string& jet_sql);

}  // namespace veltrane::sqlite
