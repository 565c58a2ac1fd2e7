// Statements as pages: /statements (the selector), /statement (one
// statement as its page), /year-end and the package's pages under
// /year-end/YEAR/.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/host_errors.h"
#include "host/payroll_rows.h"
#include "host/statement_page.h"
#include "host/statements.h"
#include "host/user_input.h"
#include "host/web_page.h"
#include "host/web_routes.h"
#include "host/year_end.h"

namespace veltrane::host {
namespace {

namespace fs = std::filesystem;

WebReply SelectorPage(WebContext& c, const WebRequest& r, const FieldFault& fault) {
  Database& db = c.session.db();
  WebPage page("Statements", "/statements", c.token);
  if (!fault.text.empty() && fault.field.empty()) page.Notice(fault.text, true);
  const StatementSession statements(db);
  std::vector<std::pair<std::string, std::string>> types;
  for (const std::string& entry : statements.catalogue())
    types.emplace_back(IsCatalogueHeading(entry) ? "" : entry, entry);
  std::vector<std::pair<std::string, std::string>> assistants = {
      {"All Assistants", "All Assistants"}};
  for (const RowImage& row : ReadAllAssistants(db))
    assistants.emplace_back(row.Text("Name"), row.Text("Name"));
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
  page.Button("Show state&ment page");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowSelector(WebContext& c, const WebRequest& r) { return SelectorPage(c, r, {}); }

WebReply ShowStatement(WebContext& c, const WebRequest& r) {
  Database& db = c.session.db();
  std::string assistant = r.ValueOr("assistant");
  if (assistant == "All Assistants") assistant.clear();
  StatementResult result;
  try {
    StatementSession statements(db);
    result = statements.Run({r.ValueOr("type"), assistant, r.ValueOr("from"), r.ValueOr("to")});
  } catch (const UserError& e) {
    FieldFault fault = SplitFault(e.what(), {"from", "to", "assistant"});
    const std::string_view message = e.what();
    if (fault.field.empty() && message.find("assistant") != std::string_view::npos)
      fault.field = "assistant";
    else if (fault.field.empty() && message.find("statement") != std::string_view::npos)
      fault.field = "type";
    return SelectorPage(c, r, fault);
  }
  return WebReply::Page(RenderStatementPage(
      MakeStatementPage(db, result, c.session.clock().Today(), result.messages)));
}

std::string YearEndFolder(int year) {
  return (fs::path(DefaultPageFolder()) / ("year-end-" + std::to_string(year))).string();
}

WebReply YearEndPage(WebContext& c, const WebRequest& r, std::string_view fault) {
  WebPage page("Year-end package", "/year-end", c.token);
  if (const auto pages = r.Value("pages")) {
    const std::string year = r.ValueOr("year");
    page.Notice("Wrote " + *pages + " statements of " + year + " to '" +
                    YearEndFolder(static_cast<int>(ReadWholeNumber("year", year, 2000, 2099))) +
                    "'.",
                false);
    page.Link("/year-end/" + year + "/index.html", "&Open the year-end index of " + year);
  }
  page.BeginForm("/year-end", "Write every statement of a year");
  page.Paragraph(
      "Writes the statements of the year (Form 941 for each quarter) as pages with an "
      "index and one tab-separated file, into paystead's cache folder.");
  page.TextField(
      "year", "Calendar yea&r",
      r.ValueOr("year", std::to_string(static_cast<int>(c.session.clock().Today().year()))), fault,
      "like 2004");
  page.Button("&Write the year-end package");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowYearEnd(WebContext& c, const WebRequest& r) { return YearEndPage(c, r, ""); }

WebReply WriteYearEndPost(WebContext& c, const WebRequest& r) {
  int year = 0;
  try {
    year = static_cast<int>(ReadWholeNumber("year", r.ValueOr("year"), 2000, 2099));
  } catch (const UserError& e) {
    return YearEndPage(c, r, std::string(e.what()).substr(6));
  }
  const YearEndPackage package =
      WriteYearEnd(c.session.db(), {year, "", YearEndFolder(year)}, c.session.clock().Today());
  return WebReply::SeeOther(PathWith(
      "/year-end", {{"year", std::to_string(year)}, {"pages", std::to_string(package.pages)}}));
}

// A file of a written package: /year-end/2004/index.html. Only a plain file
// name of the year's own folder is served.
WebReply ServeYearEndFile(WebContext&, const WebRequest& r) {
  const std::string_view rest =
      std::string_view(r.path).substr(std::string_view("/year-end/").size());
  const std::size_t slash = rest.find('/');
  if (slash != 4) return WebReply::Refused(404, "There is no such page.");
  const std::string year(rest.substr(0, 4));
  const std::string file(rest.substr(5));
  const bool plain = !file.empty() && file[0] != '.' &&
                     file.find_first_not_of(
                         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                         "0123456789-_.") == std::string::npos;
  if (!plain || year.find_first_not_of("0123456789") != std::string::npos)
    return WebReply::Refused(404, "There is no such page.");
  std::ifstream in(fs::path(YearEndFolder(std::stoi(year))) / file, std::ios::binary);
  if (!in) return WebReply::Refused(404, "There is no such page; write the package first.");
  std::ostringstream text;
  text << in.rdbuf();
  WebReply reply = WebReply::Page(text.str());
  if (file.ends_with(".tsv")) reply.content_type = "text/tab-separated-values; charset=utf-8";
  return reply;
}

}  // namespace

void AddStatementPages(std::vector<WebRoute>& routes) {
  routes.push_back({"/statements", false, ShowSelector});
  routes.push_back({"/statement", false, ShowStatement});
  routes.push_back({"/year-end", false, ShowYearEnd});
  routes.push_back({"/year-end", true, WriteYearEndPost});
  routes.push_back({"/year-end/*", false, ServeYearEndFile});
}

}  // namespace veltrane::host
