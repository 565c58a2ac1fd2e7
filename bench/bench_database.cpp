// The year-to-date sum a paycheck takes several times, and a forward-only
// scan of the whole payment journal, each beside the same statement run
// with SQLite or libpq alone, on journals of 1,040, 10,400 and 104,000
// rows, in an SQLite database and on a PostgreSQL server.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_backends.h"
#include "common/sql_translate.h"
#include "common/sqlite_recordsets.h"

namespace veltrane::bench {
namespace {

// The server's journal through libpq alone.
PgConn BareJournal(benchmark::State& state) {
  if (!ServerOrSkip(state)) return nullptr;
  return BareConnection(ServerJournal(static_cast<int>(state.range(0)), 20));
}

// The connection under the SQLite database, for its bare counterparts.
sqlite3* Handle(Database& db) { return dynamic_cast<sqlite::Connection&>(db).handle(); }

const std::string kYearToDateSql =
    "SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='" + QuoteName(PayeeName(7)) +
    "' AND [paid]= True AND [void] = False AND [end_period]>=#1/1/04# AND [end_period] <=#12/31/04#";

// The year-to-date sum as a paycheck takes it: open, read, close.
void YearToDateSum(benchmark::State& state, Backend backend) {
  Database* db = Journal(state, backend);
  if (db == nullptr) return;
  for (auto _ : state) {
    auto rs = db->OpenRecordset(kYearToDateSql, RecordsetType::kForwardOnly);
    benchmark::DoNotOptimize(rs->Field("GrossYTD").ToMoney());
    rs->Close();
  }
}

// The same statement with SQLite alone, prepared once.
void BM_BareYearToDateSum_sqlite(benchmark::State& state) {
  sqlite3* h = Handle(*Journal(state, Backend::kSqlite));
  const std::string sql = TranslateJetSql(kYearToDateSql).sql;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(h, sql.c_str(), -1, &s, nullptr);
  for (auto _ : state) {
    sqlite3_reset(s);
    if (sqlite3_step(s) != SQLITE_ROW) state.SkipWithError("no sum");
    benchmark::DoNotOptimize(Money::FromTicks(sqlite3_column_int64(s, 0)));
  }
  sqlite3_finalize(s);
}

// The same statement with libpq alone, prepared once.
void BM_BareYearToDateSum_postgresql(benchmark::State& state) {
  const PgConn conn = BareJournal(state);
  if (!conn) return;
  const std::string sql = TranslateJetSql(kYearToDateSql, SqlDialect::kPostgresql).sql;
  PgResult(PQprepare(conn.get(), "ytd", sql.c_str(), 0, nullptr));
  for (auto _ : state) {
    const PgResult r(PQexecPrepared(conn.get(), "ytd", 0, nullptr, nullptr, nullptr, 0));
    if (PQntuples(r.get()) != 1) state.SkipWithError("no sum");
    benchmark::DoNotOptimize(Money::FromTicks(std::strtoll(PQgetvalue(r.get(), 0, 0), nullptr, 10)));
  }
}

// Translating the year-to-date query. Arg 0: the same text each time, as
// on every paycheck (a cache hit); arg 1: one of 1,024 texts in turn, more
// than the cache keeps, so each is translated afresh.
void BM_TranslateYearToDateQuery(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int i = 0; i < (state.range(0) == 0 ? 1 : 1024); ++i) {
    texts.push_back("SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='" +
                    QuoteName(PayeeName(i)) +
                    "' AND [paid]= True AND [void] = False AND [end_period]>=#1/1/04# AND [end_period] <=#12/31/04#");
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TranslateJetSql(texts[next]));
    next = (next + 1) % texts.size();
  }
}
BENCHMARK(BM_TranslateYearToDateQuery)->Arg(0)->Arg(1);

const char* const kScanSql = "SELECT * FROM [Payment Journal] WHERE Void=False";

std::int64_t HeapInUse() { return static_cast<std::int64_t>(mallinfo2().uordblks); }

// A forward-only scan reading the five fields a statement reads of each
// row, with the most heap (malloc's, the database library's included) it
// was seen to take, the set's own included, looked at every 1,024 rows.
void ForwardOnlyScan(benchmark::State& state, Backend backend) {
  Database* db = Journal(state, backend);
  if (db == nullptr) return;
  long long rows = 0;
  std::int64_t growth = 0;
  for (auto _ : state) {
    const std::int64_t before = HeapInUse();
    auto rs = db->OpenRecordset(kScanSql, RecordsetType::kForwardOnly);
    Money total;
    std::size_t text = 0;
    std::int64_t ids = 0;
    for (rows = 0; !rs->IsEOF(); rs->MoveNext(), ++rows) {
      ids += rs->Field("ID").ToInt();
      benchmark::DoNotOptimize(rs->Field("Date").ToDate());
      text += rs->Field("payee").ToText().size();
      total += rs->Field("gross_pay").ToMoney();
      text += rs->Field("withholding_liability_data").ToText().size();
      if ((rows & 1023) == 0) growth = std::max(growth, HeapInUse() - before);
    }
    benchmark::DoNotOptimize(total);
    benchmark::DoNotOptimize(ids + static_cast<std::int64_t>(text));
    rs->Close();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["heap_growth_bytes"] = static_cast<double>(growth);
}

// The same SQL text stepped with SQLite alone, reading the same five
// columns as SQLite hands them out (no dates parsed, no texts copied).
void BM_BareForwardOnlyScan_sqlite(benchmark::State& state) {
  sqlite3* h = Handle(*Journal(state, Backend::kSqlite));
  const std::string sql = TranslateJetSql(kScanSql).sql;
  long long rows = 0;
  for (auto _ : state) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(h, sql.c_str(), -1, &s, nullptr);
    int id = -1, date = -1, payee = -1, gross = -1, list = -1;
    for (int i = 0; i < sqlite3_column_count(s); ++i) {
      const std::string name = sqlite3_column_name(s, i);
      if (name == "ID") id = i;
      if (name == "Date") date = i;
      if (name == "payee") payee = i;
      if (name == "gross_pay") gross = i;
      if (name == "withholding_liability_data") list = i;
    }
    Money total;
    std::size_t text = 0;
    std::int64_t ids = 0;
    for (rows = 0; sqlite3_step(s) == SQLITE_ROW; ++rows) {
      ids += sqlite3_column_int64(s, id);
      benchmark::DoNotOptimize(sqlite3_column_text(s, date));
      benchmark::DoNotOptimize(sqlite3_column_text(s, payee));
      text += static_cast<std::size_t>(sqlite3_column_bytes(s, payee));
      total += Money::FromTicks(sqlite3_column_int64(s, gross));
      benchmark::DoNotOptimize(sqlite3_column_text(s, list));
      text += static_cast<std::size_t>(sqlite3_column_bytes(s, list));
    }
    sqlite3_finalize(s);
    benchmark::DoNotOptimize(total);
    benchmark::DoNotOptimize(ids + static_cast<std::int64_t>(text));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The same SQL text run with libpq alone, its whole result at once, reading
// the same five columns as libpq hands them out.
void BM_BareForwardOnlyScan_postgresql(benchmark::State& state) {
  const PgConn conn = BareJournal(state);
  if (!conn) return;
  const std::string sql = TranslateJetSql(kScanSql, SqlDialect::kPostgresql).sql;
  long long rows = 0;
  for (auto _ : state) {
    const PgResult r(PQexec(conn.get(), sql.c_str()));
    const PGresult* res = r.get();
    const int id = PQfnumber(res, "id"), date = PQfnumber(res, "date"), payee = PQfnumber(res, "payee"),
              gross = PQfnumber(res, "gross_pay"), list = PQfnumber(res, "withholding_liability_data");
    Money total;
    std::size_t text = 0;
    std::int64_t ids = 0;
    const int n = PQntuples(res);
    for (rows = 0; rows < n; ++rows) {
      const int row = static_cast<int>(rows);
      ids += std::strtoll(PQgetvalue(res, row, id), nullptr, 10);
      benchmark::DoNotOptimize(PQgetvalue(res, row, date));
      benchmark::DoNotOptimize(PQgetvalue(res, row, payee));
      text += static_cast<std::size_t>(PQgetlength(res, row, payee));
      total += Money::FromTicks(std::strtoll(PQgetvalue(res, row, gross), nullptr, 10));
      benchmark::DoNotOptimize(PQgetvalue(res, row, list));
      text += static_cast<std::size_t>(PQgetlength(res, row, list));
    }
    benchmark::DoNotOptimize(total);
    benchmark::DoNotOptimize(ids + static_cast<std::int64_t>(text));
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// Opening the whole payment journal as a table set, as a host does for
// each paycheck, and asking its row count.
void OpenPaymentJournalTable(benchmark::State& state, Backend backend) {
  Database* db = Journal(state, backend);
  if (db == nullptr) return;
  for (auto _ : state) {
    auto rs = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
    benchmark::DoNotOptimize(rs->RecordCount());
  }
}

// The same with SQLite alone, statements prepared once: the first row id
// and the count.
void BM_BareFirstIdAndCount_sqlite(benchmark::State& state) {
  sqlite3* h = Handle(*Journal(state, Backend::kSqlite));
  sqlite3_stmt* first = nullptr;
  sqlite3_stmt* count = nullptr;
  sqlite3_prepare_v2(h, "SELECT rowid FROM \"Payment Journal\" ORDER BY rowid LIMIT 1", -1, &first, nullptr);
  sqlite3_prepare_v2(h, "SELECT count(*) FROM \"Payment Journal\"", -1, &count, nullptr);
  for (auto _ : state) {
    for (sqlite3_stmt* s : {first, count}) {
      if (sqlite3_step(s) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_int64(s, 0));
      sqlite3_reset(s);
    }
  }
  sqlite3_finalize(first);
  sqlite3_finalize(count);
}

// The same with libpq alone, statements prepared once.
void BM_BareFirstIdAndCount_postgresql(benchmark::State& state) {
  const PgConn conn = BareJournal(state);
  if (!conn) return;
  PgResult(PQprepare(conn.get(), "first", "SELECT id FROM \"payment journal\" ORDER BY id LIMIT 1", 0, nullptr));
  PgResult(PQprepare(conn.get(), "count", "SELECT count(*) FROM \"payment journal\"", 0, nullptr));
  for (auto _ : state) {
    for (const char* s : {"first", "count"}) {
      const PgResult r(PQexecPrepared(conn.get(), s, 0, nullptr, nullptr, nullptr, 0));
      benchmark::DoNotOptimize(PQgetvalue(r.get(), 0, 0));
    }
  }
}

const bool registered = [] {
  const auto sizes = [](benchmark::internal::Benchmark* b) { b->Arg(1)->Arg(10)->Arg(100); };
  OnBothBackends("BM_YearToDateSum", YearToDateSum, [&](auto* b) { sizes(b->Unit(benchmark::kMicrosecond)); });
  OnBothBackends("BM_ForwardOnlyScan", ForwardOnlyScan, [&](auto* b) { sizes(b->Unit(benchmark::kMillisecond)); });
  OnBothBackends("BM_OpenPaymentJournalTable", OpenPaymentJournalTable,
                 [&](auto* b) { sizes(b->Unit(benchmark::kMicrosecond)); });
  for (auto* b : {benchmark::RegisterBenchmark("BM_BareYearToDateSum/sqlite", BM_BareYearToDateSum_sqlite),
                  benchmark::RegisterBenchmark("BM_BareYearToDateSum/postgresql", BM_BareYearToDateSum_postgresql),
                  benchmark::RegisterBenchmark("BM_BareFirstIdAndCount/sqlite", BM_BareFirstIdAndCount_sqlite),
                  benchmark::RegisterBenchmark("BM_BareFirstIdAndCount/postgresql",
                                               BM_BareFirstIdAndCount_postgresql)}) {
    sizes(b->Unit(benchmark::kMicrosecond));
  }
  for (auto* b : {benchmark::RegisterBenchmark("BM_BareForwardOnlyScan/sqlite", BM_BareForwardOnlyScan_sqlite),
                  benchmark::RegisterBenchmark("BM_BareForwardOnlyScan/postgresql",
                                               BM_BareForwardOnlyScan_postgresql)}) {
    sizes(b->Unit(benchmark::kMillisecond));
  }
  return true;
}();

}  // namespace
}  // namespace veltrane::bench
