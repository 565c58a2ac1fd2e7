// The year-to-date sum a paycheck takes several times, and a forward-only
// scan of the whole payment journal, each beside the same statement run with
// SQLite alone, on journals of 1,040, 10,400 and 104,000 rows.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "common/sql_translate.h"
#include "common/sqlite_recordsets.h"
#include "payroll_journal.h"

namespace {
// Live and peak bytes of this program's own heap, to show a scan holds
// nothing per row.
std::atomic<long long> g_live{0}, g_peak{0};
}  // namespace

void* operator new(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  const long long live = g_live += static_cast<long long>(malloc_usable_size(p));
  long long peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return p;
}
// The replacement operator new allocates with malloc, so free is its match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  if (p) g_live -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace veltrane::bench {
namespace {

// Journals of 1, 10 and 100 years x 20 payees: 1,040, 10,400 and 104,000
// rows, each with 52 checks of payee 7 in 2004.
Database& Journal(int years) {
  static std::map<int, std::unique_ptr<Database>> journals;
  auto& db = journals[years];
  if (!db) db = BuildJournal(":memory:", years, 20);
  return *db;
}

// The connection under the database, for the bare SQLite counterparts.
sqlite3* Handle(Database& db) { return dynamic_cast<sqlite::Connection&>(db).handle(); }

const std::string kYearToDateSql =
    "SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='" + QuoteName(PayeeName(7)) +
    "' AND [paid]= True AND [void] = False AND [end_period]>=#1/1/04# AND [end_period] <=#12/31/04#";

// The year-to-date sum as a paycheck takes it: open, read, close.
void BM_YearToDateSum(benchmark::State& state) {
  Database& db = Journal(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto rs = db.OpenRecordset(kYearToDateSql, RecordsetType::kForwardOnly);
    benchmark::DoNotOptimize(rs->Field("GrossYTD").ToMoney());
    rs->Close();
  }
}
BENCHMARK(BM_YearToDateSum)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// The same statement with SQLite alone, prepared once.
void BM_BareYearToDateSum(benchmark::State& state) {
  sqlite3* h = Handle(Journal(static_cast<int>(state.range(0))));
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
BENCHMARK(BM_BareYearToDateSum)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

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

// A forward-only scan reading the five fields a statement reads of each
// row, with the peak heap it takes beyond the set itself.
void BM_ForwardOnlyScan(benchmark::State& state) {
  Database& db = Journal(static_cast<int>(state.range(0)));
  long long rows = 0, growth = 0;
  for (auto _ : state) {
    const long long before = g_live.load();
    g_peak = before;
    auto rs = db.OpenRecordset(kScanSql, RecordsetType::kForwardOnly);
    Money total;
    std::size_t text = 0;
    std::int64_t ids = 0;
    for (rows = 0; !rs->IsEOF(); rs->MoveNext(), ++rows) {
      ids += rs->Field("ID").ToInt();
      benchmark::DoNotOptimize(rs->Field("Date").ToDate());
      text += rs->Field("payee").ToText().size();
      total += rs->Field("gross_pay").ToMoney();
      text += rs->Field("withholding_liability_data").ToText().size();
    }
    benchmark::DoNotOptimize(total);
    benchmark::DoNotOptimize(ids + static_cast<std::int64_t>(text));
    growth = g_peak.load() - before;
    rs->Close();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["peak_heap_bytes"] = static_cast<double>(growth);
}
BENCHMARK(BM_ForwardOnlyScan)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// The same SQL text stepped with SQLite alone, reading the same five
// columns as SQLite hands them out (no dates parsed, no texts copied).
void BM_BareForwardOnlyScan(benchmark::State& state) {
  sqlite3* h = Handle(Journal(static_cast<int>(state.range(0))));
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
BENCHMARK(BM_BareForwardOnlyScan)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// Opening the whole payment journal as a table set, as a host does for
// each paycheck, and asking its row count.
void BM_OpenPaymentJournalTable(benchmark::State& state) {
  Database& db = Journal(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto rs = db.OpenRecordset("Payment Journal", RecordsetType::kTable);
    benchmark::DoNotOptimize(rs->RecordCount());
  }
}
BENCHMARK(BM_OpenPaymentJournalTable)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// The same with SQLite alone, statements prepared once: the first row id
// and the count.
void BM_BareFirstIdAndCount(benchmark::State& state) {
  sqlite3* h = Handle(Journal(static_cast<int>(state.range(0))));
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
BENCHMARK(BM_BareFirstIdAndCount)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrane::bench
