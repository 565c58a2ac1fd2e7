#include "host/statements.h"

#include <algorithm>

#include "common/tax_names.h"
#include "common/text.h"
#include "finstatements/fin_stmnts.h"
#include "host/host_errors.h"
#include "host/payroll_rows.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

// Collects the library's message boxes for the front end to show.
class CollectedMessages final : public MessageBox {
 public:
  std::vector<std::string> texts;
  MessageResult Show(const std::string& text, const std::string&, MessageIcon,
                     MessageButtons) override {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      plain.push_back(text[i]);
    }
    while (!plain.empty() && plain.back() == '\n') plain.pop_back();
    texts.push_back(plain);
    return MessageResult::kOk;
  }
};

// Separators and group headings of the catalogue, which show nothing.
bool IsHeading(const std::string& entry) {
  static const char* const kHeadings[] = {"------------", "Tax Forms", "Federal Taxes",
                                          "Other Taxes", "Supplemental Payments"};
  return std::any_of(std::begin(kHeadings), std::end(kHeadings),
                     [&](const char* h) { return IEquals(entry, h); });
}

}  // namespace

std::vector<std::string> StatementCatalogue(Database& db) {
  CollectedMessages messages;
  MemorySortList sort;
  MemoryListView view;
  MemorySelector selector;
  clsFinStmnts statements(&messages);
  statements.Init(db, sort, view);
  statements.PopulateStatementTypes(selector);
  return selector.items();
}

StatementResult RunStatement(Database& db, const StatementRequest& request) {
  StatementResult result;
  const std::vector<std::string> catalogue = StatementCatalogue(db);
  const auto entry = std::find_if(catalogue.begin(), catalogue.end(),
                                  [&](const std::string& e) { return IEquals(e, request.type); });
  if (entry == catalogue.end() || IsHeading(*entry)) {
    throw UserError("'" + request.type +
                    "' is not a statement; 'paystead statements' lists the statements");
  }
  result.type = *entry;
  result.assistant = request.assistant.empty() || IEquals(request.assistant, kAllAssistants)
                         ? std::string(kAllAssistants)
                         : RequireAssistant(db, request.assistant);
  if (request.from.empty() != request.to.empty()) {
    throw UserError("give both --from and --to, or neither for every date");
  }
  if (!request.from.empty() && ReadDate("--from", request.from) > ReadDate("--to", request.to)) {
    throw UserError("--from is after --to; give the earlier day first");
  }

  CollectedMessages messages;
  MemorySortList sort;
  MemoryListView view;
  MemorySelector selector;
  clsFinStmnts statements(&messages);
  statements.Init(db, sort, view);
  statements.PopulateStatementTypes(selector);  // the library tells kinds of pay from withholdings
  std::string type = result.type, assistant = result.assistant, from = request.from,
              to = request.to;
  statements.DoStatement(type, assistant, from, to);
  result.rows = view.rows();
  result.messages = std::move(messages.texts);
  return result;
}

}  // namespace veltrane::host
