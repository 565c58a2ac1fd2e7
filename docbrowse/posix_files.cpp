#include "docbrowse/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace veltrane {
namespace {

[[noreturn]] void Fail(int error, const std::string& what) {
  throw std::system_error(error, std::generic_category(), what);
}

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  // Looking first keeps a device from being opened at all (opening some has
  // effects of its own); the check after opening is the one that holds,
  // should the path be swapped in between.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return std::nullopt;
    Fail(errno, "stat " + path);
  }
  if (!S_ISREG(info.st_mode)) Fail(EINVAL, path + " is not a regular file");

  // Without O_NONBLOCK, opening a FIFO waits for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    Fail(errno, "open " + path);
  }
  const Descriptor file(fd);
  if (::fstat(file.get(), &info) != 0) Fail(errno, "stat " + path);
  if (!S_ISREG(info.st_mode)) Fail(EINVAL, path + " is not a regular file");
  if (static_cast<std::size_t>(info.st_size) > max_bytes) Fail(EFBIG, path);

  // The file may grow while it is read: stop one byte past the limit.
  std::string content;
  char buffer[4096];
  while (content.size() <= max_bytes) {
    const std::size_t wanted = std::min(sizeof buffer, max_bytes + 1 - content.size());
    const ssize_t n = ::read(file.get(), buffer, wanted);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(errno, "read " + path);
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  if (content.size() > max_bytes) Fail(EFBIG, path);
  return content;
}

}  // namespace veltrane
