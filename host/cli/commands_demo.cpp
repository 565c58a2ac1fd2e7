// paystead demo: a household's first quarter of 2004, set up and paid week
// by week through the same commands a household employer types.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "common/display.h"
#include "host/cli/cli_errors.h"
#include "host/cli/command.h"
#include "host/household/journal.h"
#include "host/household/year_end.h"
#include "host/html/page_files.h"

namespace veltrane::cli {
namespace {

namespace fs = std::filesystem;
using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::weekday;

constexpr const char* kRosa = "Rosa Delgado";
constexpr const char* kSean = "Sean O'Connor";

// A temporary database file, removed with the journal SQLite keeps beside
// it when the demo ends, however it ends.
class TemporaryDatabase {
 public:
  TemporaryDatabase() {
    std::string pattern = (fs::temp_directory_path() / "paystead-year-end-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
      throw UserError(
          "cannot create a temporary file for the demo database; give one with --db FILE");
    close(fd);
    path_ = pattern;
  }
  ~TemporaryDatabase() {
    std::error_code ec;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(path_ + suffix, ec);
  }
  TemporaryDatabase(const TemporaryDatabase&) = delete;
  TemporaryDatabase& operator=(const TemporaryDatabase&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string Day(sys_days d) { return FormatShortDate(Date(d)); }

void SetUpHousehold(Session& quiet) {
  RunCommand(quiet, {"employer",   "set",           "--title", "Ms.",           "--first",
                     "Dana",       "--mi",          "R",       "--last",        "Whitfield",
                     "--address1", "12 Larch Lane", "--city",  "Springfield",   "--state",
                     "IL",         "--zip",         "62704",   "--employer-id", "36-4417520"});
  RunCommand(quiet, {"settings",
                     "set",
                     "--period",
                     "Weekly",
                     "--eic-reduce",
                     "yes",
                     "--sit-rate",
                     "3",
                     "--sit-single",
                     "2000",
                     "--sit-married",
                     "2000",
                     "--sit-household",
                     "2000",
                     "--sui-base",
                     "9800",
                     "--sui-employer-rate",
                     "3.5",
                     "--sui-state",
                     "Illinois",
                     "--other-withholdings",
                     "Union dues|5||||||||"});
  RunCommand(quiet, {"assistant",
                     "add",
                     kRosa,
                     "--first",
                     "Rosa",
                     "--last",
                     "Delgado",
                     "--address1",
                     "48 Elm Street",
                     "--address2",
                     "Apt. 2",
                     "--city",
                     "Springfield",
                     "--state",
                     "IL",
                     "--zip",
                     "62702",
                     "--ssn",
                     "123-45-6789",
                     "--rate",
                     "9.50",
                     "--fit",
                     "Head of Household:2",
                     "--ss",
                     "--medicare",
                     "--futa",
                     "--eic",
                     "0"});
  RunCommand(quiet,
             {"assistant",   "add",       kSean,        "--title",    "Mr.",         "--first",
              "Sean",        "--last",    "O'Connor",   "--address1", "7 Mill Road", "--city",
              "Chatham",     "--state",   "IL",         "--zip",      "62629",       "--ssn",
              "123-45-6781", "--rate",    "12",         "--ot-rate",  "18",          "--fit",
              "Married:2",   "--ss",      "--medicare", "--futa",     "--sit",       "Married:2",
              "--sui",       "Married:0", "--other",    "Union dues:"});
}

// Rosa works six hours a weekday, with two hours of overtime every fourth
// Friday; Sean works Saturdays and Sundays (with overtime) and Wednesdays.
void RecordQuarterHours(Session& quiet, sys_days first, sys_days last) {
  for (sys_days d = first; d <= last; d += days(1)) {
    const weekday wd{d};
    const auto week = (d - first).count() / 7;
    if (wd != std::chrono::Saturday && wd != std::chrono::Sunday) {
      const bool overtime = wd == std::chrono::Friday && week % 4 == 3;
      RunCommand(quiet, {"hours", "add", kRosa, Day(d), "6", overtime ? "2" : "0"});
    }
    if (wd == std::chrono::Saturday || wd == std::chrono::Sunday) {
      RunCommand(quiet, {"hours", "add", kSean, Day(d), "8", "1.5"});
    } else if (wd == std::chrono::Wednesday) {
      RunCommand(quiet, {"hours", "add", kSean, Day(d), "8"});
    }
  }
}

void PrintSummary(Session& session, const char* name) {
  const household::PaidTotals paid = household::TotalsPaid(session.db(), name);
  session.out() << name << ": " << paid.checks << " checks, " << paid.regular_hours
                << " regular and " << paid.overtime_hours << " overtime hours; gross "
                << FormatCurrency(paid.gross) << ", withheld "
                << FormatCurrency(paid.gross - paid.net) << ", advance EIC "
                << FormatCurrency(paid.eic) << ", net " << FormatCurrency(paid.net) << '\n';
}

void RunDemo(Session& demo) {
  std::ostream quiet_stream(nullptr);  // discards the setup's messages
  Session quiet = demo.WithOutput(quiet_stream);
  // Thirteen weekly periods, Thursday to Wednesday, cover 1/1/2004 to
  // 3/31/2004; each check is dated the period's last day.
  const sys_days first{std::chrono::year{2004} / 1 / 1};
  const sys_days last{std::chrono::year{2004} / 3 / 31};
  {
    // The household and its quarter of hours are stored at once: each
    // command stays whole, but the file is synced once, not per entry.
    demo.CreateDatabase(false);
    TransactionScope setup(demo.db());
    SetUpHousehold(quiet);
    RecordQuarterHours(quiet, first, last);
    setup.Commit();
  }

  demo.out() << "Demo household: employer Ms. Dana R Whitfield; assistants " << kRosa
             << " (advance EIC) and " << kSean
             << " (state income tax, union dues); weekly pay from " << Day(first) << " to "
             << Day(last) << ".\n\n";
  int check_number = 1001;
  for (sys_days start = first; start <= last; start += days(7)) {
    const sys_days end = start + days(6);
    FixedClock check_day{Date(end)};
    const bool last_week = end >= last;
    for (const char* name : {kRosa, kSean}) {
      Session payer = (last_week ? demo : quiet).WithClock(check_day);
      RunCommand(payer, {"paycheck", name, "--from", Day(start), "--to", Day(end), "--check",
                         std::to_string(check_number++), "--pay"});
      if (last_week) demo.out() << '\n';
    }
  }
  demo.out() << "The quarter:\n";
  PrintSummary(demo, kRosa);
  PrintSummary(demo, kSean);
  for (const char* type : {"Summary", "Soc. Sec."}) {
    demo.out() << "\n$ paystead statement \"" << type << "\" --from " << Day(first) << " --to "
               << Day(last) << "\n";
    RunCommand(demo, {"statement", type, "--from", Day(first), "--to", Day(last)});
  }
  // The year-end package goes into a folder of its own that is kept, so
  // that a person can open its index.
  std::string folder = (fs::temp_directory_path() / "paystead-year-end-XXXXXX").string();
  if (!::mkdtemp(folder.data())) throw UserError("cannot make a folder for the year-end package");
  const html::WrittenPackage package =
      html::WriteYearEndPackage(household::MakeYearEnd(demo.db(), {2004, ""}), folder, Date(last));
  demo.out() << "\nThe year-end package of 2004 (" << package.pages << " statements) is in '"
             << folder << "'; open '" << package.index << "'.\n";
}

void Demo(Session& session, const ParsedArgs&) {
  if (session.db_given()) {
    if (fs::exists(session.db_path())) {
      throw UserError("'" + session.db_path() + "' already exists; the demo needs a new file");
    }
    RunDemo(session);
    session.out() << "\nThe demo household is in '" << session.db_shown()
                  << "'; try 'paystead --db " << session.db_shown() << " journal'.\n";
    return;
  }
  const TemporaryDatabase file;
  Session demo(file.path(), true, session.clock(), session.out(), session.err());
  RunDemo(demo);
  session.out()
      << "\n(The demo database was temporary and has been removed; give --db FILE to keep it.)\n";
}

}  // namespace

void AddDemoCommands(CommandTable& table) {
  table.push_back(
      {{"demo"},
       "",
       "pay a demo household's first quarter of 2004 and show the last paychecks",
       "Builds a new database (a temporary file unless --db FILE names a new one): an\n"
       "employer, two assistants, weekly pay, state taxes and a quarter of hours; then pays\n"
       "every week as of its own check date, as 'paycheck --pay' does.",
       {},
       0,
       0,
       Demo});
}

}  // namespace veltrane::cli
