// The payment journal as pages: /journal, /check (one stored check) and
// /check/void.
#include <map>

#include "common/display.h"
#include "host/household/journal.h"
#include "host/household/paycheck_lines.h"
#include "host/html/escape.h"
#include "host/html/paycheck_html.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {
namespace {

using household::JournalEntry;
using html::EscapeHtml;

// How a fault's text names the fields of the filter.
const std::map<std::string, std::string, std::less<>> kLabels = {{"from", "the first check date"},
                                                                 {"to", "the last check date"}};

WebReply ShowJournal(WebContext& c, const WebRequest& r) {
  WebPage page("Payment journal", "/journal", c.token);
  household::JournalFilter filter;
  PageFault fault;
  for (const char* name : {"payee", "from", "to"}) {
    const std::string value = r.ValueOr(name);
    if (value.empty()) continue;
    (std::string_view(name) == "payee"  ? filter.payee
     : std::string_view(name) == "from" ? filter.from
                                        : filter.to) = value;
  }
  std::vector<JournalEntry> entries;
  try {
    entries = household::ListChecks(c.db, filter);
  } catch (const household::Fault& e) {
    fault = ForPage(e, kLabels);
    if (fault.field == "assistant") fault.field = "payee";
  }
  page.BeginForm("/journal", "Which checks", false);
  page.TextField("payee", "Assi&stant", r.ValueOr("payee"),
                 fault.field == "payee" ? fault.text : "", "blank for every assistant");
  page.TextField("from", "Check dates &from", r.ValueOr("from"),
                 fault.field == "from" ? fault.text : "");
  page.TextField("to", "Check dates t&o", r.ValueOr("to"), fault.field == "to" ? fault.text : "");
  page.Button("Show chec&ks");
  page.EndForm();
  if (entries.empty()) {
    page.Paragraph("No checks found.");
    return WebReply::Page(page.Render());
  }
  page.BeginTable("Stored checks, by check date");
  page.Html(
      "<thead><tr><th scope=\"col\">ID</th><th scope=\"col\">Date</th><th scope=\"col\">Payee</th>"
      "<th scope=\"col\">Check No.</th><th scope=\"col\">Period</th><th scope=\"col\">Gross</th>"
      "<th scope=\"col\">Net</th><th scope=\"col\">Status</th></tr></thead><tbody>");
  for (const JournalEntry& e : entries) {
    page.Html("<tr><td>");
    page.Link(PathWith("/check", {{"id", std::to_string(e.id)}}),
              "Check ID " + std::to_string(e.id));
    page.Html("</td><td>" + EscapeHtml(FormatShortDate(e.date)) + "</td><td>" +
              EscapeHtml(e.payee) + "</td><td>" + EscapeHtml(e.check_number) + "</td><td>" +
              EscapeHtml(FormatShortDate(e.start) + " to " + FormatShortDate(e.end)) +
              "</td><td class=\"num\">" + EscapeHtml(FormatCurrency(e.gross)) +
              "</td><td class=\"num\">" + EscapeHtml(FormatCurrency(e.net)) + "</td><td>" +
              (e.is_void ? "void" : "paid") + "</td></tr>");
  }
  page.Html("</tbody>");
  page.EndTable();
  return WebReply::Page(page.Render());
}

// The check as its pay stub; printed, the page is the stub alone.
WebReply ShowCheckPage(WebContext& c, const WebRequest& r) {
  const std::int32_t id = household::ReadCheckId(r.ValueOr("id"));
  const PaycheckShown shown = household::PayStubOf(household::ShowCheck(c.db, c.clock, id));
  WebPage page("Check ID " + std::to_string(id), "/journal", c.token);
  if (const auto marked = r.Value("paid")) {
    page.Notice("Paid: check ID " + std::to_string(id) + " is in the payment journal; " + *marked +
                    (*marked == "1" ? " work-journal entry" : " work-journal entries") +
                    " marked paid.",
                false);
  }
  if (const auto unpaid = r.Value("voided")) {
    page.Notice("Check " + std::to_string(id) + " is void; " + *unpaid +
                    (*unpaid == "1" ? " work-journal entry" : " work-journal entries") +
                    " of its period unpaid again.",
                false);
  }
  page.Html(html::PaycheckHtml(shown));
  page.Html("<p class=\"no-print\">Printed, this page is the check's pay stub, on one sheet.</p>");
  if (!shown.is_void) {
    page.BeginForm("/check/void", "Void this check", false);
    page.Hidden("id", std::to_string(id));
    page.Paragraph(
        "A void check leaves every total and statement; the hours of its period become "
        "unpaid again, unless another check covers their day. The next page asks before "
        "anything changes.");
    page.Button("Voi&d check ID " + std::to_string(id) + "...");
    page.EndForm();
  }
  page.Html("<p class=\"no-print\">");
  page.Link("/journal", "&Back to the payment journal");
  page.Html("</p>");
  return WebReply::Page(page.Render());
}

// The second step of a void: what it would do, and the button that does it.
WebReply ConfirmVoidPage(WebContext& c, const WebRequest& r) {
  const std::int32_t id = household::ReadCheckId(r.ValueOr("id"));
  household::VoidPreview preview;
  try {
    preview = household::PreviewVoid(c.db, id);
  } catch (const household::Fault&) {
    // Void already: the check shows it.
    return WebReply::SeeOther(PathWith("/check", {{"id", std::to_string(id)}}));
  }
  const household::VoidOutcome& check = preview.check;
  WebPage page("Void check ID " + std::to_string(id) + "?", "/journal", c.token);
  page.Paragraph("Check ID " + std::to_string(id) + " pays " + check.payee + " " +
                 FormatCurrency(check.gross) + " for " + FormatShortDate(check.start) + " to " +
                 FormatShortDate(check.end) +
                 ". Voiding it takes it out of every total and "
                 "statement; it stays in the journal, marked void.");
  if (preview.days.empty()) {
    page.Paragraph(
        "No day's hours become payable again: none are recorded as paid by this check, "
        "or another check pays their day.");
  } else {
    std::string days;
    for (const Date& day : preview.days) days += (days.empty() ? "" : ", ") + FormatShortDate(day);
    page.Paragraph("The hours of these days become payable again: " + days + ".");
  }
  page.BeginForm("/check/void", "Void the check");
  page.Hidden("id", std::to_string(id));
  page.Hidden("confirm", "yes");
  page.Button("Yes, voi&d check ID " + std::to_string(id));
  page.EndForm();
  page.Link(PathWith("/check", {{"id", std::to_string(id)}}), "No, &keep the check");
  return WebReply::Page(page.Render());
}

WebReply VoidPost(WebContext& c, const WebRequest& r) {
  const std::int32_t id = household::ReadCheckId(r.ValueOr("id"));
  // A void is done from its confirmation only.
  if (r.ValueOr("confirm") != "yes")
    return WebReply::SeeOther(PathWith("/check/void", {{"id", std::to_string(id)}}));
  try {
    const household::VoidOutcome v = household::VoidCheck(c.db, id);
    return WebReply::SeeOther(PathWith(
        "/check", {{"id", std::to_string(id)}, {"voided", std::to_string(v.hours_unpaid)}}));
  } catch (const household::Fault&) {
    // Void already (a form sent twice): the check shows it.
    return WebReply::SeeOther(PathWith("/check", {{"id", std::to_string(id)}}));
  }
}

}  // namespace

void AddJournalPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/journal", false, ShowJournal});
  routes.push_back({"/check", false, ShowCheckPage});
  routes.push_back({"/check/void", false, ConfirmVoidPage});
  routes.push_back({"/check/void", true, VoidPost});
}

}  // namespace veltrane::web
