// Opening a database from one location text, as a host names it: a libpq
// connection URI chooses a PostgreSQL server, anything else is the path of
// an SQLite file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/database.h"

namespace veltrane {

// Whether `location` is a server's: it starts "postgresql://" or
// "postgres://".
bool IsServerLocation(std::string_view location);

// `location` as it may be shown to a person or written to a log: a server
// URI without its password (the "user:password@" form or a "password="
// parameter); a path as it is.
std::string ShownLocation(std::string_view location);

// The database at `location`: OpenPostgresDatabase for a server's,
// OpenSqliteDatabase (which creates a missing file) for a path.
std::unique_ptr<Database> OpenDatabase(const std::string& location);

}  // namespace veltrane
