#include "common/open_database.h"

#include "common/pg_database.h"
#include "common/sqlite_database.h"

namespace veltrane {

bool IsServerLocation(std::string_view location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Database> OpenDatabase(const std::string& location) {
  if (IsServerLocation(location)) return OpenPostgresDatabase(location);
  return OpenSqliteDatabase(location);
}

}  // namespace veltrane
