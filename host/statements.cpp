#include "host/statements.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/tax_names.h"
#include "common/text.h"
#include "finstatements/fin_stmnts.h"
#include "host/host_errors.h"
#include "common/display.h"
#include "common/sqlite_database.h"
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

}  // namespace

bool IsCatalogueHeading(const std::string& entry) {
  static const char* const kHeadings[] = {"------------", "Tax Forms", "Federal Taxes",
                                          "Other Taxes", "Supplemental Payments"};
  return std::any_of(std::begin(kHeadings), std::end(kHeadings),
                     [&](const char* h) { return IEquals(entry, h); });
}

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

StatementResult StatementSession::Run(const StatementRequest& request) {
  StatementResult result;
  const auto entry = std::find_if(catalogue_.begin(), catalogue_.end(),
                                  [&](const std::string& e) { return IEquals(e, request.type); });
  if (entry == catalogue_.end() || IsCatalogueHeading(*entry)) {
    throw UserError("'" + request.type +
                    "' is not a statement; 'paystead statements' lists the statements");
  }
  result.type = *entry;
  result.from = request.from;
  result.to = request.to;
  result.assistant = request.assistant.empty() || IEquals(request.assistant, kAllAssistants)
                         ? std::string(kAllAssistants)
                         : RequireAssistant(db_, request.assistant);
  if (request.from.empty() != request.to.empty()) {
    throw UserError("give both --from and --to, or neither for every date");
  }
  if (!request.from.empty() && ReadDate("--from", request.from) > ReadDate("--to", request.to)) {
    throw UserError("--from is after --to; give the earlier day first");
  }

  library_->messages.texts.clear();
  std::string type = result.type, assistant = result.assistant, from = request.from,
              to = request.to;
  library_->statements.DoStatement(type, assistant, from, to);
  result.rows = library_->view.rows();
  result.messages = std::move(library_->messages.texts);
  return result;
}

StatementPage MakeStatementPage(Database& db, const StatementResult& result, Date today,
                                std::vector<std::string> notes) {
  StatementPage page;
  page.title = result.type;
  if (const auto employer = ReadFirstRow(db, kEmployerTable, EmployerFields())) {
    page.employer = FullName(*employer);
    page.employer_id = employer->Text("federal_employer_id");
  }
  page.assistant = result.assistant;
  page.period = result.from.empty() ? "Every date"
                                    : FormatShortDate(ParseDate(result.from)) + " to " +
                                          FormatShortDate(ParseDate(result.to));
  page.made_on = FormatShortDate(today);
  page.rows = result.rows;
  page.notes = std::move(notes);
  return page;
}

std::string StatementFileName(const std::string& type, const std::string& from,
                              const std::string& to) {
  std::string name;
  for (char c : type) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    } else if (!name.empty() && name.back() != '-') {
      name.push_back('-');
    }
  }
  while (!name.empty() && name.back() == '-') name.pop_back();
  if (name.empty()) name = "statement";
  if (!from.empty()) name += "_" + FormatIsoDate(ParseDate(from)) + "_" + FormatIsoDate(ParseDate(to));
  return name + ".html";
}

std::string DefaultPageFolder() {
  namespace fs = std::filesystem;
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return (fs::path(cache) / "paystead").string();
  const char* home = std::getenv("HOME");
  if (!home || *home != '/') throw UserError("there is no home folder for the page; name one with --output");
  return (fs::path(home) / ".cache" / "paystead").string();
}

void WriteTextFile(const std::string& path, const std::string& text) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) throw UserError("cannot write '" + path + "'");
}

}  // namespace veltrane::host
