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

// Makes `db`, a server's database opened above, act as the role `role` with
// its tables in the schema `schema` from now on, on a connection made again
// too (so a lost connection never comes back as the role it logged in
// as); an empty role goes back to the role it logged in as, with the
// URI's schema. For a program that serves many households from one
// connection, each household a role. Outside a transaction only; raises
// DatabaseError for another database, a role it may not take, or inside a
// transaction.
void ActAs(Database& db, const std::string& role, const std::string& schema);

}  // namespace veltrane
