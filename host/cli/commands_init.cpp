// paystead init: a new, empty payroll database.
#include "host/cli/command.h"

namespace veltrane::cli {
namespace {

void Init(Session& session, const ParsedArgs& args) {
  const std::string kept = session.CreateDatabase(args.Has("force"));
  if (!kept.empty()) session.out() << "Kept the old file as '" << kept << "'.\n";
  session.out() << "Created the payroll database '" << session.db_path() << "'.\n";
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

}  // namespace veltrane::cli
