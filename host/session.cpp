#include "host/session.h"

#include <filesystem>

#include "common/errors.h"
#include "common/sqlite_database.h"
#include "host/host_errors.h"

namespace veltrane::host {

namespace {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The message for a file that cannot serve as the payroll database.
UserError SchemaRefusal(const std::string& path, const PayrollSchemaError& e) {
  switch (e.reason()) {
    case PayrollSchemaError::Reason::kNewer:
      return UserError(Quoted(path) + " was written by a newer paystead: " + e.what() +
                       "; open it with that version");
    case PayrollSchemaError::Reason::kIncomplete:
      return UserError(Quoted(path) + " is not a complete paystead database: " + e.what() +
                       "; nothing was changed");
    case PayrollSchemaError::Reason::kNotPayroll:
      break;
  }
  return UserError(Quoted(path) + " is not a paystead database: " + e.what() +
                   "; name yours with --db, or create a new one with 'paystead init'");
}

}  // namespace

std::string InUseMessage(const std::string& db_path) {
  return Quoted(db_path) + " is in use by another program; try again";
}

Database& Session::db() {
  if (*db_) return **db_;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(db_path_, ec)) {
    throw UserError("there is no database '" + db_path_ +
                    "'; create it with 'paystead init' or name it with --db");
  }
  OpenedPayrollDatabase opened;
  try {
    opened = OpenPayrollDatabase(db_path_);
  } catch (const PayrollSchemaError& e) {
    throw SchemaRefusal(db_path_, e);
  } catch (const DatabaseBusyError&) {
    throw UserError(InUseMessage(db_path_));
  } catch (const DatabaseError& e) {
    throw UserError("cannot open " + Quoted(db_path_) + ": " + e.what());
  }
  if (opened.upgraded_from) {
    err() << "paystead: note: " << Quoted(db_path_) << " had database layout "
          << *opened.upgraded_from << "; it is upgraded to layout " << kPayrollLayoutVersion
          << ", and the file as it was is kept as " << Quoted(opened.kept_copy) << "\n";
  }
  *db_ = std::move(opened.db);
  return **db_;
}

Database& Session::CreateDatabase() {
  db_->reset();
  std::unique_ptr<Database> db = OpenSqliteDatabase(db_path_);
  CreatePayrollSchema(*db);
  *db_ = std::move(db);
  return **db_;
}

Session Session::WithOutput(std::ostream& out) const {
  Session copy = *this;
  copy.out_ = &out;
  return copy;
}

Session Session::WithClock(const Clock& clock) const {
  Session copy = *this;
  copy.clock_ = &clock;
  return copy;
}

}  // namespace veltrane::host
