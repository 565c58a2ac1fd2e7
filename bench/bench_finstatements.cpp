// Every statement of the catalogue for one calendar year of "All
// Assistants" (Form 941 for each of its quarters), in an SQLite database and
// on a PostgreSQL server, beside a bare SQLite or libpq scan of the same
// year's rows in the same run. Journals of 1, 10 and 100 years x
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
#include "bench_backends.h"
#include "finstatements/memory_controls.h"

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
void AddStateTaxes(Database& db) {
  db.Execute(
      "BEGIN;"
      "UPDATE \"Tax Settings\" SET SITRate='3', SITSingle='1000', SITMarried='500',"
      " SDIUseExemptions='True', SDISingle='100', SUIBase='7000', SUIEmployerRate='2.7',"
      " SUIUseExemptions='True', SUISingle='200', SUIState='IL',"
      " OtherWithholdings='Union dues||1200|1|0.5|1|300|200||';"
      "UPDATE Assistants SET Withholdings = Withholdings ||"
      " 'SIT|Single|1|SUI|Single|1|Union dues|Single|1|';"
      "UPDATE \"Payment Journal\" SET withholding_liability_data = withholding_liability_data ||"
      " 'SIT|6|0|SUI|0|8.1|Union dues|3|1.5|';"
      "COMMIT;");
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
    AddStateTaxes(*BuildJournal(it->second, years, payees));
  }
  return it->second;
}

// The database of the journal of `years` x `payees`; null without a server.
std::unique_ptr<Database> OpenJournal(benchmark::State& state, Backend backend, int years, int payees) {
  if (backend == Backend::kSqlite) return OpenSqliteDatabase(JournalFile(years, payees));
  if (!ServerOrSkip(state)) return nullptr;
  return OpenPostgresDatabase(ServerJournal(years, payees, AddStateTaxes, "_state_taxes"));
}

// The rows of 2004 read with SQLite alone: the fields a statement reads.
void BM_BareYearScan_sqlite(benchmark::State& state) {
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

// The same with libpq alone, the year's rows as one result.
void BM_BareYearScan_postgresql(benchmark::State& state) {
  if (!ServerOrSkip(state)) return;
  const PgConn conn = BareConnection(
      ServerJournal(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), AddStateTaxes, "_state_taxes"));
  const char* sql =
      "SELECT * FROM \"payment journal\" WHERE \"date\" >= '2004-01-01' AND \"date\" <= '2004-12-31' AND NOT void";
  long long rows = 0;
  for (auto _ : state) {
    const PgResult r(PQexec(conn.get(), sql));
    long long bytes = 0;
    rows = PQntuples(r.get());
    for (int row = 0; row < rows; ++row) {
      for (int c = 0, n = PQnfields(r.get()); c < n; ++c) bytes += PQgetlength(r.get(), row, c);
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["rows_of_year"] = static_cast<double>(rows);
}

void Statement(benchmark::State& state, Backend backend) {
  const StatementRun& run = kStatements[state.range(0)];
  state.SetLabel(run.label);
  auto db = OpenJournal(state, backend, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  if (!db) return;
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

const bool registered = [] {
  for (auto* b : {benchmark::RegisterBenchmark("BM_BareYearScan/sqlite", BM_BareYearScan_sqlite),
                  benchmark::RegisterBenchmark("BM_BareYearScan/postgresql", BM_BareYearScan_postgresql)}) {
    b->Apply([](benchmark::internal::Benchmark* sizes) { JournalSizes(sizes, false); })
        ->ArgNames({"years", "payees"})
        ->Unit(benchmark::kMillisecond);
  }
  OnBothBackends("BM_Statement", Statement, [](benchmark::internal::Benchmark* b) {
    b->Apply([](benchmark::internal::Benchmark* sizes) { JournalSizes(sizes, true); })
        ->ArgNames({"type", "years", "payees"})
        ->Unit(benchmark::kMillisecond);
  });
  return true;
}();

}  // namespace
}  // namespace veltrane::bench
