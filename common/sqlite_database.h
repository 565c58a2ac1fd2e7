// The SQLite implementation of the database interface, and the payroll
// schema.
#pragma once

#include <memory>
#include <string>

#include "common/database.h"

namespace veltrane {

// Opens (creating when missing) the database file at `path`; ":memory:"
// gives a private in-memory database. A call that finds the file locked by
// another connection waits a few seconds, then raises DatabaseBusyError;
// other failures raise DatabaseError.
std::unique_ptr<Database> OpenSqliteDatabase(const std::string& path);

// Creates every table the components use, when missing: "Payment Journal",
// "Work Journal", "Assistants", "Tax Settings" and the employer table
// kEmployerTable, with their indexes.
void CreatePayrollSchema(Database& db);

inline constexpr const char* kEmployerTable = "Employer";

}  // namespace veltrane
