// Benchmarks run on both databases: the benchmark journal in an SQLite
// database, and in a schema of a PostgreSQL server this program starts for
// itself (a Unix socket only, stopped when the program ends). Where no
// server can start, the PostgreSQL cases stop with a message saying why.
#pragma once

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "common/pg_database.h"
#include "payroll_journal.h"
#include "test_server.h"

namespace veltrane::bench {

enum class Backend { kSqlite, kPostgresql };

inline const char* NameOf(Backend b) { return b == Backend::kSqlite ? "sqlite" : "postgresql"; }

// The program's server, started when first needed.
class BenchServer {
 public:
  static BenchServer& Get() {
    static BenchServer server;
    return server;
  }
  ~BenchServer() { testing::StopTestServer(server_.folder); }
  bool up() const { return !server_.folder.empty(); }
  const std::string& why_not() const { return server_.why_not; }
  std::string Uri(const std::string& schema) const { return testing::ServerUri(server_.folder, schema); }

 private:
  BenchServer() : server_(testing::StartTestServer()) {}
  testing::TestServer server_;
};

// Whether the server is there; otherwise the benchmark is stopped with why.
inline bool ServerOrSkip(benchmark::State& state) {
  if (BenchServer::Get().up()) return true;
  state.SkipWithError(("no PostgreSQL server: " + BenchServer::Get().why_not()).c_str());
  return false;
}

// The connection URI of a schema named `schema` holding the benchmark
// journal of `years` x `payees`, built the first time it is asked for;
// `more` runs on it once built. It is then vacuumed and analyzed, as a
// server's settled tables are.
inline std::string ServerJournal(int years, int payees, const std::function<void(Database&)>& more = {},
                                 const std::string& tag = "") {
  static std::map<std::string, std::string> built;
  const std::string schema = "journal_" + std::to_string(years) + "x" + std::to_string(payees) + tag;
  auto [it, added] = built.try_emplace(schema);
  if (added) {
    auto db = OpenPostgresDatabase(BenchServer::Get().Uri(""));
    db->Execute("CREATE SCHEMA " + schema);
    it->second = BenchServer::Get().Uri(schema);
    db = OpenPostgresDatabase(it->second);
    FillJournal(*db, years, payees);
    if (more) more(*db);
    db->Execute("VACUUM ANALYZE");
  }
  return it->second;
}

// A bare libpq connection, for the counterparts that use libpq alone.
struct PgConnDeleter {
  void operator()(PGconn* c) const { PQfinish(c); }
};
using PgConn = std::unique_ptr<PGconn, PgConnDeleter>;
struct PgResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, PgResultDeleter>;

// Journals of 1, 10 and 100 years x 20 payees x 52 weekly checks (1,040,
// 10,400 and 104,000 rows; state.range(0) years), payee 7 with 52 checks in
// 2004 in each, built once per program; null without a server.
inline Database* Journal(benchmark::State& state, Backend backend) {
  const int years = static_cast<int>(state.range(0));
  static std::map<std::pair<Backend, int>, std::unique_ptr<Database>> journals;
  auto& db = journals[{backend, years}];
  if (!db) {
    if (backend == Backend::kSqlite) db = BuildJournal(":memory:", years, 20);
    else if (ServerOrSkip(state)) db = OpenPostgresDatabase(ServerJournal(years, 20));
  }
  return db.get();
}

inline PgConn BareConnection(const std::string& uri) { return PgConn(PQconnectdb(uri.c_str())); }

// Registers `fn` once for each database, as "name/sqlite" and
// "name/postgresql", each set up by `configure`.
template <class F>
void OnBothBackends(const std::string& name, F fn,
                    const std::function<void(benchmark::internal::Benchmark*)>& configure) {
  for (const Backend backend : {Backend::kSqlite, Backend::kPostgresql}) {
    configure(benchmark::RegisterBenchmark((name + "/" + NameOf(backend)).c_str(),
                                           [fn, backend](benchmark::State& state) { fn(state, backend); }));
  }
}

}  // namespace veltrane::bench
