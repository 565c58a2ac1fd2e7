// An agent's households on one PostgreSQL database, through the program as
// an agent runs it and through households' own connections.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "cli/program_runner.h"
#include "common/agent_layout.h"
#include "common/display.h"
#include "common/errors.h"
#include "common/payroll_layout.h"
#include "common/pg_database.h"
#include "common/sqlite_database.h"
#include "host/agent/households.h"
#include "host/household/statements.h"
#include "support/test_databases.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using veltrane::testing::NewServerDatabase;
using veltrane::testing::UriAs;

std::int64_t Count(Database& db, const std::string& sql) {
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  const std::int64_t n = rs->Field("n").ToInt();
  rs->Close();
  return n;
}

// Every row of every payroll table, each field as stored (its kind and
// text), by ID.
std::string Rows(Database& db) {
  std::string all;
  for (const layout::Table& table : layout::PayrollTables()) {
    all += std::string("== ") + table.name + "\n";
    auto rs = db.OpenRecordset(std::string("SELECT * FROM [") + table.name + "] ORDER BY ID",
                               RecordsetType::kForwardOnly);
    for (; !rs->IsEOF(); rs->MoveNext()) {
      for (const layout::Field& field : table.fields) {
        const Value v = rs->Field(field.name);
        all += std::to_string(v.storage().index()) + ":" + v.ToText() + "|";
      }
      all += "\n";
    }
    rs->Close();
  }
  return all;
}

class Agent : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    uri = NewServerDatabase();
    if (uri.empty()) return;
    AgentOk({"init"});
  }
  std::string AgentOk(std::vector<std::string> args) const {
    args.insert(args.begin(), "agent");
    args.insert(args.end(), {"--db", uri});
    return Ok(args);
  }
  // The role of household `number`.
  std::string Role(int number) const {
    auto agent = OpenPostgresDatabase(uri);
    return agent::FindHousehold(*agent, std::to_string(number)).role;
  }
  // A household's own connection, as it logs in.
  std::unique_ptr<Database> Login(int number) const {
    return OpenPostgresDatabase(UriAs(uri, Role(number)));
  }

  void MakeWeek(const std::string& file) const;

  std::string uri;
};

TEST_F(Agent, AHouseholdsConnectionFindsAndChangesNothingOfAnothersWhateverItIsGiven) {
  if (uri.empty()) return;
  Ok({"demo", "--db", Path("demo.db")});
  AgentOk({"import", Path("demo.db"), "--name", "First"});
  AgentOk({"add", "Second", "--ein", "12-3456789"});
  const auto second = Login(2);
  second->Execute("INSERT INTO Assistants (Name) VALUES ('Secret O''Hara')");
  second->Execute(
      "INSERT INTO [Payment Journal] (payee, gross_pay) VALUES ('Secret O''Hara', 123)");

  const auto first = Login(1);
  const std::int64_t checks = Count(*first, "SELECT Count(*) AS n FROM [Payment Journal]");
  ASSERT_GT(checks, 20);
  // Reads: the base tables, subqueries, criteria that match every row.
  for (const std::string& sql :
       {std::string("SELECT Count(*) AS n FROM agent_rows.\"Payment Journal\""),
        std::string("SELECT Count(*) AS n FROM [Payment Journal] WHERE payee='x' OR 1=1"),
        std::string("SELECT (SELECT Count(*) FROM agent_rows.[payment journal]) AS n"),
        std::string("SELECT Count(*) AS n FROM [Payment Journal] WHERE ID IN (SELECT ID FROM "
                    "agent_rows.\"Payment Journal\" WHERE household <> current_user)")}) {
    const std::int64_t expected = sql.find("<>") != std::string::npos ? 0 : checks;
    EXPECT_EQ(Count(*first, sql), expected) << sql;
  }
  auto journal = first->OpenRecordset("Payment Journal", RecordsetType::kTable);
  journal->FindFirst("payee='Secret O''Hara' OR payee LIKE '%Secret%'");
  EXPECT_TRUE(journal->NoMatch());
  journal->Close();
  // Taking another role, or the agent's, is refused; RESET ROLE leaves it
  // the household it logged in as.
  EXPECT_THROW(first->Execute("SET ROLE " + Role(2)), DatabaseError);
  EXPECT_THROW(first->Execute("SELECT set_config('role', 'veltrane', false)"), DatabaseError);
  EXPECT_THROW(first->Execute("SET SESSION AUTHORIZATION veltrane"), DatabaseError);
  first->Execute("RESET ROLE");
  EXPECT_THROW(Count(*first, "SELECT Count(*) AS n FROM agent.households"), DatabaseError);
  EXPECT_THROW(first->Execute("SELECT 1; -- a comment hides the rest"), ConversionError);
  // Writes: every row it may reach is its own, and a row cannot be given
  // to another household.
  first->Execute(
      "UPDATE agent_rows.\"Payment Journal\" SET payee = 'Mallory'; UPDATE Assistants SET Name = "
      "Name");
  EXPECT_THROW(first->Execute("UPDATE agent_rows.Assistants SET household = '" + Role(2) + "'"),
               DatabaseError);
  EXPECT_THROW(first->Execute("INSERT INTO agent_rows.Assistants (household, ID, Name) VALUES ('" +
                              Role(2) + "', 99, 'Planted')"),
               DatabaseError);
  EXPECT_THROW(first->Execute("ALTER TABLE agent_rows.Assistants DISABLE ROW LEVEL SECURITY"),
               DatabaseError);
  EXPECT_THROW(first->Execute("CREATE TABLE household.Spy (n integer)"), DatabaseError);
  first->Execute("DELETE FROM agent_rows.\"Work Journal\"; DELETE FROM [Tax Settings]");

  EXPECT_EQ(
      Count(*second, "SELECT Count(*) AS n FROM [Payment Journal] WHERE payee = 'Secret O''Hara'"),
      1);
  EXPECT_EQ(Count(*second, "SELECT Count(*) AS n FROM Assistants"), 1);
  EXPECT_EQ(Count(*first, "SELECT Count(*) AS n FROM [Payment Journal] WHERE payee = 'Mallory'"),
            checks);
  // The rows a household adds take the next IDs of its own.
  EXPECT_EQ(Count(*second, "SELECT Max(ID) AS n FROM [Payment Journal]"), 1);
}

TEST_F(Agent, AHouseholdMovedInAndOutIsTheSameFileAndEveryStatementReadsTheSame) {
  if (uri.empty()) return;
  Ok({"demo", "--db", Path("demo.db")});
  AgentOk({"import", Path("demo.db")});
  AgentOk({"export", "1", Path("out1.db")});
  AgentOk({"import", Path("out1.db")});
  AgentOk({"export", "2", Path("out2.db")});
  const std::string original = Rows(*OpenSqliteDatabase(Path("demo.db")));
  EXPECT_EQ(Rows(*OpenSqliteDatabase(Path("out1.db"))), original);
  EXPECT_EQ(Rows(*OpenSqliteDatabase(Path("out2.db"))), original);
  EXPECT_THAT(AgentOk({"list"}), HasRow({"1", "Ms. Dana R Whitfield"}));

  // Every statement, as the file gives it and as the moved household does
  // on the server.
  const auto file = OpenSqliteDatabase(Path("demo.db"));
  const auto agent = OpenPostgresDatabase(uri);
  const agent::Household moved = agent::FindHousehold(*agent, "2");
  household::StatementSession from_file(*file);
  int compared = 0;
  for (const std::string& type : from_file.catalogue()) {
    if (from_file.IsHeading(type)) continue;
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"", ""}, {"2/1/2004", "3/31/2004"}}) {
      const household::StatementResult expected = from_file.Run({type, "", from, to});
      agent::HouseholdRole acting(*agent, moved);
      household::StatementSession on_server(*agent);
      const household::StatementResult got = on_server.Run({type, "", from, to});
      EXPECT_EQ(got.rows, expected.rows) << type << " " << from;
      EXPECT_EQ(got.messages, expected.messages) << type << " " << from;
      ++compared;
    }
  }
  EXPECT_GT(compared, 30);

  // The agent's quarter: each household's line is its own Form 941's, the
  // total their exact sum.
  const auto line = [&](const std::string& form, const std::string& starts) {
    const std::size_t at = form.find("\n" + starts);
    return form.substr(form.find('\t', at) + 1, form.find('\n', at + 1) - form.find('\t', at) - 1);
  };
  const std::string form = Ok({"statement", "Form 941", "--from", "1/1/2004", "--to", "3/31/2004", "--format",
                               "tsv", "--db", Path("demo.db")});
  const std::string wages = line(form, "2. "), taxes = line(form, "11. "), eic = line(form, "12. ");
  const std::string quarter = AgentOk({"quarter", "2004", "1"});
  EXPECT_THAT(quarter, HasRow({"1", "Ms. Dana R Whitfield", "36-4417520", wages, taxes, eic}));
  EXPECT_THAT(quarter, HasRow({"2", "Ms. Dana R Whitfield", "36-4417520", wages, taxes, eic}));
  const auto twice = [](const std::string& amount) { return FormatCurrency(ParseCurrency(amount) + ParseCurrency(amount)); };
  EXPECT_THAT(quarter, HasRow({"Total", twice(wages), twice(taxes), twice(eic)}));
  EXPECT_THAT(AgentOk({"w2-count", "2004"}), HasSubstr("4 Forms W-2 for 2004"));
}

// A household of two assistants with a week of hours each, unpaid.
void Agent::MakeWeek(const std::string& file) const {
  const std::vector<std::string> db = {"--db", file};
  const auto ok = [&](std::vector<std::string> args) {
    args.insert(args.end(), db.begin(), db.end());
    Ok(args);
  };
  ok({"init"});
  ok({"employer", "set", "--first", "Dana", "--last", "Whitfield", "--employer-id", "36-4417520"});
  ok({"settings", "set", "--period", "Weekly"});
  ok({"assistant", "add", "Ann Lee", "--rate", "10", "--fit", "Single:1", "--ss", "--medicare"});
  ok({"assistant", "add", "Bob Ray", "--rate", "12.5", "--fit", "Married:2", "--ss", "--medicare",
      "--futa"});
  for (int day = 1; day <= 5; ++day) {
    const std::string date = "3/" + std::to_string(day) + "/2004";
    ok({"hours", "add", "Ann Lee", date, "8", day == 5 ? "2" : "0"});
    ok({"hours", "add", "Bob Ray", date, "6"});
  }
}

TEST_F(Agent, APayRunKilledAtRandomPointsAndStartedAgainPaysEveryCheckOnce) {
  if (uri.empty()) return;
  MakeWeek(Path("week.db"));
  constexpr int kHouseholds = 12;
  for (int i = 0; i < kHouseholds; ++i)
    AgentOk({"import", Path("week.db"), "--name", "H" + std::to_string(i)});
  // The run that is not stopped: the file paid directly, Ann Lee first.
  Ok({"init", "--db", Path("unused.db")});
  for (const char* name : {"Ann Lee", "Bob Ray"})
    Ok({"paycheck", name, "--from", "3/1/2004", "--to", "3/7/2004", "--today", "3/8/2004", "--pay",
        "--db", Path("week.db")});
  const std::string expected = Rows(*OpenSqliteDatabase(Path("week.db")));

  const std::vector<std::string> pay = {"agent",    "pay",     "--from",   "3/1/2004", "--to",
                                        "3/7/2004", "--today", "3/8/2004", "--db",     uri};
  // Each run is killed once it says it has done a household drawn at
  // random, a moment drawn at random later: inside a check or between two.
  std::mt19937 random(std::random_device{}());
  const auto agent = OpenPostgresDatabase(uri);
  for (int kill = 0; kill < 5; ++kill) {
    const int households_done =
        std::uniform_int_distribution<int>(1, kill == 0 ? kHouseholds / 2 : kHouseholds)(random);
    const Running run = Start(pay);
    const std::string said = "Paid " + std::to_string(households_done) + " of";
    for (int waited = 0; waited < 20000 && ReadFile(run.err_path).find(said) == std::string::npos;
         ++waited)
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
    ::kill(run.pid, SIGKILL);
    Wait(run);
    if (kill == 0)
      EXPECT_LT(Count(*agent, "SELECT Count(*) AS n FROM agent_rows.\"Payment Journal\""),
                2 * kHouseholds);
  }
  const std::string summary = Ok(pay);
  EXPECT_THAT(summary, HasSubstr("Households  12"));
  EXPECT_THAT(summary, HasSubstr("Refused     0"));
  for (int h = 1; h <= kHouseholds; ++h) {
    const std::string out = Path("h" + std::to_string(h) + ".db");
    AgentOk({"export", std::to_string(h), out});
    EXPECT_EQ(Rows(*OpenSqliteDatabase(out)), expected) << "household " << h;
  }
  // Started once more, it finds nothing left to pay.
  EXPECT_THAT(Ok(pay), HasSubstr("Checks      0"));
}

}  // namespace
}  // namespace veltrane::host::testing
