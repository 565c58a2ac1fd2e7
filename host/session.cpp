#include "host/session.h"

#include <filesystem>

#include "common/errors.h"
#include "common/sqlite_database.h"
#include "host/host_errors.h"

namespace veltrane::host {

namespace {

constexpr const char* kPayrollTables[] = {"Payment Journal", "Work Journal", "Assistants",
                                          "Tax Settings", kEmployerTable};

}  // namespace

Database& Session::db() {
  if (*db_) return **db_;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(db_path_, ec)) {
    throw UserError("there is no database '" + db_path_ +
                    "'; create it with 'paystead init' or name it with --db");
  }
  try {
    std::unique_ptr<Database> db = OpenSqliteDatabase(db_path_);
    for (const char* table : kPayrollTables) {
      db->OpenRecordset(std::string("SELECT * FROM [") + table + "] WHERE 1=0",
                        RecordsetType::kForwardOnly)
          ->Close();
    }
    *db_ = std::move(db);
  } catch (const DatabaseError&) {
    throw UserError("'" + db_path_ +
                    "' is not a paystead database; create one with 'paystead init'");
  }
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
