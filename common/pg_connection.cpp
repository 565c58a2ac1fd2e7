#include "common/pg_connection.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <variant>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/errors.h"
#include "common/text.h"

namespace veltrane::pg {
namespace {

// Type oids of the built-in types read here.
constexpr Oid kBoolType = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOidType = 26, kFloat4 = 700, kFloat8 = 701,
              kDateType = 1082, kNumeric = 1700;

// The class of the advisory lock a write transaction holds ("VPAY"); the
// lock's other half names the household, so that households of one
// database do not wait for each other: its schema, or, where many
// households share the tables and each is a role of the group
// paystead_households (an agent's database), its role. Membership is read
// directly: a superuser counts as a member of every role, and is no
// household.
constexpr const char* kBeginWithWriteLock =
    "BEGIN; SELECT pg_advisory_xact_lock(1448100185, hashtext(CASE WHEN EXISTS (SELECT 1 FROM "
    "pg_auth_members AS m JOIN pg_roles AS g ON g.oid = m.roleid WHERE g.rolname = 'paystead_households' "
    "AND m.member = (SELECT oid FROM pg_roles WHERE rolname = current_user)) "
    "THEN 'role ' || current_user ELSE coalesce(current_schema(), '') END))";

constexpr const char* kSavepoint = "SAVEPOINT veltrane_statement";
constexpr const char* kRelease = "RELEASE SAVEPOINT veltrane_statement";
constexpr const char* kUndo = "ROLLBACK TO SAVEPOINT veltrane_statement; RELEASE SAVEPOINT veltrane_statement";

// Dates as "yyyy-mm-dd", doubles exactly, texts as given; a lock is waited
// for as long as SQLite waits for a locked file, unless the connection
// says otherwise.
constexpr const char* kSession =
    "SET DateStyle TO ISO; SET extra_float_digits TO 3; SET standard_conforming_strings TO on; "
    "SET client_encoding TO 'UTF8'; "
    "SELECT set_config('lock_timeout', '5s', false) WHERE current_setting('lock_timeout') = '0'";

// Every visible table of the schema (not the server's own): its columns
// with their declared types, and which one is its primary key alone. A
// relation without one (a view) is moved through by its whole-number
// column "ID", when it has one.
constexpr const char* kCatalog =
    "SELECT c.oid, c.relname, a.attnum, a.attname, format_type(a.atttypid, a.atttypmod), "
    "EXISTS (SELECT 1 FROM pg_index AS i WHERE i.indrelid = c.oid AND i.indisprimary AND i.indnatts = 1 "
    "AND i.indkey[0] = a.attnum) "
    "FROM pg_class AS c JOIN pg_attribute AS a ON a.attrelid = c.oid "
    "WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f') AND a.attnum > 0 AND NOT a.attisdropped "
    "AND c.relnamespace <> 'pg_catalog'::regnamespace AND c.relnamespace <> 'information_schema'::regnamespace "
    "AND pg_table_is_visible(c.oid) ORDER BY c.oid, a.attnum";

// Failures that pass: a lock held past the wait, a conflict with another
// transaction, too many connections, a server starting or stopping, a
// statement cancelled for taking too long.
bool IsBusyState(std::string_view state) {
  return state == "55P03" || state == "40001" || state == "40P01" || state == "53300" || state == "57P03" ||
         state == "57014";
}

bool IsBusyConnectFailure(std::string_view why) {
  for (const char* busy : {"too many clients", "starting up", "shutting down", "not yet accepting connections",
                           "in recovery mode", "remaining connection slots"}) {
    if (why.find(busy) != std::string_view::npos) return true;
  }
  return false;
}

// libpq's text on one line: its lines (a hint on a line of its own,
// indented) joined by "; ", the last line break dropped.
std::string Cleaned(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') {
      line += text[i];
      continue;
    }
    while (i + 1 < text.size() && (text[i + 1] == '\t' || text[i + 1] == ' ')) ++i;
    line += "; ";
  }
  return line;
}

std::string FailureText(const PGresult* r) {
  const char* primary = PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY);
  return Cleaned(primary != nullptr ? primary : PQresultErrorMessage(r));
}

// A failure after which the server ends the session.
bool EndsSession(const PGresult* r) {
  const char* severity = r != nullptr ? PQresultErrorField(r, PG_DIAG_SEVERITY_NONLOCALIZED) : nullptr;
  return severity != nullptr && (std::string_view(severity) == "FATAL" || std::string_view(severity) == "PANIC");
}

bool IsStalePlan(const PGresult* r) {
  const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
  return state != nullptr && std::string_view(state) == "0A000" &&
         FailureText(r).find("cached plan") != std::string::npos;
}

[[noreturn]] void RaiseFailure(const PGresult* r) {
  const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
  if (state != nullptr && IsBusyState(state)) throw DatabaseBusyError();
  throw DatabaseError(FailureText(r));
}

void IgnoreNotice(void*, const char*) {}

std::string FirstWord(std::string_view sql) {
  std::size_t from = 0;
  while (from < sql.size() && (sql[from] == ' ' || sql[from] == '\t' || sql[from] == '\n' || sql[from] == '\r'))
    ++from;
  std::size_t to = from;
  while (to < sql.size() && ((sql[to] >= 'a' && sql[to] <= 'z') || (sql[to] >= 'A' && sql[to] <= 'Z'))) ++to;
  return ToUpper(sql.substr(from, to - from));
}

bool IsTransactionControl(const std::string& word) {
  for (const char* control : {"BEGIN", "START", "COMMIT", "END", "ROLLBACK", "ABORT", "SAVEPOINT", "RELEASE"}) {
    if (word == control) return true;
  }
  return false;
}

std::int64_t WholeNumber(std::string_view text) {
  std::int64_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec == std::errc::result_out_of_range) throw OutOfRangeError("the number " + std::string(text) + " is out of range");
  if (ec != std::errc() || end != text.data() + text.size())
    throw ConversionError("'" + std::string(text) + "' is not a whole number");
  return n;
}

double RealNumber(std::string_view text) {
  if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
  if (text == "Infinity") return std::numeric_limits<double>::infinity();
  if (text == "-Infinity") return -std::numeric_limits<double>::infinity();
  double d = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
  if (ec != std::errc() || end != text.data() + text.size())
    throw ConversionError("'" + std::string(text) + "' is not a number");
  return d;
}

bool IsWholeType(Oid type) {
  return type == kInt8 || type == kInt4 || type == kInt2 || type == kOidType;
}

bool IsWholeText(std::string_view text) { return text.find_first_of(".eEN") == std::string_view::npos; }

}  // namespace

std::optional<std::string> ParamText(const Value& v) {
  return std::visit(
      [](const auto& x) -> std::optional<std::string> {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return std::nullopt;
        } else if constexpr (std::is_same_v<T, bool>) {
          return x ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return std::to_string(x);
        } else if constexpr (std::is_same_v<T, double>) {
          if (std::isnan(x)) return "NaN";
          if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
          char buf[32];
          const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x);  // the shortest text read back exactly
          return std::string(buf, end);
        } else if constexpr (std::is_same_v<T, Money>) {
          return std::to_string(x.ticks());
        } else if constexpr (std::is_same_v<T, std::string>) {
          if (x.find('\0') != std::string::npos) throw ConversionError("a text holding a NUL character cannot be stored");
          return x;
        } else {
          return FormatIsoDate(x);
        }
      },
      v.storage());
}

Value ReadValue(const PGresult* r, int row, int col, ColumnKind kind) {
  if (PQgetisnull(r, row, col)) return Value();
  const std::string_view text(PQgetvalue(r, row, col), static_cast<std::size_t>(PQgetlength(r, row, col)));
  const Oid type = PQftype(r, col);
  const bool whole = IsWholeType(type) || (type == kNumeric && IsWholeText(text));
  switch (kind) {
    case ColumnKind::kMoney:
      if (whole) return Money::FromTicks(WholeNumber(text));  // a sum of money may not fit: refused, never wrapped
      if (type == kNumeric || type == kFloat8 || type == kFloat4) throw ConversionError("'" + std::string(text) + "' is not a count of money");
      return ParseAmount(text);
    case ColumnKind::kDate:
      return ReadStoredDay(text);
    case ColumnKind::kBool:
      if (type == kBoolType) return text == "t";
      if (whole) return WholeNumber(text) != 0;
      break;
    case ColumnKind::kText:
      return std::string(text);
    default:
      break;
  }
  switch (type) {
    case kBoolType:
      return text == "t";
    case kFloat4:
    case kFloat8:
      return RealNumber(text);
    case kDateType:
      return ReadStoredDay(text);
    case kNumeric:
      // A sum of whole numbers, kept whole while it fits.
      if (std::int64_t n = 0; whole && std::from_chars(text.data(), text.data() + text.size(), n).ec == std::errc())
        return n;
      return RealNumber(text);
    default:
      if (whole) return WholeNumber(text);
      return std::string(text);
  }
}

Connection::Connection(std::string uri) : uri_(std::move(uri)) { Connect(); }

Connection::~Connection() {
  if (conn_ != nullptr) PQfinish(conn_);
}

void Connection::Connect() {
  // The URI's own settings come after these defaults and override them.
  const char* keys[] = {"connect_timeout", "fallback_application_name", "dbname", nullptr};
  const char* values[] = {"10", "veltrane", uri_.c_str(), nullptr};
  conn_ = PQconnectdbParams(keys, values, 1);
  if (conn_ == nullptr) throw DatabaseError("cannot connect to the database server: out of memory");
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string why = Cleaned(PQerrorMessage(conn_));
    PQfinish(conn_);
    conn_ = nullptr;
    if (IsBusyConnectFailure(why)) throw DatabaseBusyError();
    throw DatabaseError("cannot connect to the database server: " + why, DatabaseError::Kind::kCannotOpen);
  }
  // The server's notices (an object that exists already...) are not the
  // user's to see.
  PQsetNoticeProcessor(conn_, IgnoreNotice, nullptr);
  RunControl(kSession);
  if (!identity_.empty()) RunControl(identity_);
}

void Connection::SetIdentity(const std::string& statements) {
  EnsureConnected();
  const bool same_schema = identity_.empty() == statements.empty() &&
                           identity_.substr(identity_.find(';') + 1) == statements.substr(statements.find(';') + 1);
  if (statements.empty()) {
    identity_.clear();
    RunControl("RESET ROLE; RESET search_path");
  } else {
    RunControl(statements);
    identity_ = statements;
  }
  // Another schema holds other tables under the same names; one role's
  // tables are another's.
  if (!same_schema) ForgetSchema();
}

void Connection::NoteTransactionState() {
  const PGTransactionStatusType status = PQtransactionStatus(conn_);
  if (status == PQTRANS_IDLE || status == PQTRANS_INTRANS || status == PQTRANS_INERROR)
    in_transaction_ = status != PQTRANS_IDLE;
}

void Connection::Lost() {
  if (in_transaction_ || in_transaction_at_start_) lost_in_transaction_ = true;
  PQfinish(conn_);
  conn_ = nullptr;
}

void Connection::EnsureConnected() {
  // A connection found gone in a transaction takes the transaction with it.
  if (conn_ != nullptr && PQstatus(conn_) != CONNECTION_OK) Lost();
  if (lost_in_transaction_) {
    throw DatabaseError(
        "the connection to the database server was lost during a transaction; nothing of it was stored",
        DatabaseError::Kind::kLost);
  }
  if (conn_ != nullptr) return;
  // The server's statements and the tables it knew went with the connection.
  texts_.clear();
  text_index_.clear();
  to_deallocate_.clear();
  catalog_loaded_ = false;
  Connect();
}

void Connection::Yield() {
  if (stream_ != nullptr) stream_->ReadAhead();
}

void Connection::NoteFailure(Result r) {
  if (!failure_) failure_ = std::move(r);
}

void Connection::Start(const std::string& sql, const Params& params, bool single_row) {
  Yield();
  EnsureConnected();
  const PGTransactionStatusType status = PQtransactionStatus(conn_);
  in_transaction_at_start_ = status != PQTRANS_IDLE;
  guarded_ = status == PQTRANS_INTRANS;
  failure_.reset();
  preparing_ = nullptr;

  std::string name;
  if (const auto hit = text_index_.find(sql); hit != text_index_.end()) {
    texts_.splice(texts_.begin(), texts_, hit->second);
    Cached& cached = hit->second->second;
    if (cached.name.empty()) {
      cached.name = "veltrane_" + std::to_string(++next_name_);
      preparing_ = &cached;
    }
    name = cached.name;
  } else {
    texts_.emplace_front(sql, Cached{});
    text_index_.emplace(texts_.front().first, texts_.begin());
    if (texts_.size() > kTexts) {
      auto& oldest = texts_.back();
      if (!oldest.second.name.empty()) to_deallocate_.push_back(oldest.second.name);
      text_index_.erase(oldest.first);
      texts_.pop_back();
    }
  }

  std::vector<const char*> values;
  values.reserve(params.size());
  for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
  const int n = static_cast<int>(values.size());
  const auto sent = [&](int ok) {
    if (ok == 0) {
      failure_.reset(PQmakeEmptyPGresult(conn_, PGRES_FATAL_ERROR));
      throw DatabaseError("the connection to the database server was lost: " + Cleaned(PQerrorMessage(conn_)),
                          DatabaseError::Kind::kLost);
    }
  };
  const auto plain = [&](const std::string& text) {
    sent(PQsendQueryParams(conn_, text.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0));
    ++leading_;
  };
  leading_ = 0;
  // A lone statement already prepared (or run once, unnamed) outside a
  // transaction needs no pipeline: it goes as libpq sends any query.
  pipelined_ = guarded_ || preparing_ != nullptr || !to_deallocate_.empty();
  try {
    if (pipelined_) {
      sent(PQenterPipelineMode(conn_));
      for (const std::string& old : to_deallocate_) plain("DEALLOCATE " + old);
      to_deallocate_.clear();
      if (guarded_) plain(kSavepoint);
      if (preparing_ != nullptr) {
        sent(PQsendPrepare(conn_, name.c_str(), sql.c_str(), 0, nullptr));
        ++leading_;
      }
    }
    if (!name.empty()) sent(PQsendQueryPrepared(conn_, name.c_str(), n, values.data(), nullptr, nullptr, 0));
    else sent(PQsendQueryParams(conn_, sql.c_str(), n, nullptr, values.data(), nullptr, nullptr, 0));
    if (guarded_) sent(PQsendQueryParams(conn_, kRelease, 0, nullptr, nullptr, nullptr, nullptr, 0));
    if (pipelined_) sent(PQpipelineSync(conn_));
  } catch (...) {
    if (preparing_ != nullptr) preparing_->name.clear();
    Lost();
    throw;
  }
  for (std::size_t i = 0; i < leading_ && PQstatus(conn_) == CONNECTION_OK; ++i) {
    Result r(PQgetResult(conn_));
    if (r && PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
      if (preparing_ != nullptr) preparing_->name.clear();  // the name may not stand for the text
      NoteFailure(std::move(r));
    }
    while (Result more{PQgetResult(conn_)}) NoteFailure(std::move(more));
  }
  if (single_row) PQsetSingleRowMode(conn_);
}

Result Connection::NextResult() {
  for (;;) {
    Result r(PQgetResult(conn_));
    if (!r) return r;
    switch (PQresultStatus(r.get())) {
      case PGRES_SINGLE_TUPLE:
      case PGRES_TUPLES_OK:
      case PGRES_COMMAND_OK:
        return r;
      default:
        NoteFailure(std::move(r));
        if (PQstatus(conn_) != CONNECTION_OK) return nullptr;
    }
  }
}

void Connection::Finish() {
  bool lost = PQstatus(conn_) != CONNECTION_OK || EndsSession(failure_.get());
  if (!lost && pipelined_) {
    if (guarded_) {
      Result release(PQgetResult(conn_));
      if (release && PQresultStatus(release.get()) != PGRES_COMMAND_OK) NoteFailure(std::move(release));
      while (Result more{PQgetResult(conn_)}) NoteFailure(std::move(more));
    }
    Result sync(PQgetResult(conn_));  // the end of the pipeline
    // A pipeline that will not end has left the connection in a state not
    // known: it is let go as a lost one.
    lost = PQresultStatus(sync.get()) != PGRES_PIPELINE_SYNC || PQexitPipelineMode(conn_) == 0;
  }
  if (failure_ && !lost && guarded_) Result(PQexec(conn_, kUndo));  // the statement is undone alone
  NoteTransactionState();
  if (lost || PQstatus(conn_) != CONNECTION_OK) {
    const std::string why = failure_ ? FailureText(failure_.get()) : Cleaned(PQerrorMessage(conn_));
    Lost();
    failure_.reset();
    throw DatabaseError("the connection to the database server was lost: " + why, DatabaseError::Kind::kLost);
  }
}

Result Connection::Run(const std::string& sql, const Params& params) {
  for (int attempt = 0;; ++attempt) {
    Start(sql, params, false);
    Result last;
    while (Result r = NextResult()) last = std::move(r);
    Finish();
    if (!failure_) return last;
    const Result failure = std::move(failure_);
    // Another connection changed a table this statement was prepared on.
    if (attempt == 0 && IsStalePlan(failure.get())) {
      ForgetSchema();
      continue;
    }
    RaiseFailure(failure.get());
  }
}

Result Connection::RunControl(const std::string& sql) {
  Yield();
  EnsureConnected();
  in_transaction_at_start_ = PQtransactionStatus(conn_) != PQTRANS_IDLE;
  Result last, failure;
  const bool sent = PQsendQuery(conn_, sql.c_str()) != 0;
  while (Result r{PQgetResult(conn_)}) {
    const ExecStatusType status = PQresultStatus(r.get());
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) last = std::move(r);
    else if (!failure) failure = std::move(r);
  }
  NoteTransactionState();
  if (!sent || PQstatus(conn_) != CONNECTION_OK || EndsSession(failure.get())) {
    const std::string why = failure ? FailureText(failure.get()) : Cleaned(PQerrorMessage(conn_));
    Lost();
    throw DatabaseError("the connection to the database server was lost: " + why, DatabaseError::Kind::kLost);
  }
  if (failure) RaiseFailure(failure.get());
  return last;
}

std::int64_t Connection::Execute(const std::string& statement) {
  const std::string word = FirstWord(statement);
  const bool control = IsTransactionControl(word);
  const Result r = control ? RunControl(statement) : Run(statement);
  Wrote();
  const std::string tag = r ? PQcmdStatus(r.get()) : "";
  if ((word == "COMMIT" || word == "END") && tag == "ROLLBACK")
    throw DatabaseError("the transaction failed, and nothing of it was stored");
  if (control && (word == "ROLLBACK" || word == "ABORT") && schema_changed_in_transaction_) ForgetSchema();
  for (const char* ddl : {"CREATE", "ALTER", "DROP"}) {
    if (tag.rfind(ddl, 0) == 0) ForgetSchema();
  }
  const char* changed = r ? PQcmdTuples(r.get()) : "";
  return *changed != '\0' ? WholeNumber(changed) : 0;
}

void Connection::Begin() {
  try {
    RunControl(kBeginWithWriteLock);
  } catch (const DatabaseError&) {
    if (conn_ != nullptr && PQtransactionStatus(conn_) != PQTRANS_IDLE) {
      try {
        RunControl("ROLLBACK");
      } catch (const DatabaseError&) {
      }
    }
    throw;
  }
  Wrote();
}

void Connection::Commit() {
  const Result r = RunControl("COMMIT");
  Wrote();
  schema_changed_in_transaction_ = false;
  if (r && std::string_view(PQcmdStatus(r.get())) == "ROLLBACK")
    throw DatabaseError("the transaction failed, and nothing of it was stored");
}

void Connection::Rollback() {
  Wrote();
  if (lost_in_transaction_) {
    // The server rolled it back when the connection went.
    lost_in_transaction_ = false;
    in_transaction_ = false;
    schema_changed_in_transaction_ = false;
    catalog_loaded_ = false;
    return;
  }
  RunControl("ROLLBACK");
  if (schema_changed_in_transaction_) ForgetSchema();
  schema_changed_in_transaction_ = false;
}

bool Connection::InTransaction() const {
  if (lost_in_transaction_) return true;
  if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) return in_transaction_;
  if (stream_ != nullptr) return in_transaction_at_start_;
  return PQtransactionStatus(conn_) != PQTRANS_IDLE;
}

void Connection::ForgetSchema() {
  catalog_loaded_ = false;
  if (InTransaction()) schema_changed_in_transaction_ = true;
  texts_.clear();
  text_index_.clear();
  to_deallocate_.clear();
  RunControl("DEALLOCATE ALL");
}

void Connection::LoadCatalog() {
  Result r = Run(kCatalog);
  fields_read_.clear();
  tables_.clear();
  table_oids_.clear();
  column_kinds_.clear();
  not_tables_.clear();
  for (int i = 0, n = PQntuples(r.get()); i < n; ++i) {
    const auto text = [&](int col) { return std::string(PQgetvalue(r.get(), i, col)); };
    const auto oid = static_cast<unsigned>(WholeNumber(text(0)));
    TableInfo& table = tables_[oid];
    if (table.name.empty()) {
      table.name = text(1);
      table_oids_[table.name] = oid;
    }
    Column column{text(3), KindOfDeclType(text(4))};
    if (text(5) == "t" && column.kind == ColumnKind::kInteger) {
      table.key = table.columns.size();
      table.primary_key = true;
    } else if (!table.primary_key && column.kind == ColumnKind::kInteger && IEquals(column.name, "ID")) {
      table.key = table.columns.size();
    }
    column_kinds_.emplace(ToLower(column.name), column.kind);
    table.numbers.push_back(static_cast<int>(WholeNumber(text(2))));
    table.columns.push_back(std::move(column));
  }
  catalog_loaded_ = true;
}

void Connection::EnsureCatalog() {
  if (!catalog_loaded_) LoadCatalog();
}

std::vector<Column> Connection::ResultColumns(const PGresult* r,
                                              const std::map<std::string, std::string>& sum_aliases) {
  EnsureCatalog();
  std::vector<Column> cols;
  const int n = PQnfields(r);
  cols.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    Column c{PQfname(r, i), ColumnKind::kPlain};
    const Oid table = PQftable(r, i);
    const int number = PQftablecol(r, i);
    if (table != InvalidOid && number > 0) {
      auto found = tables_.find(table);
      // A table made since the catalog was read; the server's own tables
      // are known not to be ours once looked for.
      if (found == tables_.end() && not_tables_.count(table) == 0) {
        LoadCatalog();
        found = tables_.find(table);
        if (found == tables_.end()) not_tables_.insert(table);
      }
      if (found != tables_.end()) {
        const TableInfo& info = found->second;
        for (std::size_t k = 0; k < info.numbers.size(); ++k) {
          if (info.numbers[k] == number) c.kind = info.columns[k].kind;
        }
      }
    } else if (const auto alias = sum_aliases.find(ToLower(c.name)); alias != sum_aliases.end()) {
      if (const auto kind = column_kinds_.find(alias->second); kind != column_kinds_.end()) c.kind = kind->second;
    }
    cols.push_back(std::move(c));
  }
  return cols;
}

const TableInfo& Connection::Table(const std::string& name) {
  EnsureCatalog();
  auto found = table_oids_.find(ToLower(name));
  if (found == table_oids_.end()) {
    LoadCatalog();
    found = table_oids_.find(ToLower(name));
    if (found == table_oids_.end()) throw DatabaseError("no table named '" + name + "'");
  }
  return tables_.at(found->second);
}

RowStream::RowStream(Connection& conn, const std::string& sql) : conn_(conn) {
  for (int attempt = 0;; ++attempt) {
    conn_.Start(sql, {}, true);
    conn_.stream_ = this;
    live_ = true;
    Receive();
    if (!failed_ || !ahead_.empty()) return;  // a failure after rows is met after them
    if (attempt > 0 || !IsStalePlan(failed_.get())) {
      const Result failure = std::move(failed_);
      RaiseFailure(failure.get());
    }
    failed_.reset();
    conn_.ForgetSchema();
  }
}

RowStream::~RowStream() {
  try {
    while (live_) {
      if (Receive()) ahead_.pop_back();
    }
  } catch (...) {
    // A connection lost while its rows were let go is made again later.
  }
}

bool RowStream::Receive() {
  while (live_) {
    Result r = conn_.NextResult();
    if (!r) {
      live_ = false;
      conn_.stream_ = nullptr;
      conn_.Finish();
      failed_ = std::move(conn_.failure_);
      return false;
    }
    // One row at a time; a result of several rows, should the server's
    // library not give them one by one, is read whole.
    if (PQntuples(r.get()) > 0) {
      ahead_.push_back(std::move(r));
      return true;
    }
    end_ = std::move(r);
  }
  return false;
}

void RowStream::ReadAhead() {
  while (live_) Receive();
}

bool RowStream::Next() {
  if (row_ && row_index_ + 1 < PQntuples(row_.get())) {
    ++row_index_;
    return true;
  }
  if (ahead_.empty()) Receive();
  if (!ahead_.empty()) {
    row_ = std::move(ahead_.front());
    row_index_ = 0;
    ahead_.pop_front();
    return true;
  }
  row_.reset();
  if (failed_) {
    const Result failure = std::move(failed_);
    RaiseFailure(failure.get());
  }
  return false;
}

}  // namespace veltrane::pg
