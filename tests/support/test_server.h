// A PostgreSQL server of the tests' and benchmarks' own: initdb into a new
// temporary folder (in /dev/shm when it has room), listening on a Unix socket in that folder and on no
// TCP port, run as an unprivileged account (postgres, else nobody) when
// this process is root, as the server refuses to run as root.
#pragma once

#include <string>

namespace veltrane::testing {

struct TestServer {
  std::string folder;   // the server's folder; empty when it could not start
  std::string why_not;  // why it could not start
};

// Starts a server with the citext extension and a sequence that names the
// tests' schemas. The server binaries are VELTRANE_PG_BIN's, or the newest
// under /usr/lib/postgresql.
TestServer StartTestServer();
// Stops the server of `folder` at once and removes the folder.
void StopTestServer(const std::string& folder);

// A connection URI for the server of `folder`, its tables in `schema` when
// one is given.
std::string ServerUri(const std::string& folder, const std::string& schema = "");

}  // namespace veltrane::testing
