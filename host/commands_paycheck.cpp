// paystead paycheck: prepare, show and pay one paycheck.
#include "common/locale.h"
#include "common/text.h"
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
  if (outcome.paid) {
    ReportPayment(session.out(), session.err(), outcome);
    return;
  }
  RenderPaycheck(session.out(), outcome.shown);
  if (pay) throw UserError(outcome.refusal);
  if (const std::string paid = PaidOverlap(db, request); !paid.empty()) {
    session.out() << "Not paid, and --pay would be refused: " << paid << ".\n";
    return;
  }
  session.out() << "Not paid. Add --pay to pay it and mark the period's hours paid.\n";
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
       "the period's unpaid hours are marked paid, both in one database transaction.\n"
       "A period is paid once: a day already paid by a check that is not void is refused\n"
       "until that check is voided.",
       {{"from", true, false, "first day of the pay period", "DATE"},
        {"to", true, false, "last day of the pay period", "DATE"},
        {"check", true, false, "check number", "N"},
        {"hours", true, false, "regular and overtime hours instead of the work journal", "REG,OT"},
        {"supp", true, true,
         "supplemental pay, e.g. Bonus:50, or Tip:20:Soc. Sec.,Medicare with the taxes it is "
         "subject to (repeatable)",
         "NAME:AMOUNT[:TAXES]"},
        {"pay", false, false, "pay the check"}},
       1,
       1,
       Paycheck});
}

}  // namespace veltrane::host
