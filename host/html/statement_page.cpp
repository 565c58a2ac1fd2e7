#include "host/html/statement_page.h"

#include <algorithm>
#include <cctype>

#include "common/display.h"
#include "host/html/escape.h"

namespace veltrane::html {
namespace {

// Screen and print alike; on paper the page keeps to one US-letter sheet
// where the statement fits.
constexpr std::string_view kStyle = R"(
body { font-family: system-ui, sans-serif; color: #111; background: #fff; margin: 2rem; }
h1 { font-size: 1.5rem; margin: 0 0 .5rem; }
dl.about { display: grid; grid-template-columns: max-content auto; gap: .15rem 1rem; margin: 0 0 1rem; }
dl.about dt { font-weight: 600; }
dl.about dd { margin: 0; }
table { border-collapse: collapse; min-width: 32rem; }
caption { text-align: left; font-weight: 600; padding: .25rem 0; }
th, td { padding: .2rem .6rem; vertical-align: top; }
thead th { border-bottom: 2px solid #111; text-align: left; }
thead th.amount, td.amount { text-align: right; font-variant-numeric: tabular-nums; }
td.description, th.description { white-space: pre-wrap; text-align: left; }
tr.heading th, tr.heading td { font-weight: 700; padding-top: .6rem; border-bottom: 1px solid #999; }
tr.spacer td { height: .6rem; padding: 0; }
p.note { max-width: 40rem; border-left: 4px solid #c60; padding-left: .6rem; }
ul.statements li { margin: .2rem 0; }
a { color: #0645ad; }
a:focus { outline: 3px solid #c60; }
@page { size: letter; margin: .6in; }
@media print {
  body { margin: 0; font-size: 10pt; }
  table { min-width: 0; width: 100%; page-break-inside: auto; }
  tr { page-break-inside: avoid; }
  a { color: inherit; text-decoration: none; }
}
)";

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// A heading row: an upper-case label over no amount, such as "PAYMENTS".
bool IsHeading(const StatementRow& row) {
  if (!IsBlank(row.amount) || IsBlank(row.description)) return false;
  bool letter = false;
  for (char c : row.description) {
    if (std::islower(static_cast<unsigned char>(c))) return false;
    letter = letter || std::isupper(static_cast<unsigned char>(c));
  }
  return letter;
}

std::string Head(const std::string& title) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
         EscapeHtml(title) + "</title>\n<style>" + std::string(kStyle) +
         "</style>\n</head>\n<body>\n";
}

std::string About(const std::vector<std::pair<std::string, std::string>>& items) {
  std::string html = "<dl class=\"about\">\n";
  for (const auto& [term, value] : items) {
    if (value.empty()) continue;
    html += "<dt>" + EscapeHtml(term) + "</dt><dd>" + EscapeHtml(value) + "</dd>\n";
  }
  return html + "</dl>\n";
}

std::string Notes(const std::vector<std::string>& notes) {
  std::string html;
  for (const std::string& note : notes) html += "<p class=\"note\">" + EscapeHtml(note) + "</p>\n";
  return html;
}

}  // namespace

StatementPage StatementPageOf(const household::StatementResult& result,
                              const household::EmployerHeading& employer, Date today,
                              std::vector<std::string> notes) {
  StatementPage page;
  page.title = result.type;
  page.employer = employer.name;
  page.employer_id = employer.id;
  page.assistant = result.assistant;
  page.period = result.from.empty() ? "Every date"
                                    : FormatShortDate(ParseDate(result.from)) + " to " +
                                          FormatShortDate(ParseDate(result.to));
  page.made_on = FormatShortDate(today);
  page.rows = result.rows;
  page.notes = std::move(notes);
  return page;
}

std::string RenderStatementPage(const StatementPage& page) {
  std::string html = Head(page.title + " - " + page.period);
  html += "<main>\n<h1>" + EscapeHtml(page.title) + "</h1>\n";
  html += About({{"Employer", page.employer},
                 {"Employer ID", page.employer_id},
                 {"Assistant", page.assistant},
                 {"Period", page.period},
                 {"Made on", page.made_on}});
  html += "<table>\n<caption>" + EscapeHtml(page.title) + ", " + EscapeHtml(page.period) +
          "</caption>\n<thead><tr><th scope=\"col\" class=\"description\">Description</th>"
          "<th scope=\"col\" class=\"amount\">Amount</th></tr></thead>\n<tbody>\n";
  for (const StatementRow& row : page.rows) {
    const std::string description = EscapeHtml(row.description);
    const std::string amount = EscapeHtml(row.amount);
    if (IsHeading(row)) {
      html += "<tr class=\"heading\"><th scope=\"row\" class=\"description\">" + description +
              "</th><td class=\"amount\">" + amount + "</td></tr>\n";
    } else if (IsBlank(row.description) && IsBlank(row.amount)) {
      html += "<tr class=\"spacer\"><td class=\"description\">" + description +
              "</td><td class=\"amount\">" + amount + "</td></tr>\n";
    } else {
      html += "<tr><td class=\"description\">" + description + "</td><td class=\"amount\">" +
              amount + "</td></tr>\n";
    }
  }
  html += "</tbody>\n</table>\n" + Notes(page.notes) + "</main>\n</body>\n</html>\n";
  return html;
}

std::string RenderIndexPage(const std::string& title, const std::string& employer,
                            const std::string& made_on, const std::vector<IndexEntry>& entries,
                            const std::vector<std::string>& notes) {
  std::string html = Head(title);
  html += "<main>\n<h1>" + EscapeHtml(title) + "</h1>\n";
  html += About({{"Employer", employer}, {"Made on", made_on}});
  html += "<ul class=\"statements\">\n";
  for (const IndexEntry& e : entries) {
    html += "<li><a href=\"" + EscapeHtml(e.file) + "\">" + EscapeHtml(e.label) + "</a></li>\n";
  }
  html += "</ul>\n" + Notes(notes) + "</main>\n</body>\n</html>\n";
  return html;
}

}  // namespace veltrane::html
