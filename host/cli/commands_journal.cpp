// The payment journal: paystead check ID, paystead journal, paystead void ID.
#include "common/display.h"
#include "host/cli/command.h"
#include "host/cli/listing_views.h"
#include "host/cli/paycheck_view.h"
#include "host/household/journal.h"

namespace veltrane::cli {
namespace {

using household::ReadCheckId;

void Check(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  RenderPaycheck(session.out(),
                 household::ShowCheck(db, session.clock(), ReadCheckId(args.positionals[0])));
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
  table.push_back({{"check"}, "ID", "show a stored check", "", {}, 1, 1, Check, {"id"}});
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
