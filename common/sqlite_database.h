// The SQLite implementation of the database interface. The payroll schema
// that every component uses is in payroll_schema.h.
#pragma once

#include <memory>
#include <string>

#include "common/database.h"
#include "common/payroll_schema.h"

namespace veltrane {

// Opens (creating when missing) the database file at `path`; ":memory:"
// gives a private in-memory database. A call that finds the file locked by
// another connection waits a few seconds, then raises DatabaseBusyError;
// other failures raise DatabaseError.
std::unique_ptr<Database> OpenSqliteDatabase(const std::string& path);

// Writes a consistent copy of `db` (an SQLite database from
// OpenSqliteDatabase, not in a write transaction) to the new file
// `to_path`. Raises DatabaseError, and leaves no file, when it cannot.
void CopySqliteDatabase(Database& db, const std::string& to_path);

}  // namespace veltrane
