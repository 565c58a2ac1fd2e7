#include "host/cli/open_in_browser.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "docbrowse/executable_search.h"
#include "docbrowse/posix_platform.h"
#include "host/cli/cli_errors.h"

extern char** environ;

namespace veltrane::cli {
namespace {

namespace fs = std::filesystem;

std::string FindDocbrowse() {
  PosixBrowserPlatform platform;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const std::string beside = (self.parent_path() / "docbrowse").string();
    if (platform.IsExecutableFile(beside)) return beside;
  }
  return FindExecutable(platform, "docbrowse");
}

}  // namespace

void OpenInBrowser(const std::string& path) {
  const std::string program = FindDocbrowse();
  if (program.empty()) {
    throw UserError("cannot open '" + path +
                    "': docbrowse is neither next to paystead nor on PATH; open the file yourself");
  }
  // The launcher keeps this terminal, so its questions and messages reach
  // the person; the page is its one argument and no shell reads it.
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = 0;
  if (const int e = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ); e != 0) {
    throw UserError("cannot start '" + program + "': " + std::generic_category().message(e));
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw UserError("lost track of '" + program + "'");
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw UserError("docbrowse could not open '" + path + "'; open the file yourself");
  }
}

}  // namespace veltrane::cli
