// The paycheck of a period, previewed and paid: /paycheck, /paycheck/pay.
#include <chrono>

#include "common/display.h"
#include "common/text.h"
#include "host/household/paycheck.h"
#include "host/household/rows.h"
#include "host/html/paycheck_html.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

// How a fault's text names the fields of the form.
const std::map<std::string, std::string, std::less<>> kLabels = {{"from", "the first day"},
                                                                 {"to", "the last day"},
                                                                 {"hours", "the hours"},
                                                                 {"supp", "the supplemental pay"}};

struct PaycheckForm {
  household::PaycheckInput input;
  std::string supp;  // supplemental pay items "Bonus:50", separated by ";"
  PageFault fault;
};

PaycheckForm ReadForm(const WebRequest& r, const Clock& clock) {
  // The week before the one of today, Monday to Sunday.
  const Date today = clock.Today();
  const std::chrono::weekday w{sys_days(today)};
  const Date monday(sys_days(today) - days((w.c_encoding() + 6) % 7 + 7));
  PaycheckForm f;
  f.input.assistant = r.ValueOr("assistant");
  f.input.from = r.ValueOr("from", FormatShortDate(monday));
  f.input.to = r.ValueOr("to", FormatShortDate(Date(sys_days(monday) + days(6))));
  f.input.check = r.ValueOr("check");
  f.input.hours = r.ValueOr("hours");
  f.supp = r.ValueOr("supp");
  std::string_view rest = f.supp;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    const std::string item = Trim(rest.substr(0, end));
    if (!item.empty()) f.input.supplemental.push_back(item);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return f;
}

std::string Beside(const PaycheckForm& f, std::string_view field) {
  return f.fault.field == field ? f.fault.text : "";
}

void RequestForm(WebPage& page, Database& db, const PaycheckForm& f) {
  std::vector<std::pair<std::string, std::string>> names;
  for (const std::string& name : household::AssistantNames(db)) names.emplace_back(name, name);
  page.BeginForm("/paycheck", "Which paycheck", false);
  if (names.empty()) {
    page.Paragraph("No assistants yet; add one on the Assistants page.");
  } else {
    page.Select("assistant", "A&ssistant", names, f.input.assistant, Beside(f, "assistant"));
  }
  page.TextField("from", "Period &from", f.input.from, Beside(f, "from"),
                 "first day, like 3/1/2004");
  page.TextField("to", "Period t&o", f.input.to, Beside(f, "to"), "last day");
  page.TextField("check", "Check &number", f.input.check, Beside(f, "check"), "blank: the next number after the highest used");
  page.TextField("hours", "Hou&rs instead of the work journal", f.input.hours, Beside(f, "hours"),
                 "regular,overtime of the whole period, like 40,2; blank: the recorded hours");
  page.TextField("supp", "S&upplemental pay", f.supp, Beside(f, "supp"),
                 "name:amount, like Bonus:50; separate several with ;");
  page.Button("Pre&view paycheck");
  page.EndForm();
}

bool ShownBeside(const PageFault& fault) {
  for (const char* field : {"assistant", "from", "to", "check", "hours", "supp"}) {
    if (fault.field == field) return true;
  }
  return false;
}

WebReply PaycheckPage(WebContext& c, PaycheckForm f, std::string_view notice) {
  WebPage page("Paycheck", "/paycheck", c.token);
  if (!notice.empty()) page.Notice(notice, true);
  std::optional<household::PaycheckRequest> request;
  if (!f.input.assistant.empty() && f.fault.text.empty()) {
    try {
      request = household::CheckPaycheckRequest(c.db, f.input);
    } catch (const household::Fault& e) {
      f.fault = ForPage(e, kLabels);
    }
  }
  if (!f.fault.text.empty() && !ShownBeside(f.fault)) page.Notice(f.fault.text, true);
  if (const auto warning = household::LocaleWarning(DefaultLocaleProvider()))
    page.Notice("The server's " + *warning + ".", true);
  std::optional<household::PaycheckOutcome> preview;
  if (request) {
    preview = household::PreparePaycheck(c.db, c.clock, *request);
    // Said at the top: a preview that cannot be paid offers no payment.
    if (preview->refusal)
      page.Notice("Not payable: " + ForPage(*preview->refusal, kLabels).text + ".", true);
  }
  RequestForm(page, c.db, f);
  if (preview) {
    page.Html(html::PaycheckHtml(preview->shown));
    if (!preview->refusal) {
      page.BeginForm("/paycheck/pay", "Pay this paycheck");
      page.Hidden("assistant", request->assistant);
      page.Hidden("from", f.input.from);
      page.Hidden("to", f.input.to);
      page.Hidden("check", f.input.check);
      page.Hidden("hours", f.input.hours);
      page.Hidden("supp", f.supp);
      page.Hidden("fingerprint", preview->fingerprint);
      page.Paragraph(
          "Paying stores this check in the payment journal and marks the period's unpaid "
          "hours paid, both at once.");
      page.Button("Pay this &check of " + FormatCurrency(preview->shown.net_pay.value_or(Money())) +
                  " to " + CaptionLiteral(request->assistant));
      page.EndForm();
    }
  }
  return WebReply::Page(page.Render());
}

WebReply ShowPaycheck(WebContext& c, const WebRequest& r) {
  return PaycheckPage(c, ReadForm(r, c.clock), "");
}

WebReply PayPost(WebContext& c, const WebRequest& r) {
  PaycheckForm f = ReadForm(r, c.clock);
  household::PaycheckOutcome outcome;
  try {
    const household::PaycheckRequest request = household::CheckPaycheckRequest(c.db, f.input);
    outcome = household::PayPreviewedPaycheck(c.db, c.clock, request, r.ValueOr("fingerprint"));
  } catch (const household::Fault& e) {
    f.fault = ForPage(e, kLabels);
    return PaycheckPage(c, f, "");
  }
  if (!outcome.paid)
    return PaycheckPage(c, f, "Not paid: " + ForPage(*outcome.refusal, kLabels).text + ".");
  return WebReply::SeeOther(PathWith("/check", {{"id", std::to_string(outcome.check_id)},
                                                {"paid", std::to_string(outcome.hours_marked)}}));
}

}  // namespace

void AddPaycheckPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/paycheck", false, ShowPaycheck});
  routes.push_back({"/paycheck/pay", true, PayPost});
}

}  // namespace veltrane::web
