#include "host/html/paycheck_html.h"

#include <vector>

#include "common/amount_text.h"
#include "host/household/paycheck_lines.h"
#include "host/html/escape.h"

namespace veltrane::html {

using household::BlockLines;
using household::PaycheckLine;
using household::PaycheckLines;
using household::PaycheckStatus;

namespace {

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
      "<div class=\"wide\" role=\"region\" tabindex=\"0\" aria-labelledby=\"paycheck-caption\">"
      "<table><caption id=\"paycheck-caption\">Earnings and deductions</caption><thead><tr>"
      "<th scope=\"col\">Item</th><th scope=\"col\" class=\"num\">Hours</th>"
      "<th scope=\"col\" class=\"num\">Rate</th><th scope=\"col\" class=\"num\">Current</th>"
      "<th scope=\"col\" class=\"num\">Year to date</th></tr></thead><tbody>";
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
  return html + "</tbody></table></div></section>";
}

}  // namespace veltrane::html
