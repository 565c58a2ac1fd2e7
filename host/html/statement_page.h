// A statement as a page a person reads in the browser or prints: one
// standalone HTML5 document with its style inside it and nothing fetched
// from anywhere else. The rows are shown exactly as the statements library
// wrote them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/date.h"
#include "finstatements/memory_controls.h"
#include "host/household/rows.h"
#include "host/household/statements.h"

namespace veltrane::html {

struct StatementPage {
  std::string title;        // the statement's catalogue entry, "Form 941"
  std::string employer;     // the employer's name
  std::string employer_id;  // may be empty
  std::string assistant;    // an assistant or "All Assistants"
  std::string period;       // "1/1/2004 to 3/31/2004", or "Every date"
  std::string made_on;      // the day the page was made, "3/8/2004"
  std::vector<StatementRow> rows;
  std::vector<std::string> notes;  // shown under the table, one paragraph each
};

// The page of a statement's result with the household's employer, made on
// `today`; `notes` go under the table.
StatementPage StatementPageOf(const household::StatementResult& result,
                              const household::EmployerHeading& employer, Date today,
                              std::vector<std::string> notes = {});

// One link to another page: of the year-end index to a statement, or of a
// statement back to the index.
struct IndexEntry {
  std::string label;  // "Form 941, 1/1/2004 to 3/31/2004"
  std::string file;   // a file name in the same folder
};

// The statement as a section of a page: what it is about, its table in a
// region that scrolls sideways where the window is narrower, and its notes;
// styled by StatementStyle().
std::string StatementSectionHtml(const StatementPage& page);
std::string_view StatementStyle();

// The statement as a standalone document; `back`, when given, is the page a
// reader goes back to (the year-end index).
std::string RenderStatementPage(const StatementPage& page, const IndexEntry* back = nullptr);

// The year-end index: a link to every page in order, then the notes.
std::string RenderIndexPage(const std::string& title, const std::string& employer,
                            const std::string& made_on, const std::vector<IndexEntry>& entries,
                            const std::vector<std::string>& notes);

// A document written by RenderStatementPage or RenderIndexPage read back, to
// be shown inside another page: its heading as text and its section's
// markup; nullopt for any other document.
struct WrittenSection {
  std::string heading;
  std::string html;
};
std::optional<WrittenSection> ReadWrittenSection(std::string_view document);

}  // namespace veltrane::html
