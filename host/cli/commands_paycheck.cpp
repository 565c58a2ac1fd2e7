// paystead paycheck: prepare, show and pay one paycheck.
#include "host/cli/cli_errors.h"
#include "host/cli/command.h"
#include "host/cli/messages.h"
#include "host/cli/paycheck_view.h"
#include "host/household/paycheck.h"

namespace veltrane::cli {
namespace {

// Said once a run: the demo prepares many paychecks.
void WarnAboutLocale(Session& session) {
  static bool warned = false;
  if (warned) return;
  if (const auto warning = household::LocaleWarning(DefaultLocaleProvider())) {
    warned = true;
    session.err() << "paystead: warning: " << *warning << '\n';
  }
}

void Paycheck(Session& session, const ParsedArgs& args) {
  if (!args.Has("from") || !args.Has("to"))
    throw UsageError("give the pay period with --from and --to");
  Database& db = session.db();
  const household::PaycheckRequest request = household::CheckPaycheckRequest(
      db, {args.positionals[0], *args.Get("from"), *args.Get("to"), args.Get("check").value_or(""),
           args.Get("hours").value_or(""), args.GetAll("supp")});
  WarnAboutLocale(session);

  const bool pay = args.Has("pay");
  const household::PaycheckOutcome outcome =
      pay ? household::PayPaycheck(db, session.clock(), request)
          : household::PreparePaycheck(db, session.clock(), request);
  if (outcome.paid) {
    ReportPayment(session.out(), session.err(), outcome);
    return;
  }
  RenderPaycheck(session.out(), outcome.shown);
  if (pay) throw *outcome.refusal;
  if (outcome.refusal) {
    session.out() << "Not paid, and --pay would be refused: "
                  << FaultMessage(*outcome.refusal, nullptr) << ".\n";
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
       Paycheck,
       {"assistant"}});
}

}  // namespace veltrane::cli
