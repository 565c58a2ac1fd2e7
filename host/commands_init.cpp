// paystead init: a new, empty payroll database.
#include <filesystem>

#include "common/errors.h"
#include "host/command.h"
#include "host/host_errors.h"

namespace veltrane::host {
namespace {

namespace fs = std::filesystem;

// Removes the database file and the journal files SQLite keeps beside it.
void RemoveDatabaseFiles(const std::string& path) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::error_code ec;
    fs::remove(path + suffix, ec);
    if (ec) throw UserError("cannot remove '" + path + suffix + "': " + ec.message());
  }
}

void Init(Session& session, const ParsedArgs& args) {
  const std::string& path = session.db_path();
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status)) {
    if (!fs::is_regular_file(status))
      throw UserError("'" + path + "' is not a file; give another --db");
    if (!args.Has("force")) {
      throw UserError("'" + path +
                      "' already exists; add --force to replace it with an empty database");
    }
    RemoveDatabaseFiles(path);
  }
  try {
    session.CreateDatabase();
  } catch (const DatabaseError& e) {
    throw UserError("cannot create '" + path + "': " + e.what());
  }
  session.out() << "Created the payroll database '" << path << "'.\n";
}

}  // namespace

void AddInitCommands(CommandTable& table) {
  table.push_back({{"init"},
                   "",
                   "create the payroll database",
                   "Creates the database file (--db, default paystead.db) with its empty tables.\n"
                   "An existing file is kept unless --force is given.",
                   {{"force", false, false, "replace an existing file with an empty database"}},
                   0,
                   0,
                   Init});
}

}  // namespace veltrane::host
