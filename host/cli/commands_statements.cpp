// Statements: paystead statements, paystead statement TYPE, paystead
// year-end.
#include <unistd.h>

#include <filesystem>

#include "host/cli/cli_errors.h"
#include "host/cli/command.h"
#include "host/cli/open_in_browser.h"
#include "host/cli/page_output.h"
#include "host/cli/text_table.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/household/statements.h"
#include "host/household/year_end.h"
#include "host/html/page_files.h"
#include "host/html/statement_page.h"

namespace veltrane::cli {
namespace {

namespace fs = std::filesystem;
using household::StatementResult;
using household::StatementSession;

void Statements(Session& session, const ParsedArgs&) {
  const StatementSession statements(session.db());
  for (const std::string& entry : statements.catalogue()) session.out() << entry << '\n';
}

void ShowMessages(Session& session, const std::vector<std::string>& messages) {
  for (const std::string& message : messages) session.err() << message << "\n\n";
}

void Statement(Session& session, const ParsedArgs& args) {
  const std::string format = ReadPageFormat(args, {"text", "tsv", "html"});
  StatementSession statements(session.db());
  const StatementResult result =
      statements.Run({args.positionals[0], args.Get("assistant").value_or(""),
                      args.Get("from").value_or(""), args.Get("to").value_or("")});
  ShowMessages(session, result.messages);
  if (format == "tsv") {
    for (const StatementRow& row : result.rows) {
      session.out() << row.description << '\t' << row.amount << '\n';
    }
  } else if (format == "text") {
    TextTable table({{"", TextTable::Align::kLeft}, {"", TextTable::Align::kRight}});
    for (const StatementRow& row : result.rows) table.AddRow({row.description, row.amount});
    table.Render(session.out());
  } else {
    const std::string path =
        OutputPath(args, household::StatementFileName(result.type, result.from, result.to));
    html::WriteTextFile(
        path, html::RenderStatementPage(html::StatementPageOf(
                  result, household::ReadEmployerHeading(session.db()), session.clock().Today())));
    session.out() << "Wrote the " << result.type << " statement to '" << path << "'.\n";
    if (args.Has("open")) OpenInBrowser(path);
  }
}

void YearEnd(Session& session, const ParsedArgs& args) {
  const std::optional<std::string> year_text = args.Get("year");
  if (!year_text) throw UsageError("year-end needs --year YEAR");
  const int year = household::ReadYear(*year_text);
  const std::string folder = args.Has("output")
                                 ? household::ReadOutputName("output", *args.Get("output"))
                                 : "paystead-" + std::to_string(year);
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  const household::YearEndContent content = household::MakeYearEnd(
      session.db(), {year, args.Get("assistant").value_or("")}, [&](const std::string& label) {
        if (terminal) session.err() << "Writing " << label << "...\n";
      });
  const html::WrittenPackage package =
      html::WriteYearEndPackage(content, folder, session.clock().Today());
  ShowMessages(session, content.messages);
  session.out() << "Wrote " << package.pages << " statements of " << year << " to '" << folder
                << "': open '" << package.index << "'; the rows are in '" << package.tsv << "'.\n";
  if (args.Has("open")) OpenInBrowser(package.index);
}

// A statement's flags: whose and which period, then how it is written.
std::vector<OptionSpec> StatementOptions() {
  std::vector<OptionSpec> options = {
      {"assistant", true, false, "one assistant (default: All Assistants)", "NAME"},
      {"from", true, false, "the first day of the period", "DATE"},
      {"to", true, false, "the last day of the period", "DATE"}};
  for (const OptionSpec& o : PageOptions("text (two columns for a person, the default), tsv (each "
                                         "row as description, a TAB, the amount) or html (a page)"))
    options.push_back(o);
  return options;
}

}  // namespace

void AddStatementCommands(CommandTable& table) {
  table.push_back({{"statements"},
                   "",
                   "list the statements, one a line, as the statement selector shows them",
                   "Lines of hyphens and the group headings (Tax Forms, Federal Taxes, Other\n"
                   "Taxes, Supplemental Payments) order the list; they are not statements.",
                   {},
                   0,
                   0,
                   Statements});
  table.push_back(
      {{"statement"},
       "TYPE",
       "print a statement of the payment journal, or write it as a page",
       "TYPE is a statement of 'paystead statements' (letter case ignored), for example\n"
       "Summary, Detailed, \"Soc. Sec.\" or \"Form 941\". Void checks never count; both\n"
       "dates are included. Without --from and --to the statement covers every date.\n"
       "--format html writes a page to read or print (by default into the cache folder,\n"
       "$XDG_CACHE_HOME/paystead); --open then shows it in the web browser.",
       StatementOptions(),
       1,
       1,
       Statement,
       {"type"}});
  table.push_back(
      {{"year-end"},
       "",
       "write every statement of a year as pages, with an index and one tsv file",
       "Writes the catalogue's statements for the year (Form 941 for each quarter) as\n"
       "HTML pages, index.html linking them, and statements.tsv (statement, description,\n"
       "amount) into the folder (default paystead-YEAR in the current folder).",
       {{"year", true, false, "the calendar year, e.g. 2004", "YEAR"},
        {"assistant", true, false, "one assistant (default: All Assistants)", "NAME"},
        {"output", true, false, "the folder of the package", "DIR"},
        {"open", false, false, "open the index with docbrowse", ""}},
       0,
       0,
       YearEnd});
}

}  // namespace veltrane::cli
