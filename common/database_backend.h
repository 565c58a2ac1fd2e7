// What the payroll schema and the household copy ask of a database beyond
// the record-set interface: the SQL dialect it runs, and running statements
// written in that dialect as they are. Both databases implement it.
// Internal to the database layer.
#pragma once

#include <string>

#include "common/database.h"
#include "common/errors.h"
#include "common/sql_translate.h"

namespace veltrane {

class DatabaseBackend {
 public:
  virtual ~DatabaseBackend() = default;
  virtual SqlDialect dialect() const = 0;
  // Runs statements of the database's own dialect, untranslated.
  virtual void ExecuteNative(const std::string& sql) = 0;
};

// `db` seen as a backend; raises DatabaseError for another implementation.
inline DatabaseBackend& BackendOf(Database& db) {
  if (auto* backend = dynamic_cast<DatabaseBackend*>(&db)) return *backend;
  throw DatabaseError("the database is neither an SQLite file nor a PostgreSQL server's");
}

}  // namespace veltrane
