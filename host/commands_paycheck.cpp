// paystead paycheck: prepare, show and pay one paycheck.
#include "common/locale.h"
#include "host/command.h"
#include "host/host_errors.h"
#include "host/household_paycheck.h"
#include "host/paycheck_view.h"

namespace veltrane::host {
namespace {

// Said once a run: the demo prepares many paychecks.
void WarnAboutLocale(Session& session) {
  static bool warned = false;
  if (warned || DefaultLocaleProvider().UserDefaultLocale() == kLocaleEnUs) return;
  warned = true;
  session.err()
      << "paystead: warning: the locale (LC_ALL, LC_MESSAGES or LANG) is not US English, so the "
         "federal taxes are computed as 0; run with LANG=en_US.UTF-8\n";
}

void Paycheck(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  const PaycheckRequest request = ReadPaycheckRequest(db, args.positionals[0], args);
  WarnAboutLocale(session);

  const bool pay = args.Has("pay");
  const PaycheckOutcome outcome = pay ? PayPaycheck(db, session.clock(), request)
                                      : PreparePaycheck(db, session.clock(), request);
  RenderPaycheck(session.out(), outcome.shown);
  if (!pay) {
    session.out() << "Not paid. Add --pay to pay it and mark the period's hours paid.\n";
    return;
  }
  if (!outcome.paid) throw UserError(outcome.refusal);
  session.out() << "Paid: check ID " << outcome.check_id << " is in the payment journal; "
                << outcome.hours_marked
                << (outcome.hours_marked == 1 ? " work-journal entry" : " work-journal entries")
                << " marked paid.\n";
}

}  // namespace

void AddPaycheckCommands(CommandTable& table) {
  table.push_back(
      {{"paycheck"},
       "NAME",
       "prepare and show a paycheck for a pay period; --pay pays it",
       "The paycheck counts the assistant's unpaid work-journal hours from --from to --to\n"
       "(or the hours given with --hours) and the year-to-date totals of the year of the\n"
       "check date (today, or --today). With --pay it is stored in the payment journal and\n"
       "the period's unpaid hours are marked paid, both in one database transaction.",
       {{"from", true, false, "first day of the pay period", "DATE"},
        {"to", true, false, "last day of the pay period", "DATE"},
        {"check", true, false, "check number", "N"},
        {"hours", true, false, "regular and overtime hours instead of the work journal", "REG,OT"},
        {"supp", true, true, "supplemental pay, e.g. Bonus:50 (repeatable)", "NAME:AMOUNT"},
        {"pay", false, false, "pay the check"}},
       1,
       1,
       Paycheck});
}

}  // namespace veltrane::host
