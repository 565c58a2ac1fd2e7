#include "common/database.h"

namespace veltrane {

namespace {
constexpr const char* kSavepoint = "veltrane_scope";
}  // namespace

TransactionScope::TransactionScope(Database& db) : db_(db), nested_(db.InTransaction()) {
  if (nested_) db_.Execute(std::string("SAVEPOINT ") + kSavepoint);
  else db_.BeginTransaction();
}

TransactionScope::~TransactionScope() {
  if (done_) return;
  try {
    if (nested_) {
      // Undoes this scope's writes only; the outer transaction goes on.
      db_.Execute(std::string("ROLLBACK TO ") + kSavepoint);
      db_.Execute(std::string("RELEASE ") + kSavepoint);
    } else {
      db_.RollbackTransaction();
    }
  } catch (...) {
  }
}

void TransactionScope::Commit() {
  if (nested_) db_.Execute(std::string("RELEASE ") + kSavepoint);
  else db_.CommitTransaction();
  done_ = true;
}

std::string QuoteName(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  for (char c : name) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  return out;
}

}  // namespace veltrane
