#include "docbrowse/posix_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace veltrane {
namespace {

std::error_code SystemError(int error) { return {error, std::generic_category()}; }

// Waits for `pid`; its raw status, or -1 when waiting failed.
int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

// Closes both ends of a pipe when it goes out of scope.
struct Pipe {
  int fd[2] = {-1, -1};
  bool Open() { return ::pipe2(fd, O_CLOEXEC) == 0; }
  void Close(int end) {
    if (fd[end] >= 0) ::close(fd[end]);
    fd[end] = -1;
  }
  ~Pipe() {
    Close(0);
    Close(1);
  }
};

// Only async-signal-safe calls happen between fork and exec.
[[noreturn]] void ReportAndExit(int report_fd, int error) {
  [[maybe_unused]] const ssize_t n = ::write(report_fd, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return std::nullopt;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  Pipe out;
  if (!out.Open()) return std::nullopt;
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return std::nullopt;
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.fd[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  out.Close(1);

  ProgramOutput result;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(out.fd[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  const int status = WaitFor(pid);
  if (status < 0 || !WIFEXITED(status)) return std::nullopt;
  result.exit_status = WEXITSTATUS(status);
  return result;
}

std::optional<std::error_code> StartDetached(const std::string& path, const std::string& argument) {
  char* args[] = {const_cast<char*>(path.c_str()), const_cast<char*>(argument.c_str()), nullptr};
  // The grandchild reports a failed exec through this pipe; a successful exec
  // closes it, so an empty read means the program is running.
  Pipe report;
  if (!report.Open()) return SystemError(errno);
  const pid_t child = ::fork();
  if (child < 0) return SystemError(errno);
  if (child == 0) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) ReportAndExit(report.fd[1], errno);
    if (grandchild > 0) ::_exit(0);
    const int null_fd = ::open("/dev/null", O_RDONLY);
    if (null_fd > STDIN_FILENO) {
      ::dup2(null_fd, STDIN_FILENO);
      ::close(null_fd);
    }
    ::execv(args[0], args);
    ReportAndExit(report.fd[1], errno);
  }
  report.Close(1);
  WaitFor(child);
  int error = 0;
  ssize_t n = 0;
  do {
    n = ::read(report.fd[0], &error, sizeof error);
  } while (n < 0 && errno == EINTR);
  if (n == static_cast<ssize_t>(sizeof error)) return SystemError(error);
  return std::nullopt;
}

}  // namespace veltrane
