// The payroll database: the tables and fields the components use, the
// stamp that marks a file as one (SQLite's application_id and
// user_version), and opening a file with that stamp and the fields checked
// first, an older layout upgraded.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/database.h"
#include "common/errors.h"

namespace veltrane {

inline constexpr const char* kEmployerTable = "Employer";

// The application_id of every payroll database: "VPAY" in ASCII.
inline constexpr std::int32_t kPayrollApplicationId = 0x56504159;
// The user_version of the layout written here. Layout 0 is the first one,
// which carried no stamp: the same tables, application_id and user_version 0.
inline constexpr std::int32_t kPayrollLayoutVersion = 1;

// Why a database cannot serve as the payroll database. The text says why
// without naming the file.
class PayrollSchemaError : public DatabaseError {
 public:
  enum class Reason {
    kNotPayroll,  // not SQLite, another application's, or no payroll tables
    kNewer,       // a layout newer than kPayrollLayoutVersion
    kIncomplete,  // a payroll table or field is missing or of another type
  };
  PayrollSchemaError(Reason reason, const std::string& what)
      : DatabaseError(what), reason_(reason) {}
  Reason reason() const { return reason_; }

 private:
  Reason reason_;
};

// Creates every table the components use ("Payment Journal", "Work
// Journal", "Assistants", "Tax Settings" and kEmployerTable, with their
// indexes) in a database that has none of them, or brings a payroll
// database of an older layout to this one, and stamps it; all in one
// transaction. Raises PayrollSchemaError, changing nothing, for a database
// of another application or a newer layout, or whose payroll tables lack a
// field.
void CreatePayrollSchema(Database& db);

struct OpenedPayrollDatabase {
  std::unique_ptr<Database> db;
  std::optional<int> upgraded_from;  // the layout the file had, when upgraded
  std::string kept_copy;             // the file as it was, when upgraded
};

// Opens the existing payroll database file at `path`, checking its stamp
// and fields before anything else reads it. A file of an older layout is
// first copied beside it (KeptCopyName(path, "layoutN"); the copy is
// written as "<that>.partial" and takes its name only when complete, and
// what a copy cut off left is removed by the next), then upgraded in one
// transaction. Raises PayrollSchemaError, DatabaseBusyError when
// another program holds it locked, or DatabaseError.
OpenedPayrollDatabase OpenPayrollDatabase(const std::string& path);

// A name for a file kept beside `path` that no file has yet:
// "<path>.<tag>-<yyyymmdd>-<hhmmss>" in local time, "-2", "-3"... added
// when that is taken.
std::string KeptCopyName(const std::string& path, std::string_view tag);

}  // namespace veltrane
