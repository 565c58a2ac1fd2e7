// Statements for a household, shared by every front end: the catalogue as
// the statements library fills the selector, and one statement run through
// the library into an in-memory list view. The rows are exactly what the
// library wrote; a front end shows them and never recomputes an amount.
#pragma once

#include <string>
#include <vector>

#include "common/database.h"
#include "finstatements/memory_controls.h"

namespace veltrane::host {

// The catalogue, one entry per selector line, in the library's order.
std::vector<std::string> StatementCatalogue(Database& db);

struct StatementRequest {
  std::string type;       // a catalogue entry, any letter case
  std::string assistant;  // a name, or empty for every assistant
  std::string from, to;   // date texts as typed, both empty for every date
};

struct StatementResult {
  std::string type;       // as the catalogue spells it
  std::string assistant;  // the stored name, or "All Assistants"
  std::vector<StatementRow> rows;
  // The library's messages, line breaks as "\n", one text per message box.
  std::vector<std::string> messages;
};

// Checks the request and runs the statement. Raises UserError for a type
// that is not a statement of the catalogue, an unknown assistant, a date
// that is not a date, only one of the two dates, or a start after the end.
StatementResult RunStatement(Database& db, const StatementRequest& request);

}  // namespace veltrane::host
