// paystead init: a new, empty payroll database.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/sqlite_database.h"
#include "host/command.h"
#include "host/host_errors.h"

namespace veltrane::host {
namespace {

namespace fs = std::filesystem;

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
    throw UserError(InUseMessage(path));
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
      throw UserError("cannot move '" + path + suffix + "' to '" + kept + suffix +
                      "': " + ec.message() + "; nothing was replaced");
    }
    moved.push_back(suffix);
  };
  for (const char* suffix : kCompanions) move(suffix);
  move("");
  return kept;
}

void Init(Session& session, const ParsedArgs& args) {
  const std::string& path = session.db_path();
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  std::string kept;
  if (fs::exists(status)) {
    if (!fs::is_regular_file(status))
      throw UserError("'" + path + "' is not a file; give another --db");
    if (!args.Has("force")) {
      throw UserError("'" + path +
                      "' already exists; add --force to replace it with an empty database "
                      "(the old file is kept beside it)");
    }
    kept = KeepOldFile(path);
  }
  try {
    session.CreateDatabase();
  } catch (const DatabaseError& e) {
    throw UserError("cannot create '" + path + "': " + e.what());
  }
  if (!kept.empty()) session.out() << "Kept the old file as '" << kept << "'.\n";
  session.out() << "Created the payroll database '" << path << "'.\n";
}

}  // namespace

void AddInitCommands(CommandTable& table) {
  table.push_back({{"init"},
                   "",
                   "create the payroll database",
                   "Creates the database file (--db, default paystead.db) with its empty tables.\n"
                   "An existing file is kept unless --force is given; then it is renamed to\n"
                   "FILE.replaced-DATE-TIME beside the new one.",
                   {{"force", false, false,
                     "replace an existing file with an empty database, keeping the old one"}},
                   0,
                   0,
                   Init});
}

}  // namespace veltrane::host
