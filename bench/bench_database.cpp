// The year-to-date sum a paycheck takes five times, and a forward-only scan
// of the whole payment journal, on 10 years x 20 payees x 52 weekly checks.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "common/sql_translate.h"
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

Database& Journal(int years) {
  static auto ten = BuildJournal(":memory:", 10, 20);
  static auto one = BuildJournal(":memory:", 1, 20);
  return years == 10 ? *ten : *one;
}

void BM_YearToDateGrossSum(benchmark::State& state) {
  Database& db = Journal(10);
  const std::string sql =
      "SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='" + QuoteName(PayeeName(7)) +
      "' AND [paid]= True AND [void] = False AND [end_period]>=#1/1/04# AND [end_period] <=#12/31/04#";
  for (auto _ : state) {
    auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
    benchmark::DoNotOptimize(rs->Field("GrossYTD").ToMoney());
    rs->Close();
  }
}
BENCHMARK(BM_YearToDateGrossSum)->Unit(benchmark::kMicrosecond);

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

// Arg: years of checks (1 = 1,040 rows, 10 = 10,400 rows).
void BM_ForwardOnlyScan(benchmark::State& state) {
  Database& db = Journal(static_cast<int>(state.range(0)));
  long long rows = 0, growth = 0;
  for (auto _ : state) {
    const long long before = g_live.load();
    g_peak = before;
    auto rs = db.OpenRecordset("SELECT * FROM [Payment Journal] WHERE Void=False", RecordsetType::kForwardOnly);
    Money total;
    for (rows = 0; !rs->IsEOF(); rs->MoveNext(), ++rows) total += rs->Field("gross_pay").ToMoney();
    benchmark::DoNotOptimize(total);
    growth = g_peak.load() - before;
    rs->Close();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["peak_heap_bytes"] = static_cast<double>(growth);
}
BENCHMARK(BM_ForwardOnlyScan)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane::bench
