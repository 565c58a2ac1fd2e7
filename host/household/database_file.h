// The household's database file: opening it (its layout checked, an older
// one upgraded with the old file kept), creating it, and replacing it with
// the old one kept beside it. Faults here are about the file as a whole.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "common/database.h"
#include "common/errors.h"

namespace veltrane::household {

struct OpenedHousehold {
  std::unique_ptr<Database> db;
  // Said when the file was upgraded: its old layout and where the file as
  // it was is kept.
  std::optional<std::string> upgrade_note;
};

// Opens the existing payroll database at `path`. A Fault when the file is
// missing, in use by another program, or not a payroll database this
// program can use.
OpenedHousehold OpenHousehold(const std::string& path);

struct CreatedHousehold {
  std::unique_ptr<Database> db;
  std::string kept;  // where the replaced file went, when one was replaced
};

// Creates a new, empty payroll database at `path` (or in the empty file
// there). A file already there is refused unless `replace`; then it is moved (with the files SQLite
// keeps beside it) to a name beside it, under its lock, so nothing is lost.
CreatedHousehold CreateHousehold(const std::string& path, bool replace);

// "'FILE' is in use by another program; try again".
std::string InUseText(const std::string& path);

// A failure of the database in words for the person: what became of the
// file ("'FILE' is damaged ..."), never the query that e.what() may quote.
std::string TroubleText(const std::string& path, const DatabaseError& e);

// The household's database as a program that serves many requests holds it
// (the web server): opened once, and before each use checked to be still
// the file at its path, so that a file removed, renamed or replaced
// meanwhile is never read or written as the household's.
//
// Ownership: borrows the database, which must outlive it.
class HeldDatabase {
 public:
  // `db` was opened from `path` just now; the identity of the file there
  // (its device and inode) is taken now.
  HeldDatabase(std::string path, Database& db);

  // The database, while the file at the path is the one it was opened
  // from; otherwise a Fault (Remedy::kReopenDatabase) saying that the file
  // was removed or replaced, and nothing of it is used.
  Database& Checked() const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  Database& db_;
  bool known_ = false;
  unsigned long long device_ = 0;
  unsigned long long inode_ = 0;
};

}  // namespace veltrane::household
