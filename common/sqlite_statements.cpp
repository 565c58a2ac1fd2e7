#include "common/errors.h"
#include "common/sqlite_recordsets.h"

namespace veltrane::sqlite {

DatabaseError::Kind KindOfFailure(int rc) {
  if (rc == SQLITE_READONLY_DBMOVED) return DatabaseError::Kind::kMoved;
  switch (rc & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return DatabaseError::Kind::kDamaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return DatabaseError::Kind::kNotWritable;
    case SQLITE_FULL:
      return DatabaseError::Kind::kFull;
    case SQLITE_IOERR:
      return DatabaseError::Kind::kDiskFailure;
    case SQLITE_CANTOPEN:
      return DatabaseError::Kind::kCannotOpen;
    default:
      return DatabaseError::Kind::kOther;
  }
}

void RaiseSqliteFailure(int rc, const std::string& why) {
  const int primary = rc & 0xff;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) throw DatabaseBusyError();
  throw DatabaseError(why, KindOfFailure(rc));
}

void RaiseSqliteError(sqlite3* db, int rc, const std::string& context) {
  std::string why = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if (!context.empty()) why += " " + context;
  // Only the extended code tells a file removed or replaced while it was
  // open from a read-only one.
  const int extended = db != nullptr ? sqlite3_extended_errcode(db) : rc;
  RaiseSqliteFailure((extended & 0xff) == (rc & 0xff) ? extended : rc, why);
}

void StmtDeleter::operator()(sqlite3_stmt* s) const {
  if (cache != nullptr) cache->Release(s);
  else sqlite3_finalize(s);
}

Stmt StatementCache::Prepare(const std::string& sql) {
  sqlite3_stmt* s = nullptr;
  if (const auto hit = index_.find(sql); hit != index_.end()) {
    const auto entry = hit->second;
    s = entry->second;
    index_.erase(hit);
    idle_.erase(entry);
  } else if (const int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &s, nullptr);
             rc != SQLITE_OK) {
    RaiseSqliteError(db_, rc, "in: " + sql);
  }
  in_use_.emplace(s, generation_);
  return Stmt(s, StmtDeleter{this});
}

void StatementCache::Release(sqlite3_stmt* s) {
  if (s == nullptr) return;
  const auto used = in_use_.find(s);
  const bool current = used != in_use_.end() && used->second == generation_;
  if (used != in_use_.end()) in_use_.erase(used);
  const char* text = sqlite3_sql(s);
  if (!current || text == nullptr) {
    sqlite3_finalize(s);
    return;
  }
  // Reset ends the statement's read of the database, so an idle statement
  // holds no lock and does not keep a table from being changed.
  sqlite3_reset(s);
  sqlite3_clear_bindings(s);
  idle_.emplace_front(text, s);
  index_.emplace(idle_.front().first, idle_.begin());
  if (idle_.size() > kIdle) {
    const auto oldest = std::prev(idle_.end());
    const auto range = index_.equal_range(oldest->first);
    for (auto it = range.first; it != range.second; ++it) {
      if (it->second == oldest) {
        index_.erase(it);
        break;
      }
    }
    sqlite3_finalize(oldest->second);
    idle_.erase(oldest);
  }
}

void StatementCache::Forget() {
  ++generation_;
  index_.clear();
  for (const Entry& e : idle_) sqlite3_finalize(e.second);
  idle_.clear();
}

}  // namespace veltrane::sqlite
