#include "test_databases.h"

#include <cstdlib>
#include <fstream>

#include "common/payroll_schema.h"
#include "common/pg_database.h"
#include "common/sqlite_database.h"
#include "test_server.h"

namespace veltrane::testing {
namespace {

// The server, found or started once for the whole program.
class Server {
 public:
  static Server& Get() {
    static Server server;
    return server;
  }
  const std::string& folder() const { return folder_; }
  const std::string& why_not() const { return why_not_; }
  ~Server() {
    if (started_here_) StopTestServer(folder_);
  }

 private:
  Server() {
    if (const char* state = std::getenv("VELTRANE_TEST_SERVER_STATE")) {
      std::string line;
      std::getline(std::ifstream(state), line);
      if (line.empty())
        why_not_ = "the tests' server was not started (no " + std::string(state) + ")";
      else if (line[0] == '!')
        why_not_ = line.substr(1);
      else
        folder_ = line;
      return;
    }
    const TestServer server = StartTestServer();
    folder_ = server.folder;
    why_not_ = server.why_not;
    started_here_ = !folder_.empty();
  }
  std::string folder_, why_not_;
  bool started_here_ = false;
};

// Whether the server is there; otherwise the test is skipped, or failed
// where the server is required.
bool ServerOrSkip() {
  const Server& server = Server::Get();
  if (!server.folder().empty()) return true;
  const char* required = std::getenv("VELTRANE_TEST_SERVER_REQUIRED");
  if (required != nullptr && std::string(required) == "1") {
    [&] { FAIL() << "the PostgreSQL server is required: " << server.why_not(); }();
  } else {
    [&] { GTEST_SKIP() << "no PostgreSQL server: " << server.why_not(); }();
  }
  return false;
}

// Makes a schema of its own on the server and puts `db` in it.
std::string MakeSchema(Database& db) {
  auto rs = db.OpenRecordset("SELECT 't' || nextval('test_schemas') AS name",
                             RecordsetType::kForwardOnly);
  const std::string schema = rs->Field("name").ToText();
  rs->Close();
  db.Execute("CREATE SCHEMA " + schema + "; SET search_path = " + schema + ", public");
  return schema;
}

}  // namespace

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kSqlite ? "sqlite" : "postgresql";
}

std::string NewServerSchema() {
  if (!ServerOrSkip()) return "";
  const std::string& folder = Server::Get().folder();
  return ServerUri(folder, MakeSchema(*OpenPostgresDatabase(ServerUri(folder))));
}

std::string NewServerDatabase() {
  if (!ServerOrSkip()) return "";
  const std::string& folder = Server::Get().folder();
  auto db = OpenPostgresDatabase(ServerUri(folder));
  auto rs = db->OpenRecordset("SELECT 'd' || nextval('test_schemas') AS name",
                              RecordsetType::kForwardOnly);
  const std::string name = rs->Field("name").ToText();
  rs->Close();
  db->Execute("CREATE DATABASE " + name);
  std::string uri = ServerUri(folder);
  return uri.replace(uri.find("/postgres?"), 10, "/" + name + "?");
}

std::string UriAs(const std::string& uri, const std::string& user) {
  std::string as = uri;
  const std::size_t at = as.find('@');
  return as.replace(as.find("//") + 2, at - as.find("//") - 2, user);
}

std::unique_ptr<Database> NewDatabase(Backend backend) {
  if (backend == Backend::kSqlite) return OpenSqliteDatabase(":memory:");
  if (!ServerOrSkip()) return nullptr;
  std::unique_ptr<Database> db = OpenPostgresDatabase(ServerUri(Server::Get().folder()));
  MakeSchema(*db);
  return db;
}

std::unique_ptr<Database> NewPayrollDatabase(Backend backend) {
  std::unique_ptr<Database> db = NewDatabase(backend);
  if (db) CreatePayrollSchema(*db);
  return db;
}

}  // namespace veltrane::testing
