// Statements for a household, shared by every front end: the catalogue as
// the statements library fills the selector, and one statement run through
// the library into an in-memory list view. The rows are exactly what the
// library wrote; a front end shows them and never recomputes an amount.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/database.h"
#include "common/date.h"
#include "finstatements/memory_controls.h"
#include "host/statement_page.h"

namespace veltrane::host {

// Separators and group headings of the catalogue, which are no statements.
bool IsCatalogueHeading(const std::string& entry);

struct StatementRequest {
  std::string type;       // a catalogue entry, any letter case
  std::string assistant;  // a name, or empty for every assistant
  std::string from, to;   // date texts as typed, both empty for every date
};

struct StatementResult {
  std::string type;       // as the catalogue spells it
  std::string assistant;  // the stored name, or "All Assistants"
  std::string from, to;   // as requested
  std::vector<StatementRow> rows;
  // The library's messages, line breaks as "\n", one text per message box.
  std::vector<std::string> messages;
};

// The statements library over a database, its catalogue read once, for
// any number of statements. `db` is borrowed for the session's life.
class StatementSession {
 public:
  explicit StatementSession(Database& db);
  ~StatementSession();
  StatementSession(const StatementSession&) = delete;
  StatementSession& operator=(const StatementSession&) = delete;

  // The catalogue, one entry per selector line, in the library's order.
  const std::vector<std::string>& catalogue() const { return catalogue_; }
  // Checks the request and runs the statement. Raises UserError for a type
  // that is not a statement of the catalogue, an unknown assistant, a date
  // that is not a date, only one of the two dates, or a start after the end.
  StatementResult Run(const StatementRequest& request);

 private:
  struct Library;
  Database& db_;
  std::unique_ptr<Library> library_;
  std::vector<std::string> catalogue_;
};

// The statement's page: its rows with the employer of the database, the
// assistant and the period, made on `today`; `notes` go under the table.
StatementPage MakeStatementPage(Database& db, const StatementResult& result, Date today,
                                std::vector<std::string> notes = {});

// "soc-sec_2004-01-01_2004-03-31.html": the statement and its period, in
// letters, digits and hyphens only.
std::string StatementFileName(const std::string& type, const std::string& from,
                              const std::string& to);

// Where a statement's page goes when no file is named: paystead/ in the
// user's cache folder ($XDG_CACHE_HOME, else ~/.cache).
std::string DefaultPageFolder();

// Writes `text` to `path` whole, creating its folder; UserError when it
// cannot.
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace veltrane::host
