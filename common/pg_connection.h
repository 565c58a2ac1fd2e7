// Internal to the PostgreSQL database: one connection to the server and
// what its record sets need of it.
//
// Every statement goes to the server in one round trip: when a transaction
// is open, as a pipeline between a savepoint and its release, so that a
// statement that fails is undone alone and the transaction goes on, as a
// failed statement leaves an SQLite transaction. A text run a second time
// is prepared under a name (in the same pipeline) and reused from then on. A query may be streamed:
// its rows are read one at a time as they are asked for (RowStream).
// Failures raise DatabaseBusyError for a server that is busy (a lock held
// past the wait, too many connections, starting up or shutting down) and
// DatabaseError otherwise; a connection lost outside a transaction is made
// again by the next statement, one lost inside a transaction fails every
// statement until the transaction is rolled back.
#pragma once

#include <libpq-fe.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/recordset_columns.h"

namespace veltrane::pg {

struct ResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// A statement's parameters ($1, $2...) as text; nullopt is Null.
using Params = std::vector<std::optional<std::string>>;

// A value as the text of a parameter for a column of its kind; raises
// ConversionError for a text holding a NUL, which the server cannot store.
std::optional<std::string> ParamText(const Value& v);

// Field `col` of row `row` of a text-format result, read as `kind` says.
Value ReadValue(const PGresult* r, int row, int col, ColumnKind kind);

// A table as the record sets see it: its columns, in order, and the column
// of its primary key when that is one whole-number column.
struct TableInfo {
  std::string name;
  std::vector<Column> columns;
  std::vector<int> numbers;  // each column's number in the table
  // The column to move through it by: its primary key when that is one
  // whole-number column, else a whole-number column named "ID".
  std::optional<std::size_t> key;
  bool primary_key = false;  // the key is the primary key
};

class RowStream;

class Connection {
 public:
  // Connects to the server named by a libpq connection URI.
  explicit Connection(std::string uri);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs one translated statement and returns its whole result.
  Result Run(const std::string& sql, const Params& params = {});
  // Runs one statement of a text given to Execute: transaction control
  // (BEGIN, COMMIT, SAVEPOINT...) as it is, anything else as Run does;
  // notes a change of the schema. Returns the rows it changed.
  std::int64_t Execute(const std::string& statement);

  // A transaction that holds the database's write lock from its start, as
  // SQLite's BEGIN IMMEDIATE does: a second writer waits, then is busy.
  void Begin();
  void Commit();
  void Rollback();
  bool InTransaction() const;

  // The columns of a result, typed by the table column each reads or else
  // by its type; a sum named in `sum_aliases` is typed like the column it
  // adds up.
  std::vector<Column> ResultColumns(const PGresult* r,
                                    const std::map<std::string, std::string>& sum_aliases);
  // A table of the schema; raises DatabaseError when there is none.
  const TableInfo& Table(const std::string& name);
  // Reads the tables of the schema, when they are not known yet: done
  // before a stream starts, which would otherwise be read ahead.
  void EnsureCatalog();

  // Statements run now and on every connection made again, after the
  // session's own settings (SET ROLE...); empty goes back to the session
  // the URI makes. The tables are read again.
  void SetIdentity(const std::string& statements);

  // The fields (column numbers of Table(table)) that table sets of `table`
  // have read on this connection, for later sets to read from the start;
  // forgotten when the tables are read again.
  std::vector<std::size_t>& FieldsRead(const std::string& table) { return fields_read_[table]; }

  // Counts this connection's writes, so that rows a set holds are known to
  // be out of date after one.
  std::uint64_t generation() const { return generation_; }
  void Wrote() { ++generation_; }

 private:
  friend class RowStream;
  struct Cached {
    std::string name;  // empty until the text is run a second time
  };

  void Connect();
  void EnsureConnected();
  // Notes whether a transaction is open, as the server last said.
  void NoteTransactionState();
  // Lets a connection that went go; a transaction open on it is lost.
  void Lost();
  void Yield();
  // Sends a statement as a pipeline and reads what comes before its results.
  void Start(const std::string& sql, const Params& params, bool single_row);
  // The statement's next result; null after its last. Failures are kept
  // for Finish.
  Result NextResult();
  // Reads the rest of the pipeline and undoes a failed statement, whose
  // failure stays in failure_; raises DatabaseError for a lost connection.
  void Finish();
  Result RunControl(const std::string& sql);
  void ForgetSchema();
  void LoadCatalog();
  void NoteFailure(Result r);

  std::string uri_;
  std::string identity_;  // SetIdentity's statements
  PGconn* conn_ = nullptr;
  RowStream* stream_ = nullptr;  // the statement whose rows are being read
  bool in_transaction_ = false;  // as the server last said
  bool lost_in_transaction_ = false;
  bool schema_changed_in_transaction_ = false;
  std::uint64_t generation_ = 0;

  // The pipeline of the statement started.
  bool guarded_ = false;
  bool pipelined_ = false;
  bool in_transaction_at_start_ = false;
  std::size_t leading_ = 0;      // results before the statement's own
  Cached* preparing_ = nullptr;  // the text being prepared under its name
  Result failure_;               // the first failure of the pipeline

  // Statement texts run, most recently used first.
  static constexpr std::size_t kTexts = 256;
  std::list<std::pair<std::string, Cached>> texts_;
  std::unordered_map<std::string_view, std::list<std::pair<std::string, Cached>>::iterator>
      text_index_;
  std::vector<std::string> to_deallocate_;
  unsigned next_name_ = 0;

  // The tables of the schema, loaded when first needed.
  bool catalog_loaded_ = false;
  std::map<unsigned, TableInfo> tables_;            // by table oid
  std::map<std::string, unsigned> table_oids_;      // by name
  std::map<std::string, ColumnKind> column_kinds_;  // by column name, any table
  std::set<unsigned> not_tables_;                   // the server's own tables met
  std::map<std::string, std::vector<std::size_t>> fields_read_;
};

// The rows of one query, read from the server one at a time as they are
// asked for. While it is the connection's only statement, nothing but the
// current row is held; when the connection must run another statement
// before this one is read to its end, the rows not yet read are read ahead
// into memory. The connection must outlive the stream.
class RowStream {
 public:
  RowStream(Connection& conn, const std::string& sql);
  ~RowStream();
  RowStream(const RowStream&) = delete;
  RowStream& operator=(const RowStream&) = delete;

  // A result describing the columns: the first row's, before the first
  // Next, or the empty end's when there are no rows.
  const PGresult* description() const { return ahead_.empty() ? end_.get() : ahead_.front().get(); }
  // Moves to the next row; false after the last. Raises DatabaseError.
  bool Next();
  // The current row: row row_index() of this result.
  const PGresult* row() const { return row_.get(); }
  int row_index() const { return row_index_; }

 private:
  friend class Connection;
  // Reads the statement's next row into `ahead_`; false at its end.
  bool Receive();
  void ReadAhead();

  Connection& conn_;
  bool live_ = true;  // results are still coming from the connection
  std::deque<Result> ahead_;
  Result failed_;  // raised when the reader reaches it
  Result end_;     // the empty result after the last row
  Result row_;
  int row_index_ = 0;
};

}  // namespace veltrane::pg
