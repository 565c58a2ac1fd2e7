// The year-end package of 2004 for 20 assistants (every statement of the
// catalogue as a page, the index and the tsv), on journals of 1, 10 and 100
// years, beside a bare SQLite scan of the year's rows in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "host/household/year_end.h"
#include "host/html/page_files.h"
#include "payroll_journal.h"

namespace veltrane::bench {
namespace {

namespace fs = std::filesystem;

std::string JournalFile(int years) {
  const std::string path =
      (fs::temp_directory_path() / ("veltrane-bench-year-end-" + std::to_string(years) + ".db"))
          .string();
  if (!fs::exists(path)) BuildJournal(path, years, 20);
  return path;
}

void BM_BareYearScan(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(JournalFile(static_cast<int>(state.range(0))).c_str(), &db, SQLITE_OPEN_READONLY,
                  nullptr);
  for (auto _ : state) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT * FROM \"Payment Journal\" WHERE \"Date\" >= '2004-01-01' AND "
                       "\"Date\" <= '2004-12-31' AND Void = 0",
                       -1, &stmt, nullptr);
    long long bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c)
        bytes += sqlite3_column_bytes(stmt, c);
    }
    benchmark::DoNotOptimize(bytes);
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
}
BENCHMARK(BM_BareYearScan)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_YearEndPackage(benchmark::State& state) {
  auto db = OpenSqliteDatabase(JournalFile(static_cast<int>(state.range(0))));
  const fs::path folder = fs::temp_directory_path() / "veltrane-bench-year-end";
  int pages = 0;
  for (auto _ : state) {
    pages = html::WriteYearEndPackage(household::MakeYearEnd(*db, {2004, ""}), folder.string(),
                                      MakeDate(2005, 1, 15))
                .pages;
  }
  fs::remove_all(folder);
  state.counters["pages"] = pages;
}
BENCHMARK(BM_YearEndPackage)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane::bench
