// The paycheck of a period, previewed and paid: /paycheck, /paycheck/pay.
#include <chrono>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/locale.h"
#include "common/text.h"
#include "host/host_errors.h"
#include "host/household_paycheck.h"
#include "host/paycheck_view.h"
#include "host/payroll_rows.h"
#include "host/statement_page.h"
#include "host/web_page.h"
#include "host/web_routes.h"

namespace veltrane::host {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

const std::vector<std::string> kFields = {"assistant", "from", "to", "check", "hours", "supp"};

struct PaycheckForm {
  std::string assistant, from, to, check;
  std::string hours;  // "REG,OT" instead of the work journal, may be empty
  std::string supp;   // supplemental pay items "Bonus:50", separated by ";"
  FieldFault fault;
};

ParsedArgs Fields(const PaycheckForm& f) {
  ParsedArgs fields;
  fields.options = {{"from", f.from}, {"to", f.to}};
  if (!f.check.empty()) fields.options.emplace_back("check", f.check);
  if (!Trim(f.hours).empty()) fields.options.emplace_back("hours", f.hours);
  std::string_view rest = f.supp;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    const std::string item = Trim(rest.substr(0, end));
    if (!item.empty()) fields.options.emplace_back("supp", item);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return fields;
}

PaycheckForm ReadForm(const WebRequest& r, const Clock& clock) {
  // The week before the one of today, Monday to Sunday.
  const Date today = clock.Today();
  const std::chrono::weekday w{sys_days(today)};
  const Date monday(sys_days(today) - days((w.c_encoding() + 6) % 7 + 7));
  return {r.ValueOr("assistant"),
          r.ValueOr("from", FormatShortDate(monday)),
          r.ValueOr("to", FormatShortDate(Date(sys_days(monday) + days(6)))),
          r.ValueOr("check"),
          r.ValueOr("hours"),
          r.ValueOr("supp"),
          {}};
}

std::string Beside(const PaycheckForm& f, std::string_view field) {
  return f.fault.field == field ? f.fault.text : "";
}

void RequestForm(WebPage& page, Database& db, const PaycheckForm& f) {
  std::vector<std::pair<std::string, std::string>> names;
  for (const RowImage& row : ReadAllAssistants(db))
    names.emplace_back(row.Text("Name"), row.Text("Name"));
  page.BeginForm("/paycheck", "Which paycheck", false);
  if (names.empty()) {
    page.Paragraph("No assistants yet; add one on the Assistants page.");
  } else {
    page.Select("assistant", "A&ssistant", names, f.assistant, Beside(f, "assistant"));
  }
  page.TextField("from", "Period &from", f.from, Beside(f, "from"), "first day, like 3/1/2004");
  page.TextField("to", "Period t&o", f.to, Beside(f, "to"), "last day");
  page.TextField("check", "Check &number", f.check, Beside(f, "check"), "may be left blank");
  page.TextField("hours", "Hours instead of the work journal", f.hours, Beside(f, "hours"),
                 "regular,overtime of the whole period, like 40,2; blank: the recorded hours");
  page.TextField("supp", "Supplemental pay", f.supp, Beside(f, "supp"),
                 "name:amount, like Bonus:50; separate several with ;");
  page.Button("Pre&view paycheck");
  page.EndForm();
}

FieldFault Fault(std::string_view message) {
  FieldFault fault = SplitFault(message, kFields);
  if (fault.field.empty() && message.starts_with("there is no assistant"))
    fault.field = "assistant";
  return fault;
}

WebReply PaycheckPage(WebContext& c, PaycheckForm f, std::string_view notice) {
  Database& db = c.session.db();
  WebPage page("Paycheck", "/paycheck", c.token);
  if (!notice.empty()) page.Notice(notice, true);
  std::optional<PaycheckRequest> request;
  if (!f.assistant.empty() && f.fault.text.empty()) {
    try {
      request = ReadPaycheckRequest(db, f.assistant, Fields(f));
    } catch (const UserError& e) {
      f.fault = Fault(e.what());
    }
  }
  if (!f.fault.text.empty() && f.fault.field.empty()) page.Notice(f.fault.text, true);
  if (DefaultLocaleProvider().UserDefaultLocale() != kLocaleEnUs) {
    page.Notice(
        "The locale (LC_ALL, LC_MESSAGES or LANG) of the server is not US English, so the "
        "federal taxes are computed as 0; start it with LANG=en_US.UTF-8.",
        true);
  }
  RequestForm(page, db, f);
  if (request) {
    const PaycheckOutcome preview = PreparePaycheck(db, c.session.clock(), *request);
    page.Html(PaycheckHtml(preview.shown));
    page.BeginForm("/paycheck/pay", "Pay this paycheck");
    page.Hidden("assistant", request->assistant);
    page.Hidden("from", f.from);
    page.Hidden("to", f.to);
    page.Hidden("check", f.check);
    page.Hidden("hours", f.hours);
    page.Hidden("supp", f.supp);
    page.Hidden("fingerprint", PaycheckFingerprint(*request, preview.shown));
    page.Paragraph(
        "Paying stores this check in the payment journal and marks the period's unpaid "
        "hours paid, both at once.");
    page.Button("Pay this &check of " + FormatCurrency(preview.shown.net_pay.value_or(Money())) +
                " to " + request->assistant);
    page.EndForm();
  }
  return WebReply::Page(page.Render());
}

WebReply ShowPaycheck(WebContext& c, const WebRequest& r) {
  return PaycheckPage(c, ReadForm(r, c.session.clock()), "");
}

WebReply PayPost(WebContext& c, const WebRequest& r) {
  Database& db = c.session.db();
  PaycheckForm f = ReadForm(r, c.session.clock());
  PaycheckOutcome outcome;
  try {
    const PaycheckRequest request = ReadPaycheckRequest(db, f.assistant, Fields(f));
    outcome = PayPreviewedPaycheck(db, c.session.clock(), request, r.ValueOr("fingerprint"));
  } catch (const UserError& e) {
    f.fault = Fault(e.what());
    return PaycheckPage(c, f, "");
  }
  if (!outcome.paid) return PaycheckPage(c, f, "Not paid: " + outcome.refusal + ".");
  return WebReply::SeeOther(PathWith("/check", {{"id", std::to_string(outcome.check_id)},
                                                {"paid", std::to_string(outcome.hours_marked)}}));
}

std::string Cell(const std::string& text, bool number) {
  return std::string(number ? "<td class=\"num\">" : "<td>") + EscapeHtml(text) + "</td>";
}

std::string Block(const char* heading, const std::string& block) {
  std::string html = "<div class=\"block\"><h3>" + std::string(heading) + "</h3><p>";
  const std::vector<std::string> lines = BlockLines(block);
  if (lines.empty()) html += "(none on file)";
  for (std::size_t i = 0; i < lines.size(); ++i)
    html += (i == 0 ? "" : "<br>") + EscapeHtml(lines[i]);
  return html + "</p></div>";
}

}  // namespace

std::string PaycheckHtml(const PaycheckShown& c) {
  std::string heading = "Paycheck";
  if (!c.check_number.empty()) heading += " No. " + c.check_number;
  std::string html =
      "<section class=\"paycheck\" aria-labelledby=\"paycheck-heading\">"
      "<h2 id=\"paycheck-heading\">" +
      EscapeHtml(heading) + " <span class=\"status\">" + EscapeHtml(PaycheckStatus(c)) +
      "</span></h2>";
  html += "<p>Date " + EscapeHtml(c.check_date) + ". Pay to <strong>" + EscapeHtml(c.payee) +
          "</strong> for " + EscapeHtml(c.period_start) + " to " + EscapeHtml(c.period_end) +
          ".</p>";
  html += Block("Employer", c.employer_info) + Block("Employee", c.employee_info);
  if (c.regular_hours || c.overtime_hours) {
    html += "<p>Hours: " + EscapeHtml(FormatHours(c.regular_hours.value_or(0))) + " regular, " +
            EscapeHtml(FormatHours(c.overtime_hours.value_or(0))) + " overtime</p>";
  }
  html +=
      "<table><caption>Earnings and deductions</caption><thead><tr><th scope=\"col\">Item</th>"
      "<th scope=\"col\">Hours</th><th scope=\"col\">Rate</th><th scope=\"col\">Current</th>"
      "<th scope=\"col\">Year to date</th></tr></thead><tbody>";
  for (const PaycheckLine& l : PaycheckLines(c)) {
    if (l.kind == PaycheckLine::Kind::kHeading) {
      html += "<tr><th scope=\"rowgroup\" colspan=\"5\">" + EscapeHtml(l.label) + "</th></tr>";
      continue;
    }
    const bool total = l.kind == PaycheckLine::Kind::kTotal;
    html += std::string("<tr") + (total ? " class=\"total\"" : "") + "><th scope=\"row\">" +
            EscapeHtml(l.label) + "</th>" + Cell(l.hours, true) + Cell(l.rate, true) +
            Cell(l.current, true) + Cell(l.year_to_date, true) + "</tr>";
  }
  return html + "</tbody></table></section>";
}

void AddPaycheckPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/paycheck", false, ShowPaycheck});
  routes.push_back({"/paycheck/pay", true, PayPost});
}

}  // namespace veltrane::host
