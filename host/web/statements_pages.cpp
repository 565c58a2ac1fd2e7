// Statements as pages: /statements (the selector), /statement (one
// statement as its page), /year-end and the package's pages under
// /year-end/YEAR/.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "host/household/rows.h"
#include "host/household/statements.h"
#include "host/household/year_end.h"
#include "host/html/page_files.h"
#include "host/html/statement_page.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {
namespace {

namespace fs = std::filesystem;
using household::StatementResult;
using household::StatementSession;

// How a fault's text names the fields of the selector.
const std::map<std::string, std::string, std::less<>> kLabels = {{"from", "the first day"},
                                                                 {"to", "the last day"}};

WebReply SelectorPage(WebContext& c, const WebRequest& r, const PageFault& fault) {
  Database& db = c.db;
  WebPage page("Statements", "/statements", c.token);
  if (!fault.text.empty() && fault.field != "type" && fault.field != "assistant" &&
      fault.field != "from" && fault.field != "to")
    page.Notice(fault.text, true);
  const StatementSession statements(db);
  std::vector<std::pair<std::string, std::string>> types;
  for (const std::string& entry : statements.catalogue())
    types.emplace_back(statements.IsHeading(entry) ? "" : entry, entry);
  std::vector<std::pair<std::string, std::string>> assistants = {
      {"All Assistants", "All Assistants"}};
  for (const std::string& name : household::AssistantNames(db)) assistants.emplace_back(name, name);
  const auto beside = [&](std::string_view field) {
    return fault.field == field ? fault.text : "";
  };

  page.BeginForm("/statement", "Which statement", false);
  page.Select("type", "&Statement", types, r.ValueOr("type", "Summary"), beside("type"));
  page.Select("assistant", "Ass&istant", assistants, r.ValueOr("assistant", "All Assistants"),
              beside("assistant"));
  page.TextField("from", "Period &from", r.ValueOr("from"), beside("from"),
                 "blank with the end blank too: every date");
  page.TextField("to", "Period t&o", r.ValueOr("to"), beside("to"));
  page.Button("Sho&w statement page");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowSelector(WebContext& c, const WebRequest& r) { return SelectorPage(c, r, {}); }

WebReply ShowStatement(WebContext& c, const WebRequest& r) {
  Database& db = c.db;
  std::string assistant = r.ValueOr("assistant");
  if (assistant == "All Assistants") assistant.clear();
  StatementResult result;
  try {
    StatementSession statements(db);
    result = statements.Run({r.ValueOr("type"), assistant, r.ValueOr("from"), r.ValueOr("to")});
  } catch (const household::Fault& e) {
    return SelectorPage(c, r, ForPage(e, kLabels));
  }
  const html::StatementPage shown = html::StatementPageOf(
      result, household::ReadEmployerHeading(db), c.clock.Today(), result.messages);
  WebPage page(shown.title, "/statements", c.token);
  page.Style(html::StatementStyle());
  page.Html(html::StatementSectionHtml(shown));
  // Back to the selector with this statement still chosen.
  NamedValues chosen;
  for (const char* name : {"type", "assistant", "from", "to"}) {
    if (const auto value = r.Value(name)) chosen.emplace_back(name, *value);
  }
  page.Link(PathWith("/statements", chosen), "&Back to the statement selector");
  return WebReply::Page(page.Render());
}

std::string YearEndFolder(int year) {
  return (fs::path(html::DefaultPageFolder()) / ("year-end-" + std::to_string(year))).string();
}

WebReply YearEndPage(WebContext& c, const WebRequest& r, std::string_view fault) {
  WebPage page("Year-end package", "/year-end", c.token);
  if (const auto pages = r.Value("pages")) {
    const std::string year = r.ValueOr("year");
    page.Notice("Wrote " + *pages + " statements of " + year + " to '" +
                    YearEndFolder(household::ReadYear(year)) + "'.",
                false);
    page.Link("/year-end/" + year + "/index.html",
              "&Open the year-end index of " + CaptionLiteral(year));
  }
  page.BeginForm("/year-end", "Write every statement of a year");
  page.Paragraph(
      "Writes the statements of the year (Form 941 for each quarter) as pages with an "
      "index and one tab-separated file, into paystead's cache folder.");
  page.TextField("year", "Calendar yea&r",
                 r.ValueOr("year", std::to_string(static_cast<int>(c.clock.Today().year()))), fault,
                 "like 2004");
  page.Button("&Write the year-end package");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowYearEnd(WebContext& c, const WebRequest& r) { return YearEndPage(c, r, ""); }

WebReply WriteYearEndPost(WebContext& c, const WebRequest& r) {
  int year = 0;
  try {
    year = household::ReadYear(r.ValueOr("year"));
  } catch (const household::Fault& e) {
    return YearEndPage(c, r, ForPage(e, {}).text);
  }
  const html::WrittenPackage package = html::WriteYearEndPackage(
      household::MakeYearEnd(c.db, {year, ""}), YearEndFolder(year), c.clock.Today());
  return WebReply::SeeOther(PathWith(
      "/year-end", {{"year", std::to_string(year)}, {"pages", std::to_string(package.pages)}}));
}

// A file of a written package: /year-end/2004/index.html. Only a plain file
// name of the folder of a year paystead writes is served.
WebReply ServeYearEndFile(WebContext& c, const WebRequest& r) {
  const std::string_view rest =
      std::string_view(r.path).substr(std::string_view("/year-end/").size());
  const std::size_t slash = rest.find('/');
  if (slash != 4) return ProblemPage(404, "Not found", "There is no such page.", c.token);
  const std::string_view year_text = rest.substr(0, 4);
  const std::string file(rest.substr(5));
  const bool plain = !file.empty() && file[0] != '.' &&
                     file.find_first_not_of(
                         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                         "0123456789-_.") == std::string::npos;
  int year = 0;
  try {
    if (year_text.find_first_not_of("0123456789") == std::string_view::npos)
      year = household::ReadYear(year_text);
  } catch (const household::Fault&) {
    year = 0;  // a year whose package paystead never writes
  }
  if (!plain || year == 0) return ProblemPage(404, "Not found", "There is no such page.", c.token);
  std::ifstream in(fs::path(YearEndFolder(year)) / file, std::ios::binary);
  if (!in)
    return ProblemPage(404, "Not found", "There is no such page; write the package first.",
                       c.token);
  std::ostringstream text;
  text << in.rdbuf();
  const auto section = html::ReadWrittenSection(text.str());
  if (file.ends_with(".tsv") || !section) {
    WebReply reply = WebReply::Page(text.str());
    if (file.ends_with(".tsv")) reply.content_type = "text/tab-separated-values; charset=utf-8";
    return reply;
  }
  // A page of the package inside the application's page, with the way back
  // to where it was opened from.
  WebPage page(section->heading, "/year-end", c.token);
  page.Style(html::StatementStyle());
  page.Html(section->html);
  if (file == "index.html") {
    page.Link(PathWith("/year-end", {{"year", std::to_string(year)}}), "&Back to the year-end page");
  } else {
    page.Link("index.html", "&Back to the index of the statements of " + std::to_string(year));
  }
  return WebReply::Page(page.Render());
}

}  // namespace

void AddStatementPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/statements", false, ShowSelector});
  routes.push_back({"/statement", false, ShowStatement});
  routes.push_back({"/year-end", false, ShowYearEnd});
  routes.push_back({"/year-end", true, WriteYearEndPost});
  routes.push_back({"/year-end/*", false, ServeYearEndFile});
}

}  // namespace veltrane::web
