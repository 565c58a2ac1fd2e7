// Every statement of the catalogue for one calendar year of "All
// Assistants" (Form 941 for each of its quarters), beside a bare SQLite scan
// of the same year's rows in the same run. Journals of 1, 10 and 100 years x
// 20 payees (1,040 to 104,000 rows, 1,040 in the year) show the cost does
// not grow with the journal; 10 years x 2, 20 and 200 payees show it grows
// with the year's rows only linearly.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "common/locale.h"
#include "finstatements/fin_stmnts.h"
#include "finstatements/memory_controls.h"
#include "payroll_journal.h"

namespace veltrane::bench {
namespace {

// A statement over a period of 2004: the year, or for Form 941 a quarter.
struct StatementRun {
  const char* label;
  const char* type;
  const char* from = "1/1/2004";
  const char* to = "12/31/2004";
};
const StatementRun kStatements[] = {
    {"Summary", "Summary"},
    {"Detailed", "Detailed"},
    {"Soc. Sec.", "Soc. Sec."},
    {"Medicare", "Medicare"},
    {"FIT", "FIT"},
    {"FUTA", "FUTA"},
    {"EIC", "EIC"},
    {"Form 941 Q1", "Form 941", "1/1/2004", "3/31/2004"},
    {"Form 941 Q2", "Form 941", "4/1/2004", "6/30/2004"},
    {"Form 941 Q3", "Form 941", "7/1/2004", "9/30/2004"},
    {"Form 941 Q4", "Form 941", "10/1/2004", "12/31/2004"},
    {"Form 940", "Form 940"},
    {"Form 940EZ", "Form 940EZ"},
    {"Form 1040 Schedule H", "Form 1040 Schedule H"},
    {"SIT", "SIT"},
    {"SDI", "SDI"},
    {"SUI", "SUI"},
    {"Union dues", "Union dues"},
    {"Bonus", "Bonus"},
};

// The state taxes and an employer-defined withholding, each with wage base
// or allowances so that its statement takes every step it can (the base
// per payee, every payee's allowance looked up): settings, every
// assistant's elections and every check's entries.
void AddStateTaxes(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  const char* sql =
      "BEGIN;"
      "UPDATE \"Tax Settings\" SET SITRate='3', SITSingle='1000', SITMarried='500',"
      " SDIUseExemptions='True', SDISingle='100', SUIBase='7000', SUIEmployerRate='2.7',"
      " SUIUseExemptions='True', SUISingle='200', SUIState='IL',"
      " OtherWithholdings='Union dues||1200|1|0.5|1|300|200||';"
      "UPDATE Assistants SET Withholdings = Withholdings ||"
      " 'SIT|Single|1|SUI|Single|1|Union dues|Single|1|';"
      "UPDATE \"Payment Journal\" SET withholding_liability_data = withholding_liability_data ||"
      " 'SIT|6|0|SUI|0|8.1|Union dues|3|1.5|';"
      "COMMIT;";
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
  sqlite3_close(db);
}

// The journal file of `years` x `payees`, built once per run.
const std::string& JournalFile(int years, int payees) {
  static std::map<std::pair<int, int>, std::string> files;
  auto [it, added] = files.try_emplace({years, payees});
  if (added) {
    it->second = (std::filesystem::temp_directory_path() /
                  ("veltrane-bench-" + std::to_string(years) + "x" + std::to_string(payees) + ".db"))
                     .string();
    std::filesystem::remove(it->second);
    BuildJournal(it->second, years, payees);
    AddStateTaxes(it->second);
  }
  return it->second;
}

// The rows of 2004 read with SQLite alone: the fields a statement reads.
void BM_BareYearScan(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(JournalFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))).c_str(),
                  &db, SQLITE_OPEN_READONLY, nullptr);
  const char* sql =
      "SELECT * FROM \"Payment Journal\" WHERE \"Date\" >= '2004-01-01' AND \"Date\" <= "
      "'2004-12-31' AND Void = 0";
  long long rows = 0;
  for (auto _ : state) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    long long sum = 0, text = 0;
    for (rows = 0; sqlite3_step(stmt) == SQLITE_ROW; ++rows) {
      for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
        if (sqlite3_column_type(stmt, c) == SQLITE_INTEGER) sum += sqlite3_column_int64(stmt, c);
        else text += sqlite3_column_bytes(stmt, c);
      }
    }
    benchmark::DoNotOptimize(sum + text);
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  state.counters["rows_of_year"] = static_cast<double>(rows);
}

void BM_Statement(benchmark::State& state) {
  const StatementRun& run = kStatements[state.range(0)];
  state.SetLabel(run.label);
  auto db = OpenSqliteDatabase(
      JournalFile(static_cast<int>(state.range(1)), static_cast<int>(state.range(2))));
  const FixedLocaleProvider us(kLocaleEnUs);
  MemorySortList sort;
  MemoryListView view;
  clsFinStmnts statements(nullptr, us);
  statements.Init(*db, sort, view);
  // The catalogue tells the kinds of supplemental pay from other names.
  MemorySelector selector;
  statements.PopulateStatementTypes(selector);
  for (auto _ : state) {
    std::string t = run.type, who = "All Assistants", from = run.from, to = run.to;
    statements.DoStatement(t, who, from, to);
    benchmark::DoNotOptimize(view.rows().data());
  }
  state.counters["rows_shown"] = static_cast<double>(view.rows().size());
}

constexpr int kTypes = static_cast<int>(std::size(kStatements));

void JournalSizes(benchmark::internal::Benchmark* b, bool with_type) {
  for (const auto& [years, payees] :
       {std::pair{1, 20}, {10, 20}, {100, 20}, {10, 2}, {10, 200}}) {
    if (!with_type) {
      b->Args({years, payees});
      continue;
    }
    for (int t = 0; t < kTypes; ++t) b->Args({t, years, payees});
  }
}

BENCHMARK(BM_BareYearScan)
    ->Apply([](benchmark::internal::Benchmark* b) { JournalSizes(b, false); })
    ->ArgNames({"years", "payees"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Statement)
    ->Apply([](benchmark::internal::Benchmark* b) { JournalSizes(b, true); })
    ->ArgNames({"type", "years", "payees"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane::bench
