// paystead agent ...: an agent's many households on one PostgreSQL
// database, named by --db postgresql://...
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "common/display.h"
#include "host/agent/households.h"
#include "host/agent/moving.h"
#include "host/agent/pay_run.h"
#include "host/agent/quarter.h"
#include "host/cli/command.h"
#include "host/cli/text_table.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"

namespace veltrane::cli {
namespace {

const std::string& AgentUri(const Session& session) {
  if (!session.db_given())
    throw household::Fault("db", "name the agent's database: postgresql://USER@HOST/DATABASE");
  return session.db_path();
}

int Workers(const ParsedArgs& args) {
  const auto text = args.Get("workers");
  return text ? static_cast<int>(household::ReadWholeNumber("workers", *text, 1, 64)) : 2;
}

void Init(Session& session, const ParsedArgs&) {
  agent::InitAgent(*agent::OpenAgentDatabase(AgentUri(session)));
  session.out() << "The database is ready for an agent's households.\n";
}

void Add(Session& session, const ParsedArgs& args) {
  const auto db = agent::OpenAgentDatabase(AgentUri(session));
  const agent::Household h =
      agent::AddHousehold(*db, args.positionals[0], args.Get("ein").value_or(""));
  session.out() << "Added household " << h.number << ", " << h.name << " (role " << h.role
                << ").\n";
}

void List(Session& session, const ParsedArgs&) {
  const auto db = agent::OpenAgentDatabase(AgentUri(session));
  using A = TextTable::Align;
  TextTable table({{"Number", A::kRight}, {"Name"}, {"Employer ID"}, {"Role"}});
  const auto households = agent::ListHouseholds(*db);
  for (const agent::Household& h : households)
    table.AddRow({std::to_string(h.number), h.name, h.ein, h.role});
  table.Render(session.out());
  session.out() << households.size() << (households.size() == 1 ? " household\n" : " households\n");
}

void Import(Session& session, const ParsedArgs& args) {
  const auto db = agent::OpenAgentDatabase(AgentUri(session));
  const agent::Household h =
      agent::ImportHousehold(*db, args.positionals[0], args.Get("name").value_or(""));
  session.out() << "Imported '" << args.positionals[0] << "' as household " << h.number << ", "
                << h.name << ".\n";
}

void Export(Session& session, const ParsedArgs& args) {
  const auto db = agent::OpenAgentDatabase(AgentUri(session));
  const agent::Household h = agent::FindHousehold(*db, args.positionals[0]);
  agent::ExportHousehold(*db, h, args.positionals[1]);
  session.out() << "Exported household " << h.number << ", " << h.name << ", to '"
                << args.positionals[1] << "'.\n";
}

// A bar redrawn in place on a terminal; elsewhere (a log) a line every
// tenth of the households or every ten seconds.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err) : err_(err), terminal_(isatty(STDERR_FILENO) == 1) {}
  void operator()(const agent::PayRunProgress& p) {
    const auto now = std::chrono::steady_clock::now();
    const std::int64_t tenth = std::max<std::int64_t>(1, p.households / 10);
    if (terminal_) {
      constexpr int kWidth = 30;
      const auto filled =
          static_cast<int>(p.households_done * kWidth / std::max<std::int64_t>(1, p.households));
      err_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
           << p.households_done << "/" << p.households << " households, " << p.checks << " checks"
           << std::flush;
      if (p.households_done == p.households) err_ << "\n";
    } else if (p.households_done % tenth == 0 || now - last_ > std::chrono::seconds(10)) {
      err_ << "Paid " << p.households_done << " of " << p.households << " households, " << p.checks
           << " checks.\n";
      last_ = now;
    }
  }

 private:
  std::ostream& err_;
  bool terminal_;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

void Pay(Session& session, const ParsedArgs& args) {
  agent::PayRunRequest request{args.Get("from").value_or(""), args.Get("to").value_or(""),
                               Workers(args)};
  ProgressLine progress(session.err());
  const agent::PayRunSummary s =
      agent::RunPayRun(AgentUri(session), session.clock(), request, std::ref(progress));
  std::int64_t refused = 0;
  for (const auto& [reason, n] : s.refusals) refused += n;
  session.out() << "Households  " << s.households << "\nChecks      " << s.checks
                << "\nGross       " << FormatCurrency(s.gross) << "\nNet         "
                << FormatCurrency(s.net) << "\nRefused     " << refused << "\n";
  for (const auto& [reason, n] : s.refusals) session.out() << "  " << n << " x " << reason << "\n";
}

void Quarter(Session& session, const ParsedArgs& args) {
  const agent::QuarterFigures f = agent::AgentQuarter(AgentUri(session), args.positionals[0],
                                                      args.positionals[1], Workers(args));
  session.out() << "Form 941 figures of the agent's households, " << f.from << " to " << f.to
                << "\n";
  using A = TextTable::Align;
  TextTable table({{"Number", A::kRight},
                   {"Household"},
                   {"Employer ID"},
                   {"Wages", A::kRight},
                   {"Taxes", A::kRight},
                   {"Advance EIC", A::kRight}});
  for (const agent::QuarterLine& l : f.lines) {
    table.AddRow({std::to_string(l.household.number), l.household.name, l.household.ein,
                  FormatCurrency(l.wages), FormatCurrency(l.taxes), FormatCurrency(l.advance_eic)});
  }
  table.AddRow({"", "Total", "", FormatCurrency(f.wages), FormatCurrency(f.taxes),
                FormatCurrency(f.advance_eic)});
  table.Render(session.out());
}

void W2Count(Session& session, const ParsedArgs& args) {
  session.out() << agent::AgentW2Count(AgentUri(session), args.positionals[0], Workers(args))
                << " Forms W-2 for " << args.positionals[0] << "\n";
}

constexpr OptionSpec kWorkers{"workers", true, false, "connections working at once (default 2)",
                              "N"};

}  // namespace

void AddAgentCommands(CommandTable& table) {
  const std::string_view server =
      "The agent's database is the PostgreSQL database --db names (postgresql://...).";
  table.push_back({{"agent", "init"},
                   "",
                   "make a PostgreSQL database an agent's, for many households",
                   server,
                   {},
                   0,
                   0,
                   Init});
  table.push_back({{"agent", "add"},
                   "NAME",
                   "add an empty household to the agent's database",
                   server,
                   {{"ein", true, false, "the employer identification number", "EIN"}},
                   1,
                   1,
                   Add,
                   {"name"}});
  table.push_back({{"agent", "list"}, "", "list the agent's households", server, {}, 0, 0, List});
  table.push_back(
      {{"agent", "import"},
       "FILE",
       "bring a household's payroll file in, whole",
       "Every row of the file, IDs and amounts as stored, in one transaction; the household is\n"
       "named as the file's employer unless --name is given.",
       {{"name", true, false, "the household's name", "NAME"}},
       1,
       1,
       Import,
       {"file"}});
  table.push_back({{"agent", "export"},
                   "HOUSEHOLD FILE",
                   "write a household out to a new payroll file, whole",
                   "HOUSEHOLD is its number or role, as 'paystead agent list' shows.",
                   {},
                   2,
                   2,
                   Export,
                   {"household", "file"}});
  table.push_back(
      {{"agent", "pay"},
       "",
       "pay every household's assistants with unpaid hours in a period",
       "Each check is paid on its own, with the paid-day guard: a run stopped at any point and\n"
       "started again pays what is left. Checks are dated --today.",
       {{"from", true, false, "the period's first day", "DATE"},
        {"to", true, false, "the period's last day", "DATE"},
        kWorkers},
       0,
       0,
       Pay});
  table.push_back({{"agent", "quarter"},
                   "YEAR QUARTER",
                   "the Form 941 figures of every household and their totals",
                   server,
                   {kWorkers},
                   2,
                   2,
                   Quarter,
                   {"year", "quarter"}});
  table.push_back({{"agent", "w2-count"},
                   "YEAR",
                   "the Forms W-2 the households file for a year",
                   server,
                   {kWorkers},
                   1,
                   1,
                   W2Count,
                   {"year"}});
}

}  // namespace veltrane::cli
