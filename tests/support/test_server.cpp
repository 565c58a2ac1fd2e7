#include "test_server.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/pg_database.h"

namespace veltrane::testing {
namespace {

namespace fs = std::filesystem;

std::string BinFolder() {
  if (const char* given = std::getenv("VELTRANE_PG_BIN")) return given;
  std::vector<fs::path> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    if (fs::exists(entry.path() / "bin" / "initdb")) found.push_back(entry.path() / "bin");
  }
  if (found.empty()) return "";
  return std::max_element(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
           return std::stoi(a.parent_path().filename()) < std::stoi(b.parent_path().filename());
         })->string();
}

// The account the server runs as when this process is root.
// Memory-backed /dev/shm when it has room: making a table makes files,
// which many tests do.
std::string TemporaryFolder() {
  std::error_code ec;
  const fs::space_info shm = fs::space("/dev/shm", ec);
  if (!ec && shm.available >= (std::uintmax_t{2} << 30)) return "/dev/shm";
  return fs::temp_directory_path().string();
}

const passwd* ServerAccount() {
  if (geteuid() != 0) return nullptr;
  if (const passwd* account = getpwnam("postgres")) return account;
  return getpwnam("nobody");
}

// Runs a program of the server as its account, its output added to `log`;
// true when it exits 0.
bool RunAsServer(const std::vector<std::string>& args, const std::string& log) {
  std::vector<std::string> argv;
  if (const passwd* account = ServerAccount()) argv = {"/usr/sbin/runuser", "-u", account->pw_name, "--"};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || in < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    execv(raw[0], raw.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Tail(const std::string& log) {
  std::ifstream in(log);
  std::string line, last;
  while (std::getline(in, line)) {
    if (!line.empty()) last = line;
  }
  return last;
}

}  // namespace

TestServer StartTestServer() {
  TestServer server;
  const std::string bin = BinFolder();
  if (bin.empty()) {
    server.why_not = "no PostgreSQL server programs under /usr/lib/postgresql (tools/needs postgres installs them)";
    return server;
  }
  std::string folder = TemporaryFolder() + "/veltrane-pg-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) {
    server.why_not = "cannot make a temporary folder";
    return server;
  }
  if (const passwd* account = ServerAccount()) {
    if (chown(folder.c_str(), account->pw_uid, account->pw_gid) != 0) {
      server.why_not = "cannot give the server's folder to the account " + std::string(account->pw_name);
      fs::remove_all(folder);
      return server;
    }
  }
  // The programs' output goes to a file of this process; the server writes
  // its own as its account.
  const std::string data = folder + "/data", log = folder + "/setup.log", server_log = folder + "/server.log";
  if (!RunAsServer({bin + "/initdb", "-D", data, "-U", "veltrane", "-A", "trust", "-E", "UTF8", "--no-locale",
                    "--no-sync", "--no-instructions"},
                   log)) {
    server.why_not = "initdb failed: " + Tail(log);
    fs::remove_all(folder);
    return server;
  }
  // A server for tests: nothing is kept after a crash, so nothing is synced;
  // its tables live minutes, so nothing is vacuumed behind a test's back.
  std::ofstream(data + "/postgresql.conf", std::ios::app)
      << "listen_addresses = ''\nunix_socket_directories = '" << folder
      << "'\nfsync = off\nsynchronous_commit = off\nfull_page_writes = off\nmax_connections = 40\n"
      << "autovacuum = off\n";
  if (!RunAsServer({bin + "/pg_ctl", "-D", data, "-l", server_log, "-w", "-t", "60", "-s", "start"}, log)) {
    server.why_not = "the server did not start: " + Tail(log) + " " + Tail(server_log);
    fs::remove_all(folder);
    return server;
  }
  try {
    OpenPostgresDatabase(ServerUri(folder))
        ->Execute("CREATE EXTENSION citext; CREATE SEQUENCE test_schemas");
  } catch (const std::exception& e) {
    server.why_not = std::string("the server cannot be set up: ") + e.what();
    StopTestServer(folder);
    return server;
  }
  server.folder = folder;
  return server;
}

void StopTestServer(const std::string& folder) {
  if (folder.empty()) return;
  const std::string bin = BinFolder();
  if (!bin.empty())
    RunAsServer({bin + "/pg_ctl", "-D", folder + "/data", "-m", "immediate", "-w", "-s", "stop"}, folder + "/setup.log");
  std::error_code ec;
  fs::remove_all(folder, ec);
}

std::string ServerUri(const std::string& folder, const std::string& schema) {
  std::string uri = "postgresql://veltrane@/postgres?host=" + folder;
  if (!schema.empty()) uri += "&options=-csearch_path%3D" + schema + "%2Cpublic";
  return uri;
}

}  // namespace veltrane::testing
