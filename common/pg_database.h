// The PostgreSQL implementation of the database interface: a household's
// payroll kept on a database server, reached over libpq.
#pragma once

#include <memory>
#include <string>

#include "common/database.h"

namespace veltrane {

// Connects to the server database named by a libpq connection URI
// ("postgresql://user@host/db?options=-csearch_path%3Dhousehold", or with
// host=/a/socket/folder for a Unix socket). The tables live in the
// connection's current schema. A server that is busy (too many connections,
// starting or stopping) raises DatabaseBusyError; one that cannot be
// reached, DatabaseError. The URI is never repeated in an error, as it may
// hold a password.
std::unique_ptr<Database> OpenPostgresDatabase(const std::string& uri);

}  // namespace veltrane
