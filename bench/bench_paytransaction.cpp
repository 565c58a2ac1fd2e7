// One paycheck cycle as a host runs it (set up, show, pay) on payment
// journals of 1,040, 10,400 and 104,000 rows, in an SQLite database and on
// a PostgreSQL server, beside the least database work of a check done with
// SQLite or libpq alone.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "bench_backends.h"
#include "common/sqlite_recordsets.h"
#include "paytransaction/memory_paycheck.h"
#include "paytransaction/transaction.h"

namespace veltrane::bench {
namespace {

std::int64_t NewestId(Database& db) {
  auto rs = db.OpenRecordset("SELECT Max(ID) AS Newest FROM [Payment Journal]",
                             RecordsetType::kForwardOnly);
  const std::int64_t id = rs->Field("Newest").ToInt();
  rs->Close();
  return id;
}

// Set up, show and pay a check, the host's five record sets opened once.
// The stored check is removed again outside the timing, so every
// iteration sees the same journal.
void PaycheckCycle(benchmark::State& state, Backend backend) {
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  Database* journal = Journal(state, backend);
  if (journal == nullptr) return;
  Database& db = *journal;
  const std::string removal = "DELETE FROM [Payment Journal] WHERE ID > " + std::to_string(NewestId(db));
  auto ts = db.OpenRecordset("Tax Settings", RecordsetType::kTable);
  auto wj = db.OpenRecordset("Work Journal", RecordsetType::kTable);
  auto boss = db.OpenRecordset("Employer", RecordsetType::kTable);
  auto pj = db.OpenRecordset("Payment Journal", RecordsetType::kTable);
  auto people = db.OpenRecordset("Assistants", RecordsetType::kTable);
  FixedClock clock(MakeDate(2004, 12, 27));
  MemoryPayCheck control;
  clsTransaction tx(clock);
  for (auto _ : state) {
    tx.InitTransaction(db, *ts, *wj, *boss, *pj, *people, &control, PayeeName(7), "12/20/04",
                       "12/26/04", "1001", false, "");
    tx.DisplayCurrentAsCheck();
    if (!tx.ExecutePayment()) state.SkipWithError("payment not stored");
    state.PauseTiming();
    db.Execute(removal);
    state.ResumeTiming();
  }
  state.counters["journal_rows"] = static_cast<double>(NewestId(db));
}

// The same cycle with the five record sets opened for each check, as the
// host's paycheck command does.
void PaycheckCycleOpeningSets(benchmark::State& state, Backend backend) {
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  Database* journal = Journal(state, backend);
  if (journal == nullptr) return;
  Database& db = *journal;
  const std::string removal = "DELETE FROM [Payment Journal] WHERE ID > " + std::to_string(NewestId(db));
  FixedClock clock(MakeDate(2004, 12, 27));
  MemoryPayCheck control;
  for (auto _ : state) {
    auto ts = db.OpenRecordset("Tax Settings", RecordsetType::kTable);
    auto wj = db.OpenRecordset("Work Journal", RecordsetType::kTable);
    auto boss = db.OpenRecordset("Employer", RecordsetType::kTable);
    auto pj = db.OpenRecordset("Payment Journal", RecordsetType::kTable);
    auto people = db.OpenRecordset("Assistants", RecordsetType::kTable);
    clsTransaction tx(clock);
    tx.InitTransaction(db, *ts, *wj, *boss, *pj, *people, &control, PayeeName(7), "12/20/04",
                       "12/26/04", "1001", false, "");
    tx.DisplayCurrentAsCheck();
    if (!tx.ExecutePayment()) state.SkipWithError("payment not stored");
    state.PauseTiming();
    db.Execute(removal);
    state.ResumeTiming();
  }
}

// The least database work a check needs, with SQLite alone and statements
// prepared once: the period's hours, the assistant's checks of the year
// read once through the payee and period index (every column the check's
// year-to-date amounts come from), and one row stored.
void BM_BarePaycheckReadsAndWrite_sqlite(benchmark::State& state) {
  Database& db = *Journal(state, Backend::kSqlite);
  const std::string removal = "DELETE FROM [Payment Journal] WHERE ID > " + std::to_string(NewestId(db));
  sqlite3* h = dynamic_cast<sqlite::Connection&>(db).handle();
  const auto prepare = [&](const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(h, sql, -1, &s, nullptr) != SQLITE_OK)
      state.SkipWithError(sqlite3_errmsg(h));
    return s;
  };
  sqlite3_stmt* hours = prepare(
      "SELECT sum(RegHours), sum(OTHours) FROM \"Work Journal\" WHERE Name = ?1 AND PaidFor = 0 "
      "AND TimeInDate >= '2004-12-20' AND TimeInDate <= '2004-12-26'");
  sqlite3_stmt* year = prepare(
      "SELECT gross_regular, gross_overtime, gross_pay, net_pay, eic_pay, "
      "withholding_liability_data, "
      "supplemental_pay_data FROM \"Payment Journal\" WHERE payee = ?1 AND Paid <> 0 AND Void = 0 "
      "AND end_period >= '2004-01-01' AND end_period < '2005-01-01'");
  sqlite3_stmt* insert = prepare(
      "INSERT INTO \"Payment Journal\" (\"Date\", payee, employer_info, employee_info, "
      "check_number, "
      "start_period, end_period, Earnings, Deductions, gross_overtime, gross_regular, gross_pay, "
      "gross_pay_ytd, "
      "net_pay, net_pay_ytd, withholding_liability_data, supplemental_pay_data, eic_pay, Paid, "
      "Void) "
      "VALUES ('2004-12-27', ?1, 'Pat Moss', 'First Last', '1001', '2004-12-20', '2004-12-26', "
      "'Regular|30|10|300|15900|', 'FIT|21.607|1145.171|', 0, 3000000, 3000000, 159000000, "
      "2524430, "
      "133795790, 'FIT|21.607|0|', '', 0, 1, 0)");
  const std::string payee = PayeeName(7);
  for (auto _ : state) {
    sqlite3_bind_text(hours, 1, payee.c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(hours) == SQLITE_ROW)
      benchmark::DoNotOptimize(sqlite3_column_double(hours, 0));
    sqlite3_reset(hours);
    sqlite3_bind_text(year, 1, payee.c_str(), -1, SQLITE_STATIC);
    std::int64_t total = 0;
    std::size_t text = 0;
    while (sqlite3_step(year) == SQLITE_ROW) {
      for (int c = 0; c < 5; ++c) total += sqlite3_column_int64(year, c);
      benchmark::DoNotOptimize(sqlite3_column_text(year, 5));
      benchmark::DoNotOptimize(sqlite3_column_text(year, 6));
      text +=
          static_cast<std::size_t>(sqlite3_column_bytes(year, 5) + sqlite3_column_bytes(year, 6));
    }
    sqlite3_reset(year);
    benchmark::DoNotOptimize(total + static_cast<std::int64_t>(text));
    sqlite3_bind_text(insert, 1, payee.c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(insert) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(h));
    sqlite3_reset(insert);
    state.PauseTiming();
    db.Execute(removal);
    state.ResumeTiming();
  }
  for (sqlite3_stmt* s : {hours, year, insert}) sqlite3_finalize(s);
}

// The same with libpq alone.
void BM_BarePaycheckReadsAndWrite_postgresql(benchmark::State& state) {
  Database* db = Journal(state, Backend::kPostgresql);
  if (db == nullptr) return;
  const std::string removal = "DELETE FROM [Payment Journal] WHERE ID > " + std::to_string(NewestId(*db));
  const PgConn conn = BareConnection(ServerJournal(static_cast<int>(state.range(0)), 20));
  const auto prepare = [&](const char* name, const char* sql) {
    const PgResult r(PQprepare(conn.get(), name, sql, 1, nullptr));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) state.SkipWithError(PQerrorMessage(conn.get()));
  };
  prepare("hours",
          "SELECT sum(reghours), sum(othours) FROM \"work journal\" WHERE name = $1 AND NOT paidfor "
          "AND timeindate >= '2004-12-20' AND timeindate <= '2004-12-26'");
  prepare("year",
          "SELECT gross_regular, gross_overtime, gross_pay, net_pay, eic_pay, withholding_liability_data, "
          "supplemental_pay_data FROM \"payment journal\" WHERE payee = $1 AND paid AND NOT void "
          "AND end_period >= '2004-01-01' AND end_period < '2005-01-01'");
  prepare("insert",
          "INSERT INTO \"payment journal\" (\"date\", payee, employer_info, employee_info, check_number, "
          "start_period, end_period, earnings, deductions, gross_overtime, gross_regular, gross_pay, gross_pay_ytd, "
          "net_pay, net_pay_ytd, withholding_liability_data, supplemental_pay_data, eic_pay, paid, void) "
          "VALUES ('2004-12-27', $1, 'Pat Moss', 'First Last', '1001', '2004-12-20', '2004-12-26', "
          "'Regular|30|10|300|15900|', 'FIT|21.607|1145.171|', 0, 3000000, 3000000, 159000000, 2524430, "
          "133795790, 'FIT|21.607|0|', '', 0, true, false)");
  const std::string payee = PayeeName(7);
  const char* values[] = {payee.c_str()};
  for (auto _ : state) {
    const PgResult hours(PQexecPrepared(conn.get(), "hours", 1, values, nullptr, nullptr, 0));
    benchmark::DoNotOptimize(std::strtod(PQgetvalue(hours.get(), 0, 0), nullptr));
    const PgResult year(PQexecPrepared(conn.get(), "year", 1, values, nullptr, nullptr, 0));
    std::int64_t total = 0;
    std::size_t text = 0;
    for (int row = 0, n = PQntuples(year.get()); row < n; ++row) {
      for (int c = 0; c < 5; ++c) total += std::strtoll(PQgetvalue(year.get(), row, c), nullptr, 10);
      text += static_cast<std::size_t>(PQgetlength(year.get(), row, 5) + PQgetlength(year.get(), row, 6));
    }
    benchmark::DoNotOptimize(total + static_cast<std::int64_t>(text));
    const PgResult insert(PQexecPrepared(conn.get(), "insert", 1, values, nullptr, nullptr, 0));
    if (PQresultStatus(insert.get()) != PGRES_COMMAND_OK) state.SkipWithError(PQerrorMessage(conn.get()));
    state.PauseTiming();
    db->Execute(removal);
    state.ResumeTiming();
  }
}

const bool registered = [] {
  const auto sizes = [](benchmark::internal::Benchmark* b) {
    b->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
  };
  OnBothBackends("BM_PaycheckCycle", PaycheckCycle, sizes);
  OnBothBackends("BM_PaycheckCycleOpeningSets", PaycheckCycleOpeningSets, sizes);
  sizes(benchmark::RegisterBenchmark("BM_BarePaycheckReadsAndWrite/sqlite", BM_BarePaycheckReadsAndWrite_sqlite));
  sizes(benchmark::RegisterBenchmark("BM_BarePaycheckReadsAndWrite/postgresql",
                                     BM_BarePaycheckReadsAndWrite_postgresql));
  return true;
}();

}  // namespace
}  // namespace veltrane::bench
