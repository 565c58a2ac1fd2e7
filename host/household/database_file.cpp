#include "host/household/database_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "common/errors.h"
#include "common/household_copy.h"
#include "common/open_database.h"
#include "common/sqlite_database.h"
#include "host/household/fault.h"

namespace veltrane::household {
namespace {

namespace fs = std::filesystem;

// A location in quotes, as a person may see it: a server's without its
// password.
std::string Quoted(const std::string& location) { return "'" + ShownLocation(location) + "'"; }

// The part of a failure's text after its first ": " (the server's or
// libpq's own words), or all of it.
std::string Detail(const std::string& what) {
  const std::size_t colon = what.find(": ");
  return colon == std::string::npos ? what : what.substr(colon + 2);
}

// Database troubles of a server, in the person's words.
std::string ServerTroubleText(const std::string& location, const DatabaseError& e) {
  using Kind = DatabaseError::Kind;
  switch (e.kind()) {
    case Kind::kCannotOpen:
      return "cannot connect to the database server of " + Quoted(location) + ": " +
             Detail(e.what());
    case Kind::kLost:
      return "the connection to the database server of " + Quoted(location) +
             " was lost; nothing of the change was stored; try again";
    default:
      break;
  }
  return "the database server of " + Quoted(location) +
         " could not do what was asked; nothing was changed";
}

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
  if (IsServerLocation(path)) {
    return Fault("", Quoted(path) + " holds no paystead database: " + e.what(),
                 Remedy::kCreateDatabase);
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
  if (IsServerLocation(path))
    return "the database server of " + Quoted(path) + " is busy; nothing was changed; try again";
  return Quoted(path) + " is in use by another program; try again";
}

std::string TroubleText(const std::string& path, const DatabaseError& e) {
  if (IsServerLocation(path)) return ServerTroubleText(path, e);
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
    case Kind::kLost:
    case Kind::kOther:
      break;
  }
  return "the database " + Quoted(path) + " could not do what was asked; nothing was changed";
}

HeldDatabase::HeldDatabase(std::string path, Database& db) : path_(std::move(path)), db_(db) {
  if (IsServerLocation(path_)) return;
  struct stat file {};
  if (::stat(path_.c_str(), &file) == 0) {
    known_ = true;
    device_ = file.st_dev;
    inode_ = file.st_ino;
  }
}

Database& HeldDatabase::Checked() const {
  // A server keeps its database where the URI names it.
  if (IsServerLocation(path_)) return db_;
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
  if (!IsServerLocation(path) && !fs::is_regular_file(path, ec))
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

namespace {

// A server's database is given its tables when it has none; one that
// holds payroll tables is never replaced, as the server keeps no file to
// set aside.
CreatedHousehold CreateOnServer(const std::string& location) {
  try {
    OpenPayrollDatabase(location);
  } catch (const PayrollSchemaError& e) {
    if (e.reason() != PayrollSchemaError::Reason::kNotPayroll) throw SchemaRefusal(location, e);
    CreatedHousehold created;
    try {
      created.db = OpenDatabase(location);
      CreatePayrollSchema(*created.db);
    } catch (const DatabaseBusyError&) {
      throw Fault("", InUseText(location));
    } catch (const DatabaseError& e) {
      throw Fault("", TroubleText(location, e));
    }
    return created;
  } catch (const DatabaseBusyError&) {
    throw Fault("", InUseText(location));
  } catch (const DatabaseError& e) {
    throw Fault("", TroubleText(location, e));
  }
  throw Fault("", Quoted(location) +
                      " holds a paystead database already; a database on a server is never "
                      "replaced: name an empty one");
}

}  // namespace

CreatedHousehold CreateHousehold(const std::string& path, bool replace) {
  if (IsServerLocation(path)) return CreateOnServer(path);
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

void CopyPayroll(const std::string& from, const std::string& to) {
  OpenedHousehold source = OpenHousehold(from);
  std::error_code ec;
  const bool server = IsServerLocation(to);
  const bool new_file = !server && (!fs::exists(to, ec) || (fs::is_regular_file(to, ec) &&
                                                            fs::file_size(to, ec) == 0));
  if (!server && !new_file && !fs::is_regular_file(to, ec))
    throw Fault("", Quoted(to) + " is not a file; name a new file to copy to");
  const auto undo = [&] {
    if (!new_file) return;
    for (const char* suffix : kCompanions) fs::remove(to + suffix, ec);
    fs::remove(to, ec);
  };
  try {
    // A file that is there must be a payroll database already: anything
    // else is another program's, and never written to.
    std::unique_ptr<Database> target =
        new_file || server ? OpenDatabase(to) : OpenHousehold(to).db;
    CopyHousehold(*source.db, *target);
  } catch (const Fault&) {
    undo();
    throw;
  } catch (const HouseholdNotEmptyError&) {
    undo();
    throw Fault("", Quoted(to) + " holds payroll already; nothing was copied; name a new file or an "
                                 "empty database");
  } catch (const PayrollSchemaError& e) {
    undo();
    throw SchemaRefusal(to, e);
  } catch (const DatabaseBusyError&) {
    undo();
    throw Fault("", InUseText(to));
  } catch (const DatabaseError& e) {
    undo();
    throw Fault("", TroubleText(to, e));
  }
}

}  // namespace veltrane::household
