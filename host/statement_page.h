// A statement as a page a person reads in the browser or prints: one
// standalone HTML5 document with its style inside it and nothing fetched
// from anywhere else. The rows are shown exactly as the statements library
// wrote them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "finstatements/memory_controls.h"

namespace veltrane::host {

struct StatementPage {
  std::string title;         // the statement's catalogue entry, "Form 941"
  std::string employer;      // the employer's name
  std::string employer_id;   // may be empty
  std::string assistant;     // an assistant or "All Assistants"
  std::string period;        // "1/1/2004 to 3/31/2004", or "Every date"
  std::string made_on;       // the day the page was made, "3/8/2004"
  std::vector<StatementRow> rows;
  std::vector<std::string> notes;  // shown under the table, one paragraph each
};

// Text made safe inside an HTML element or a quoted attribute.
std::string EscapeHtml(std::string_view text);

std::string RenderStatementPage(const StatementPage& page);

// One link of the year-end index.
struct IndexEntry {
  std::string label;  // "Form 941, 1/1/2004 to 3/31/2004"
  std::string file;   // a file name in the index's folder
};

// The year-end index: a link to every page in order, then the notes.
std::string RenderIndexPage(const std::string& title, const std::string& employer,
                            const std::string& made_on, const std::vector<IndexEntry>& entries,
                            const std::vector<std::string>& notes);

}  // namespace veltrane::host
