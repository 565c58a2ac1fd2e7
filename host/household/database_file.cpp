#include "host/household/database_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "common/errors.h"
#include "common/sqlite_database.h"
#include "host/household/fault.h"

namespace veltrane::household {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The fault of a file that cannot serve as the payroll database.
Fault SchemaRefusal(const std::string& path, const PayrollSchemaError& e) {
  switch (e.reason()) {
    case PayrollSchemaError::Reason::kNewer:
      return Fault("", Quoted(path) + " was written by a newer paystead: " + e.what() +
                           "; open it with that version");
    case PayrollSchemaError::Reason::kIncomplete:
      return Fault("", Quoted(path) + " is not a complete paystead database: " + e.what() +
                           "; nothing was changed");
    case PayrollSchemaError::Reason::kNotPayroll:
      break;
  }
  return Fault("", Quoted(path) + " is not a paystead database: " + e.what(),
               Remedy::kNameDatabase);
}

// The files SQLite keeps beside a database while it writes (in WAL mode, at
// all times); each goes with its database wherever that is moved.
constexpr const char* kCompanions[] = {"-wal", "-journal", "-shm"};

// Moves the database file, and the files SQLite keeps beside it, to a new
// name beside it, and returns that name. The file is held locked while it
// is moved, so that no other program is writing it then.
std::string KeepOldFile(const std::string& path) {
  std::unique_ptr<Database> old;
  try {
    old = OpenSqliteDatabase(path);
    old->Execute("BEGIN EXCLUSIVE");
  } catch (const DatabaseBusyError&) {
    throw Fault("", InUseText(path));
  } catch (const DatabaseError&) {
    // Not an SQLite database: there is no lock to take, and it is kept as it is.
  }
  const std::string kept = KeptCopyName(path, "replaced");
  std::vector<std::string> moved;  // suffixes, so a failure can move them back
  const auto move = [&](const std::string& suffix) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path + suffix, ec))) return;
    fs::rename(path + suffix, kept + suffix, ec);
    if (ec) {
      for (const std::string& back : moved) fs::rename(kept + back, path + back, ec);
      throw Fault("", "cannot move " + Quoted(path + suffix) + " to " + Quoted(kept + suffix) +
                          ": " + ec.message() + "; nothing was replaced");
    }
    moved.push_back(suffix);
  };
  for (const char* suffix : kCompanions) move(suffix);
  move("");
  return kept;
}

}  // namespace

std::string InUseText(const std::string& path) {
  return Quoted(path) + " is in use by another program; try again";
}

std::string TroubleText(const std::string& path, const DatabaseError& e) {
  using Kind = DatabaseError::Kind;
  switch (e.kind()) {
    case Kind::kDamaged:
      return Quoted(path) +
             " is damaged: part of it cannot be read as a database; nothing was changed; restore "
             "the file from a copy kept before";
    case Kind::kNotWritable:
      return Quoted(path) +
             " cannot be written (it or its folder is read-only); nothing was changed";
    case Kind::kFull:
      return "the disk of " + Quoted(path) +
             " is full; nothing was changed; make room and try again";
    case Kind::kDiskFailure:
      return "reading or writing " + Quoted(path) + " failed on the disk; nothing was changed";
    case Kind::kCannotOpen:
      return Quoted(path) +
             " cannot be opened; check that it and its folder may be read and written";
    case Kind::kMoved:
      return Quoted(path) +
             " was removed, renamed or replaced while it was open; nothing was changed";
    case Kind::kOther:
      break;
  }
  return "the database " + Quoted(path) + " could not do what was asked; nothing was changed";
}

HeldDatabase::HeldDatabase(std::string path, Database& db) : path_(std::move(path)), db_(db) {
  struct stat file {};
  if (::stat(path_.c_str(), &file) == 0) {
    known_ = true;
    device_ = file.st_dev;
    inode_ = file.st_ino;
  }
}

Database& HeldDatabase::Checked() const {
  struct stat file {};
  if (::stat(path_.c_str(), &file) != 0) {
    throw Fault("",
                Quoted(path_) +
                    " is no longer there: it was removed or renamed while it was open, so "
                    "nothing more is read from it or written to it",
                Remedy::kReopenDatabase);
  }
  if (!known_ || file.st_dev != device_ || file.st_ino != inode_) {
    throw Fault("",
                Quoted(path_) +
                    " was replaced by another file while it was open, so neither file is "
                    "read or written now",
                Remedy::kReopenDatabase);
  }
  return db_;
}

OpenedHousehold OpenHousehold(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec))
    throw Fault("", "there is no database " + Quoted(path), Remedy::kCreateDatabase);
  OpenedPayrollDatabase opened;
  try {
    opened = OpenPayrollDatabase(path);
  } catch (const PayrollSchemaError& e) {
    throw SchemaRefusal(path, e);
  } catch (const DatabaseBusyError&) {
    throw Fault("", InUseText(path));
  } catch (const DatabaseError& e) {
    throw Fault("", TroubleText(path, e));
  }
  OpenedHousehold household{std::move(opened.db), std::nullopt};
  if (opened.upgraded_from) {
    household.upgrade_note = Quoted(path) + " had database layout " +
                             std::to_string(*opened.upgraded_from) + "; it is upgraded to layout " +
                             std::to_string(kPayrollLayoutVersion) +
                             ", and the file as it was is kept as " + Quoted(opened.kept_copy);
  }
  return household;
}

CreatedHousehold CreateHousehold(const std::string& path, bool replace) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  CreatedHousehold created;
  // An empty file holds nothing to lose: the database is made in it.
  if (fs::exists(status) && !(fs::is_regular_file(status) && fs::file_size(path, ec) == 0)) {
    if (!fs::is_regular_file(status))
      throw Fault("db", Quoted(path) + " is not a file; give another " + FieldRef("db"));
    if (!replace) throw Fault("", Quoted(path) + " already exists", Remedy::kReplaceDatabase);
    created.kept = KeepOldFile(path);
  }
  try {
    created.db = OpenSqliteDatabase(path);
    CreatePayrollSchema(*created.db);
  } catch (const DatabaseError& e) {
    throw Fault("", TroubleText(path, e));
  }
  return created;
}

}  // namespace veltrane::household
