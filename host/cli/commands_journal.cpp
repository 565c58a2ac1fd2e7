// The payment journal: paystead check ID, paystead journal, paystead void ID.
#include "common/display.h"
#include "host/cli/command.h"
#include "host/cli/listing_views.h"
#include "host/cli/open_in_browser.h"
#include "host/cli/page_output.h"
#include "host/cli/paycheck_view.h"
#include "host/household/journal.h"
#include "host/household/paycheck_lines.h"
#include "host/html/page_files.h"
#include "host/html/pay_stub.h"

namespace veltrane::cli {
namespace {

using household::ReadCheckId;

// The stored check as its pay stub: on the terminal, or as a page to print.
void Check(Session& session, const ParsedArgs& args) {
  const std::string format = ReadPageFormat(args, {"text", "html"});
  const std::int32_t id = ReadCheckId(args.positionals[0]);
  const PaycheckShown stub =
      household::PayStubOf(household::ShowCheck(session.db(), session.clock(), id));
  if (format == "text") {
    RenderPaycheck(session.out(), stub);
    return;
  }
  const std::string path = OutputPath(args, "pay-stub-check-id-" + std::to_string(id) + ".html");
  html::WriteTextFile(path, html::RenderPayStub(stub));
  session.out() << "Wrote the pay stub of check ID " << id << " to '" << path << "'.\n";
  if (args.Has("open")) OpenInBrowser(path);
}

void Journal(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  household::JournalFilter filter;
  if (!args.positionals.empty()) filter.payee = args.positionals[0];
  filter.from = args.Get("from");
  filter.to = args.Get("to");
  RenderJournal(session.out(), household::ListChecks(db, filter));
}

void Void(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  const household::VoidOutcome v = household::VoidCheck(db, ReadCheckId(args.positionals[0]));
  session.out() << "Check " << v.id << " (" << v.payee << ", " << FormatShortDate(v.start) << " to "
                << FormatShortDate(v.end) << ", " << FormatCurrency(v.gross) << ") is void; "
                << v.hours_unpaid
                << (v.hours_unpaid == 1 ? " work-journal entry" : " work-journal entries")
                << " of its period unpaid again.\n";
}

}  // namespace

void AddJournalCommands(CommandTable& table) {
  table.push_back(
      {{"check"},
       "ID",
       "show a stored check as its pay stub, or write the stub as a page to print",
       "The stub shows the assistant's Social Security number by its last four digits.\n"
       "--format html writes a page of one US Letter sheet (by default into the cache\n"
       "folder, $XDG_CACHE_HOME/paystead); --open then shows it in the web browser.",
       PageOptions("text (the default) or html"),
       1,
       1,
       Check,
       {"id"}});
  table.push_back({{"journal"},
                   "[NAME]",
                   "list the stored checks, by check date",
                   "",
                   {{"from", true, false, "first check date", "DATE"},
                    {"to", true, false, "last check date", "DATE"}},
                   0,
                   1,
                   Journal,
                   {"assistant"}});
  table.push_back({{"void"},
                   "ID",
                   "void a stored check",
                   "A void check leaves every total and statement. The hours of its period become\n"
                   "unpaid again, unless another check that is not void covers their day.",
                   {},
                   1,
                   1,
                   Void,
                   {"id"}});
}

}  // namespace veltrane::cli
