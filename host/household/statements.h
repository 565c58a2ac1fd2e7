// Statements for a household: the catalogue as the statements library fills
// the selector, and one statement run through the library into an
// in-memory list view. The rows are exactly what the library wrote; a front
// end shows them and never recomputes an amount.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/database.h"
#include "finstatements/memory_controls.h"

namespace veltrane::household {

// A statement as a person asks for it, texts as typed. Fields: "type" (a
// catalogue entry, any letter case), "assistant" (a name, or empty for every
// assistant), "from" and "to" (both empty for every date).
struct StatementRequest {
  std::string type;
  std::string assistant;
  std::string from, to;
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
  // Whether an entry of the catalogue is a separator or a group heading.
  bool IsHeading(const std::string& entry) const;
  // Checks the request and runs the statement. A Fault for a type that is
  // not a statement of the catalogue, an unknown assistant, a date that is
  // not a date, only one of the two dates, or a start after the end.
  StatementResult Run(const StatementRequest& request);

 private:
  struct Library;
  Database& db_;
  std::unique_ptr<Library> library_;
  std::vector<std::string> catalogue_;
};

}  // namespace veltrane::household
