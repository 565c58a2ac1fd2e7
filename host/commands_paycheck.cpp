// paystead paycheck: prepare, show and pay one paycheck.
#include <cctype>
#include <cstdint>
#include <limits>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/locale.h"
#include "common/text.h"
#include "host/command.h"
#include "host/host_errors.h"
#include "host/paycheck_view.h"
#include "host/paying.h"
#include "host/payroll_rows.h"
#include "host/tax_lists.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

// "40,2" or "40": regular and overtime hours of the whole period.
std::pair<float, float> ManualHours(const std::string& text, Date from, Date to) {
  const double days = (std::chrono::sys_days(to) - std::chrono::sys_days(from)).count() + 1.0;
  const std::size_t comma = text.find(',');
  const std::string regular = text.substr(0, comma);
  const std::string overtime = comma == std::string::npos ? "0" : text.substr(comma + 1);
  const float r = ReadHoursUpTo("--hours (regular)", regular, 24 * days);
  const float o = ReadHoursUpTo("--hours (overtime)", overtime, 24 * days);
  if (static_cast<double>(r) + o > 24 * days)
    throw UserError("--hours: more hours than the period has");
  return {r, o};
}

// Whether a text begins as an amount does (a digit, sign or point), so
// that "Tip:20:FIT" ends in taxes and "Note: May:5" in an amount.
bool StartsLikeAmount(const std::string& text) {
  const std::string t = Trim(text);
  return !t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '.' ||
                        t[0] == '-' || t[0] == '+');
}

// "Bonus:50" -> one supplemental pay item "Bonus'50''", and
// "Tip:20:Soc. Sec.,Medicare" -> "Tip'20'Soc. Sec.|||Medicare|||'" with
// the taxes the item is subject to, each one the assistant has elected.
// Without taxes the name may hold colons ("Note: May:5").
std::string SupplementalItem(const std::string& text, const std::string& assistant,
                             const std::string& elections) {
  const std::size_t last = text.rfind(':');
  if (last == std::string::npos)
    throw UserError("--supp: '" + text + "' lacks the amount; write it like Bonus:50");
  std::size_t name_end = last;
  std::string amount_text = text.substr(last + 1);
  std::string taxes;
  const std::size_t before = last == 0 ? std::string::npos : text.rfind(':', last - 1);
  if (before != std::string::npos && !StartsLikeAmount(amount_text)) {
    taxes = amount_text;
    amount_text = text.substr(before + 1, last - before - 1);
    name_end = before;
  }
  const std::string name = ReadText("--supp", text.substr(0, name_end));
  if (name.empty()) throw UserError("--supp: '" + text + "' has no name; write it like Bonus:50");
  if (name.find_first_of("'|") != std::string::npos) {
    throw UserError("--supp: the name '" + name +
                    "' holds an apostrophe or '|'; choose a name without them");
  }
  const Money amount = ReadAmount("--supp", amount_text);
  if (amount.IsZero())
    throw UserError("--supp: '" + text + "' pays nothing; give an amount above 0");
  return ListWriter(kSuppPaySeparator)
      .Add(name)
      .Add(amount)
      .Add(SupplementalTaxList("--supp", taxes, elections, assistant))
      .text();
}

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
  if (!args.Has("from") || !args.Has("to"))
    throw UsageError("give the pay period with --from and --to");
  Database& db = session.db();
  PaycheckRequest request;
  request.assistant = RequireAssistant(db, args.positionals[0]);
  request.from = ReadDate("--from", *args.Get("from"));
  request.to = ReadDate("--to", *args.Get("to"));
  if (request.from > request.to)
    throw UserError("--from is after --to; give the earlier day first");
  if (const auto check = args.Get("check")) {
    request.check_number = std::to_string(
        ReadWholeNumber("--check", *check, 1, std::numeric_limits<std::int32_t>::max()));
  }
  if (const auto hours = args.Get("hours"))
    request.manual_hours = ManualHours(*hours, request.from, request.to);
  if (args.Has("supp")) {
    const std::string elections = FindAssistant(db, request.assistant)->Text("Withholdings");
    for (const std::string& item : args.GetAll("supp"))
      request.supplemental_pay += SupplementalItem(item, request.assistant, elections);
  }
  const auto settings = ReadFirstRow(db, kTaxSettingsTable, TaxSettingsFields());
  if (!settings || settings->Text("PayrollPeriod").empty()) {
    throw UserError("no pay period is set; set one with 'paystead settings set --period Weekly'");
  }
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
