// The household's database, a file or a database on a server (a
// "postgresql://" URI; see common/open_database.h): opening it (its layout checked, an older
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

// Opens the existing payroll database at `path` (a file's path or a server's
// URI). A Fault when the file is missing, in use by another program, or
// not a payroll database this program can use, or the server cannot be
// reached.
OpenedHousehold OpenHousehold(const std::string& path);

struct CreatedHousehold {
  std::unique_ptr<Database> db;
  std::string kept;  // where the replaced file went, when one was replaced
};

// Creates a new, empty payroll database at `path` (or in the empty file
// there; on a server, in a database without payroll tables, which is never
// replaced). A file already there is refused unless `replace`; then it is moved (with the files SQLite
// keeps beside it) to a name beside it, under its lock, so nothing is lost.
CreatedHousehold CreateHousehold(const std::string& path, bool replace);

// Copies the whole payroll of the household at `from` (opened as
// OpenHousehold opens it) to `to`: a new file, or a file or server database
// that holds no payroll rows. Every row and field as stored, IDs kept, in
// one transaction of `to`. A Fault when `to` holds payroll rows already
// (nothing is copied) or either cannot be used; a file made for the copy is
// removed again when the copy fails. Either location may be a server's.
void CopyPayroll(const std::string& from, const std::string& to);

// "'FILE' is in use by another program; try again" (for a server, that it
// is busy).
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
