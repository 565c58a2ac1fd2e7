// An agent's households on one server: a week's pay run over all of them,
// one household's paycheck among many, and the quarter's figures, each at
// several numbers of households and beside a bare-libpq floor.
//
// The households are those of VELTRANE_AGENT_HOUSEHOLDS (default "10,100";
// "10,100,1000,10000" for the full table). Each has two assistants and a
// year of weekly checks (50 weeks, 100 checks: a million journal rows at
// 10,000 households). One household's year is paid through the household
// layer once; the others are its rows cloned on the server with INSERT ...
// SELECT under roles of their own, as an import would store them.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "bench_backends.h"
#include "common/agent_layout.h"
#include "common/amount_text.h"
#include "common/display.h"
#include "common/payroll_layout.h"
#include "host/agent/households.h"
#include "host/agent/pay_run.h"
#include "host/agent/quarter.h"
#include "host/household/hours.h"
#include "host/household/journal.h"
#include "host/household/paycheck.h"

namespace veltrane::bench {
namespace {

constexpr int kHistoryWeeks = 50;
const char* const kAssistants[] = {"Ann Lee", "Bob Ray"};

Date WeekStart(int week) {
  return Date(std::chrono::sys_days(MakeDate(2004, 1, 5)) + std::chrono::days(7 * week));
}
Date WeekEnd(int week) {
  return Date(std::chrono::sys_days(WeekStart(week)) + std::chrono::days(6));
}

void Native(Database& db, const std::string& sql) { db.Execute(sql); }

// `uri` logging in as `user`.
std::string UriWithUser(std::string uri, const std::string& user) {
  const std::size_t from = uri.find("//") + 2;
  return uri.replace(from, uri.find('@') - from, user);
}

// The template household: employer, weekly settings, two assistants, and
// its year paid check by check through the household layer.
void FillTemplate(Database& db) {
  {
    TransactionScope tx(db);
    auto ts = db.OpenRecordset("Tax Settings", RecordsetType::kTable);
    ts->AddNew();
    ts->SetField("PayrollPeriod", "0");
    ts->Update();
    auto boss = db.OpenRecordset("Employer", RecordsetType::kTable);
    boss->AddNew();
    boss->SetField("first_name", "Pat");
    boss->SetField("last_name", "Moss");
    boss->SetField("federal_employer_id", "36-4417520");
    boss->Update();
    auto people = db.OpenRecordset("Assistants", RecordsetType::kTable);
    for (const char* name : kAssistants) {
      people->AddNew();
      people->SetField("Name", name);
      people->SetField("regular_hourly_rate", ParseAmount("10"));
      people->SetField("overtime_hourly_rate", ParseAmount("15"));
      people->SetField("Withholdings", "FIT|Single|1|Soc. Sec.|||Medicare|||FUTA|||");
      people->Update();
    }
    tx.Commit();
  }
  for (int week = 0; week < kHistoryWeeks; ++week) {
    const FixedClock payday(WeekEnd(week));
    for (const char* name : kAssistants) {
      const auto request = household::CheckPaycheckRequest(
          db, {name, FormatShortDate(WeekStart(week)), FormatShortDate(WeekEnd(week)), "", "40"});
      household::PayPaycheck(db, payday, request);
    }
  }
}

// The agent's database of `households` households, built once.
struct AgentData {
  std::string uri;
  std::vector<agent::Household> households;
  int next_week = kHistoryWeeks;  // the next week no pay run has paid
};

AgentData& Build(int households) {
  static std::map<int, AgentData> built;
  auto [it, added] = built.try_emplace(households);
  if (!added) return it->second;
  AgentData& data = it->second;
  const std::string name = "agent_" + std::to_string(households);
  OpenPostgresDatabase(BenchServer::Get().Uri(""))->Execute("CREATE DATABASE " + name);
  std::string uri = BenchServer::Get().Uri("");
  data.uri = uri.replace(uri.find("/postgres?"), 10, "/" + name + "?");
  auto agent = agent::OpenAgentDatabase(data.uri);
  agent::InitAgent(*agent);
  const agent::Household first = agent::AddHousehold(*agent, "Household 1", "36-4417520");
  {
    agent::HouseholdRole acting(*agent, first);
    FillTemplate(*agent);
  }
  // In transactions of 500, as each role takes locks until its transaction ends.
  for (int from = 2; from <= households; from += 500) {
    TransactionScope tx(*agent);
    for (int i = from; i < from + 500 && i <= households; ++i)
      AddHouseholdRole(*agent, "Household " + std::to_string(i), "36-4417520");
    tx.Commit();
  }
  for (const layout::Table& table : layout::PayrollTables()) {
    std::string columns;
    for (const layout::Field& field : table.fields)
      columns += ", t." + QuotedName(field.name, SqlDialect::kPostgresql);
    const std::string base = "agent_rows." + QuotedName(table.name, SqlDialect::kPostgresql);
    Native(*agent, "INSERT INTO " + base + " SELECT h.role" + columns + " FROM " + base +
                       " AS t, agent.households AS h WHERE t.household = '" + first.role +
                       "' AND h.role <> '" + first.role + "'");
  }
  Native(*agent, "VACUUM ANALYZE");
  data.households = agent::ListHouseholds(*agent);
  return data;
}

// Records the hours of the next unpaid week for every household at once,
// on the server; returns that week.
int NextWeekOfHours(AgentData& data) {
  const int week = data.next_week++;
  auto agent = OpenPostgresDatabase(data.uri);
  std::string days;
  for (int d = 0; d < 5; ++d) {
    days += std::string(days.empty() ? "" : ", ") + "(DATE '" +
            FormatIsoDate(Date(std::chrono::sys_days(WeekStart(week)) + std::chrono::days(d))) +
            "')";
  }
  // IDs given here: the trigger would lock each household in this one
  // transaction, more locks than the server's table holds.
  Native(*agent,
         "INSERT INTO agent_rows.\"work journal\" (household, id, name, timeindate, reghours) "
         "SELECT h.role, coalesce(m.top, 0) + row_number() OVER (PARTITION BY h.role ORDER BY "
         "a.name, d.day), "
         "a.name, d.day, 8 FROM agent.households AS h JOIN agent_rows.assistants AS a ON "
         "a.household = h.role "
         "LEFT JOIN (SELECT household, max(id) AS top FROM agent_rows.\"work journal\" GROUP BY "
         "household) AS m "
         "ON m.household = h.role, (VALUES " +
             days + ") AS d(day)");
  Native(*agent, "ANALYZE agent_rows.\"work journal\"");
  return week;
}

std::vector<int> Sizes() {
  const char* text = std::getenv("VELTRANE_AGENT_HOUSEHOLDS");
  std::vector<int> sizes;
  std::stringstream in(text != nullptr ? text : "10,100");
  for (std::string n; std::getline(in, n, ',');) sizes.push_back(std::stoi(n));
  return sizes;
}

void PayRun(benchmark::State& state) {
  if (!ServerOrSkip(state)) return;
  AgentData& data = Build(static_cast<int>(state.range(0)));
  std::int64_t checks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const int week = NextWeekOfHours(data);
    const FixedClock payday(WeekEnd(week));
    state.ResumeTiming();
    const auto summary = agent::RunPayRun(
        data.uri, payday, {FormatShortDate(WeekStart(week)), FormatShortDate(WeekEnd(week)), 2});
    checks += summary.checks;
    if (!summary.refusals.empty()) state.SkipWithError(summary.refusals.begin()->first.c_str());
  }
  state.counters["checks"] =
      benchmark::Counter(static_cast<double>(checks), benchmark::Counter::kAvgIterations);
}

// The floor of a pay run on the server: per household the role taken, and
// per check a write transaction with the household's lock, one journal row
// and the week's hours marked paid, sent over bare libpq by two threads.
void BarePayRun(benchmark::State& state) {
  if (!ServerOrSkip(state)) return;
  AgentData& data = Build(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    const int week = NextWeekOfHours(data);
    state.ResumeTiming();
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
      PgConn conn = BareConnection(data.uri);
      const std::string from = FormatIsoDate(WeekStart(week)), to = FormatIsoDate(WeekEnd(week));
      for (std::size_t i; (i = next++) < data.households.size();) {
        PQclear(PQexec(
            conn.get(),
            ("SET ROLE " + data.households[i].role + "; SET search_path TO household").c_str()));
        for (const char* name : kAssistants) {
          const std::string n = name;
          PQclear(PQexec(
              conn.get(),
              ("BEGIN; SELECT pg_advisory_xact_lock(1448100185, hashtext(current_user)); "
               "INSERT INTO \"payment journal\" (payee, start_period, end_period, gross_pay, paid) "
               "VALUES ('" +
               n + "', '" + from + "', '" + to +
               "', 4000000, true); "
               "UPDATE \"work journal\" SET paidfor = true WHERE name = '" +
               n + "' AND timeindate BETWEEN '" + from + "' AND '" + to + "'; COMMIT")
                  .c_str()));
        }
        PQclear(PQexec(conn.get(), "RESET ROLE"));
      }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
  }
}

// One household's paycheck, prepared and paid (then voided, untimed, to
// pay again), as the household's own program pays it among N households.
void HouseholdCycle(benchmark::State& state) {
  if (!ServerOrSkip(state)) return;
  AgentData& data = Build(static_cast<int>(state.range(0)));
  auto db = OpenPostgresDatabase(UriWithUser(data.uri, data.households.front().role));
  const int week = kHistoryWeeks + 40;  // a week no pay run reaches
  std::vector<household::HoursEntry> hours;
  for (int d = 0; d < 5; ++d)
    hours.push_back({Date(std::chrono::sys_days(WeekStart(week)) + std::chrono::days(d)), "Ann Lee",
                     8, 0, false});
  household::SetHours(*db, hours);  // the same days each time the benchmark is run
  const FixedClock payday(WeekEnd(week));
  for (auto _ : state) {
    const auto request = household::CheckPaycheckRequest(
        *db, {"Ann Lee", FormatShortDate(WeekStart(week)), FormatShortDate(WeekEnd(week))});
    const auto outcome = household::PayPaycheck(*db, payday, request);
    state.PauseTiming();
    if (!outcome.paid)
      state.SkipWithError("not paid");
    else
      household::VoidCheck(*db, static_cast<std::int32_t>(outcome.check_id));
    state.ResumeTiming();
  }
}

void Quarter(benchmark::State& state) {
  if (!ServerOrSkip(state)) return;
  AgentData& data = Build(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(agent::AgentQuarter(data.uri, "2004", "1", 2));
}

// The floor of the quarter: the journal's quarter read by one aggregate
// over every household's rows.
void BareQuarter(benchmark::State& state) {
  if (!ServerOrSkip(state)) return;
  AgentData& data = Build(static_cast<int>(state.range(0)));
  PgConn conn = BareConnection(data.uri);
  for (auto _ : state) {
    PgResult r(PQexec(
        conn.get(),
        "SELECT household, sum(gross_pay), sum(net_pay), sum(eic_pay) FROM agent_rows.\"payment "
        "journal\" WHERE date BETWEEN '2004-01-01' AND '2004-03-31' AND NOT void GROUP BY "
        "household"));
    benchmark::DoNotOptimize(PQntuples(r.get()));
  }
}

const bool registered = [] {
  for (const int n : Sizes()) {
    const auto add = [n](const char* name, void (*fn)(benchmark::State&)) {
      benchmark::RegisterBenchmark(name, fn)
          ->Arg(n)
          ->Iterations(1)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    };
    add("AgentPayRun", PayRun);
    add("BarePayRun", BarePayRun);
    add("AgentQuarter", Quarter);
    add("BareQuarter", BareQuarter);
    benchmark::RegisterBenchmark("HouseholdCycle", HouseholdCycle)
        ->Arg(n)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(1.0);
  }
  return true;
}();

}  // namespace
}  // namespace veltrane::bench
