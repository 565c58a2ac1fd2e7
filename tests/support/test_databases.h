// Fresh databases for the tests, of either backend, so that one
// value-parameterized suite runs on both: an SQLite database in memory, or
// a new schema on the tests' PostgreSQL server.
//
// The server is the one CTest's fixture started (its folder in the file
// VELTRANE_TEST_SERVER_STATE names), or else one this program starts when a
// test first needs it and stops when it ends. Where it cannot start, the
// PostgreSQL cases skip saying why; with VELTRANE_TEST_SERVER_REQUIRED=1
// (as in CI) they fail instead.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/database.h"

namespace veltrane::testing {

enum class Backend { kSqlite, kPostgresql };

// Names the cases "sqlite" and "postgresql".
std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

// A new, empty database of `backend`; null, with the test skipped (or
// failed), when the server is not there. Call it from SetUp or a test.
std::unique_ptr<Database> NewDatabase(Backend backend);
// The same with the payroll schema created.
std::unique_ptr<Database> NewPayrollDatabase(Backend backend);
// A connection URI of the server for a new, empty schema; empty, with the
// test skipped (or failed), when the server is not there.
std::string NewServerSchema();

// A connection URI of the server for a new, empty database of its own (for
// what is made once per database, as an agent's layout); empty, with the
// test skipped (or failed), when the server is not there.
std::string NewServerDatabase();
// `uri` (of the tests' server) logging in as `user` instead.
std::string UriAs(const std::string& uri, const std::string& user);

// A suite of a fixture run on both backends.
#define VELTRANE_ON_BOTH_BACKENDS(Fixture)                                               \
  INSTANTIATE_TEST_SUITE_P(Backends, Fixture,                                            \
                           ::testing::Values(::veltrane::testing::Backend::kSqlite,      \
                                             ::veltrane::testing::Backend::kPostgresql), \
                           ::veltrane::testing::BackendName)

}  // namespace veltrane::testing
