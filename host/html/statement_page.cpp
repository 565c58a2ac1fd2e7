#include "host/html/statement_page.h"

#include <algorithm>
#include <cctype>

#include "common/display.h"
#include "host/html/escape.h"

namespace veltrane::html {
namespace {

// A standalone page, on screen and on paper: on paper it keeps to one
// US-letter sheet where the statement fits.
constexpr std::string_view kDocumentStyle = R"(
body { font-family: system-ui, sans-serif; color: #111; background: #fff; margin: 1rem; line-height: 1.5; }
h1 { font-size: 1.5rem; margin: 0 0 .5rem; }
a { color: #0645ad; }
a:focus, .wide:focus { outline: 3px solid #c60; outline-offset: 2px; }
@page { size: letter; margin: .6in; }
@media print {
  body { margin: 0; font-size: 10pt; }
  a { color: inherit; text-decoration: none; }
  .back { display: none; }
}
)";

// The statement's section wherever it is shown. Nothing has a fixed width:
// at 320 CSS px, or with text enlarged, the table wraps its descriptions,
// and scrolls in its region only when an amount cannot fit.
constexpr std::string_view kSectionStyle = R"(
.statement dl.about { display: grid; grid-template-columns: max-content auto; gap: .15rem 1rem; margin: 0 0 1rem; }
.statement dl.about dt { font-weight: 600; }
.statement dl.about dd { margin: 0; overflow-wrap: anywhere; }
.statement .wide { overflow-x: auto; }
.statement table { border-collapse: collapse; width: 100%; max-width: 40rem; }
.statement caption { text-align: left; font-weight: 600; padding: .25rem 0; }
.statement th, .statement td { padding: .2rem .6rem; vertical-align: top; border: 0; }
.statement thead th { border-bottom: 2px solid #111; text-align: left; }
.statement thead th.amount, .statement td.amount { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.statement td.description, .statement th.description { white-space: pre-wrap; text-align: left; }
.statement tr.heading th, .statement tr.heading td { font-weight: 700; padding-top: .6rem; border-bottom: 1px solid #999; }
.statement tr.spacer td { height: .6rem; padding: 0; }
.statement p.note { max-width: 40rem; border-left: 4px solid #c60; padding-left: .6rem; }
.statement ul.statements li { margin: .2rem 0; }
@media print {
  .statement table { max-width: none; page-break-inside: auto; }
  .statement tr { page-break-inside: avoid; }
  .statement .wide { overflow: visible; }
}
)";

// The section of a written document lies between these marks, for the web
// to show it inside its own page.
constexpr std::string_view kSectionStart = "<!--section-->\n";
constexpr std::string_view kSectionEnd = "<!--/section-->\n";

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

// A standalone document: its heading, its section, and a way back.
std::string Document(const std::string& title, const std::string& heading,
                     const std::string& section, const IndexEntry* back) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      EscapeHtml(title) + "</title>\n<style>" + std::string(kDocumentStyle) +
      std::string(kSectionStyle) + "</style>\n</head>\n<body>\n<main>\n<h1>" + EscapeHtml(heading) +
      "</h1>\n" + std::string(kSectionStart) + section + std::string(kSectionEnd);
  if (back != nullptr) {
    html += "<p class=\"back\"><a href=\"" + EscapeHtml(back->file) + "\">Back to " +
            EscapeHtml(back->label) + "</a></p>\n";
  }
  return html + "</main>\n</body>\n</html>\n";
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

std::string_view StatementStyle() { return kSectionStyle; }

std::string StatementSectionHtml(const StatementPage& page) {
  std::string html = "<div class=\"statement\">\n";
  html += About({{"Employer", page.employer},
                 {"Employer ID", page.employer_id},
                 {"Assistant", page.assistant},
                 {"Period", page.period},
                 {"Made on", page.made_on}});
  html +=
      "<div class=\"wide\" role=\"region\" tabindex=\"0\" aria-labelledby=\"statement-caption\">"
      "\n<table>\n<caption id=\"statement-caption\">" +
      EscapeHtml(page.title) + ", " + EscapeHtml(page.period) +
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
  return html + "</tbody>\n</table>\n</div>\n" + Notes(page.notes) + "</div>\n";
}

std::string RenderStatementPage(const StatementPage& page, const IndexEntry* back) {
  return Document(page.title + " - " + page.period, page.title, StatementSectionHtml(page), back);
}

std::string RenderIndexPage(const std::string& title, const std::string& employer,
                            const std::string& made_on, const std::vector<IndexEntry>& entries,
                            const std::vector<std::string>& notes) {
  std::string html = "<div class=\"statement\">\n";
  html += About({{"Employer", employer}, {"Made on", made_on}});
  html += "<ul class=\"statements\">\n";
  for (const IndexEntry& e : entries) {
    html += "<li><a href=\"" + EscapeHtml(e.file) + "\">" + EscapeHtml(e.label) + "</a></li>\n";
  }
  html += "</ul>\n" + Notes(notes) + "</div>\n";
  return Document(title, title, html, nullptr);
}

std::optional<WrittenSection> ReadWrittenSection(std::string_view document) {
  const std::size_t heading = document.find("<h1>");
  const std::size_t heading_end = document.find("</h1>");
  const std::size_t start = document.find(kSectionStart);
  const std::size_t end = document.rfind(kSectionEnd);
  if (heading == std::string_view::npos || heading_end == std::string_view::npos ||
      start == std::string_view::npos || end == std::string_view::npos || heading_end < heading ||
      end < start)
    return std::nullopt;
  const std::size_t from = start + kSectionStart.size();
  return WrittenSection{UnescapeHtml(document.substr(heading + 4, heading_end - heading - 4)),
                        std::string(document.substr(from, end - from))};
}

}  // namespace veltrane::html
