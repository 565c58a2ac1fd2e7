// Internal to the PostgreSQL database: its three kinds of record set. The
// connection must outlive every set made on it.
#pragma once

#include <memory>
#include <string>

#include "common/database.h"
#include "common/pg_connection.h"

namespace veltrane::pg {

// A query's rows streamed through the connection (pg_query_sets.cpp).
std::unique_ptr<Recordset> MakeForwardOnly(Connection& conn, const std::string& jet_sql);
// A query's rows read whole when it is opened (pg_query_sets.cpp).
std::unique_ptr<Recordset> MakeQuerySet(Connection& conn, const std::string& jet_sql);
// A whole table, moved through by its key (pg_table_set.cpp).
std::unique_ptr<Recordset> MakeTableSet(Connection& conn, const std::string& table);

}  // namespace veltrane::pg
