#include "host/year_end.h"

#include <filesystem>

#include "common/display.h"
#include "common/text.h"
#include "host/household_thresholds.h"
#include "host/payroll_rows.h"
#include "host/statement_page.h"
#include "host/statements.h"

namespace veltrane::host {
namespace {

namespace fs = std::filesystem;

struct Period {
  std::string from, to;
};

// The periods a statement of the package covers: the quarters for Form 941,
// else the year.
std::vector<Period> PeriodsOf(const std::string& type, int year) {
  const auto day = [&](unsigned month, unsigned d) { return FormatShortDate(MakeDate(year, month, d)); };
  if (IEquals(type, "Form 941")) {
    return {{day(1, 1), day(3, 31)}, {day(4, 1), day(6, 30)}, {day(7, 1), day(9, 30)},
            {day(10, 1), day(12, 31)}};
  }
  return {{day(1, 1), day(12, 31)}};
}

bool IsScheduleH(const std::string& type) { return IEquals(type, "Form 1040 Schedule H"); }

// Whom a statement of the package is written for: each assistant on a page
// of their own for the W-2, which an employer hands to each of them, else
// the assistant asked for (empty for every assistant).
std::vector<std::string> AssistantsOf(Database& db, const std::string& type,
                                      const std::string& assistant) {
  if (!IEquals(type, "Form W-2") || !assistant.empty()) return {assistant};
  std::vector<std::string> names;
  for (const RowImage& row : ReadAllAssistants(db)) names.push_back(row.Text("Name"));
  return names;
}

}  // namespace

YearEndPackage WriteYearEnd(Database& db, const YearEndRequest& request, Date today,
                            const std::function<void(const std::string&)>& progress) {
  YearEndPackage package;
  const std::vector<std::string> notes = HouseholdThresholdNotes(db, request.year, request.assistant);
  std::vector<IndexEntry> entries;
  std::string tsv;
  std::string employer;
  StatementSession session(db);
  for (const std::string& type : session.catalogue()) {
    if (IsCatalogueHeading(type)) continue;
    for (const Period& period : PeriodsOf(type, request.year)) {
      for (const std::string& assistant : AssistantsOf(db, type, request.assistant)) {
        // A page of its own assistant names them, so that its label and file differ.
        const std::string own = assistant == request.assistant ? type : type + " " + assistant;
        const std::string label = own + ", " + period.from + " to " + period.to;
        if (progress) progress(label);
        const StatementResult result = session.Run({type, assistant, period.from, period.to});
        package.messages.insert(package.messages.end(), result.messages.begin(), result.messages.end());
        const StatementPage page = MakeStatementPage(db, result, today,
                                                     IsScheduleH(type) ? notes : std::vector<std::string>{});
        employer = page.employer;
        const std::string file = StatementFileName(own, period.from, period.to);
        WriteTextFile((fs::path(request.folder) / file).string(), RenderStatementPage(page));
        entries.push_back({label, file});
        for (const StatementRow& row : result.rows) {
          tsv += label + "\t" + row.description + "\t" + row.amount + "\n";
        }
        ++package.pages;
      }
    }
  }
  package.index = (fs::path(request.folder) / "index.html").string();
  package.tsv = (fs::path(request.folder) / "statements.tsv").string();
  WriteTextFile(package.tsv, "statement\tdescription\tamount\n" + tsv);
  WriteTextFile(package.index,
                RenderIndexPage("Payroll statements of " + std::to_string(request.year), employer,
                                FormatShortDate(today), entries, notes));
  return package;
}

}  // namespace veltrane::host
