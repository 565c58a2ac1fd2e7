#include "host/household/statements.h"

#include <algorithm>

#include "common/tax_names.h"
#include "common/text.h"
#include "finstatements/fin_stmnts.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/household/rows.h"

namespace veltrane::household {
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

}  // namespace

// The library and the controls it writes into.
struct StatementSession::Library {
  CollectedMessages messages;
  MemorySortList sort;
  MemoryListView view;
  MemorySelector selector;
  clsFinStmnts statements{&messages};
};

StatementSession::StatementSession(Database& db) : db_(db), library_(std::make_unique<Library>()) {
  library_->statements.Init(db, library_->sort, library_->view);
  // The catalogue also tells the library kinds of pay from withholdings.
  library_->statements.PopulateStatementTypes(library_->selector);
  catalogue_ = library_->selector.items();
}

StatementSession::~StatementSession() = default;

bool StatementSession::IsHeading(const std::string& entry) const {
  return library_->statements.IsCatalogueHeading(entry);
}

StatementResult StatementSession::Run(const StatementRequest& request) {
  StatementResult result;
  const auto entry = std::find_if(catalogue_.begin(), catalogue_.end(),
                                  [&](const std::string& e) { return IEquals(e, request.type); });
  if (entry == catalogue_.end() || IsHeading(*entry))
    throw Fault("type", Quoted(request.type) + " is not a statement", Remedy::kListStatements);
  result.type = *entry;
  result.from = request.from;
  result.to = request.to;
  result.assistant = request.assistant.empty() || IEquals(request.assistant, kAllAssistants)
                         ? std::string(kAllAssistants)
                         : RequireAssistant(db_, request.assistant);
  if (request.from.empty() != request.to.empty()) {
    throw Fault(
        request.from.empty() ? "from" : "to",
        "give both " + FieldRef("from") + " and " + FieldRef("to") + ", or neither for every date");
  }
  if (!request.from.empty())
    RequireOrder(ReadDate("from", request.from), ReadDate("to", request.to));

  library_->messages.texts.clear();
  std::string type = result.type, assistant = result.assistant, from = request.from,
              to = request.to;
  library_->statements.DoStatement(type, assistant, from, to);
  result.rows = library_->view.rows();
  result.messages = std::move(library_->messages.texts);
  return result;
}

}  // namespace veltrane::household
