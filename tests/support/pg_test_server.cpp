// The tests' server for a run of CTest: "start STATE" starts one and writes
// its folder (or, after "!", why it could not start) to the file STATE;
// "stop STATE" stops the server STATE names and removes the file. Both
// succeed whatever happens, so that a machine without a server runs the
// other tests; the tests read STATE and say why they skip.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "test_server.h"

namespace {

void StopNamed(const std::string& state) {
  std::string folder;
  std::getline(std::ifstream(state), folder);
  if (!folder.empty() && folder[0] != '!') veltrane::testing::StopTestServer(folder);
  std::error_code ec;
  std::filesystem::remove(state, ec);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 3 ? argv[1] : "";
  if (command != "start" && command != "stop") {
    std::cerr << "usage: pg_test_server start|stop STATE_FILE\n";
    return 2;
  }
  const std::string state = argv[2];
  StopNamed(state);  // one a run left behind, too
  if (command == "stop") return 0;
  const veltrane::testing::TestServer server = veltrane::testing::StartTestServer();
  std::ofstream(state) << (server.folder.empty() ? "!" + server.why_not : server.folder) << "\n";
  std::cout << (server.folder.empty() ? "no server: " + server.why_not : "server in " + server.folder) << "\n";
  return 0;
}
