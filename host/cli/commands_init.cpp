// paystead init and copy: a new, empty payroll database, and a whole one
// copied between a file and a server.
#include "common/open_database.h"
#include "host/cli/command.h"
#include "host/household/database_file.h"

namespace veltrane::cli {
namespace {

void Init(Session& session, const ParsedArgs& args) {
  const std::string kept = session.CreateDatabase(args.Has("force"));
  if (!kept.empty()) session.out() << "Kept the old file as '" << kept << "'.\n";
  session.out() << "Created the payroll database '" << session.db_shown() << "'.\n";
}

void Copy(Session& session, const ParsedArgs& args) {
  const std::string& from = args.positionals[0];
  const std::string& to = args.positionals[1];
  household::CopyPayroll(from, to);
  session.out() << "Copied the payroll of '" << ShownLocation(from) << "' to '" << ShownLocation(to)
                << "'.\n";
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
  table.push_back(
      {{"copy"},
       "FROM TO",
       "copy a household's whole payroll between a file and a server",
       "Copies every row of the payroll database FROM to TO, each amount to the\n"
       "ten-thousandth and each row's number kept, in one transaction. Either may be\n"
       "a file's path or a PostgreSQL connection URI (postgresql://...). TO is a new\n"
       "file, or a database that holds no payroll yet: one holding payroll is never\n"
       "overwritten.",
       {},
       2,
       2,
       Copy});
}

}  // namespace veltrane::cli
