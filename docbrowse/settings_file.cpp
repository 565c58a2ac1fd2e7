#include "docbrowse/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "docbrowse/ini_text.h"
#include "docbrowse/posix_files.h"

namespace veltrane {
namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p with user-only permissions for every folder it creates.
void MakeFolders(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) {
      throw std::system_error(ENOTDIR, std::generic_category(), folder);
    }
    return;
  }
  if (folder != "/") MakeFolders(ParentFolder(folder));
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ThrowErrno("mkdir " + folder);
}

// Closes the descriptor and removes the temporary file unless it was kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string pattern) : path_(std::move(pattern)) {
    fd_ = ::mkstemp(path_.data());  // creates it with mode 0600
    if (fd_ < 0) ThrowErrno("create " + path_);
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(const std::string& content) {
    for (std::size_t done = 0; done < content.size();) {
      const ssize_t n = ::write(fd_, content.data() + done, content.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ThrowErrno("write " + path_);
      done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd_) != 0) ThrowErrno("sync " + path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowErrno("close " + path_);
  }
  void RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) ThrowErrno("rename to " + target);
    kept_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

}  // namespace

std::string SettingsFilePath(const std::string& xdg_config_home, const std::string& home,
                             const std::string& application) {
  if (application.empty() || application == "." || application == ".." ||
      application.find('/') != std::string::npos) {
    throw std::invalid_argument("unusable application name: " + application);
  }
  std::string config = xdg_config_home;
  if (config.empty() || config.front() != '/') {
    if (home.empty() || home.front() != '/') throw std::invalid_argument("no home folder");
    config = home + "/.config";
  }
  if (config.back() != '/') config += '/';
  return config + application + "/settings.ini";
}

std::string SettingsFile::Get(const std::string& section, const std::string& key,
                              const std::string& fallback) const {
  const std::optional<std::string> text = ReadWholeFile(path_, kMaxSettingsFileBytes);
  if (!text) return fallback;
  return IniValue(*text, section, key).value_or(fallback);
}

void SettingsFile::Set(const std::string& section, const std::string& key,
                       const std::string& value) {
  const std::string folder = ParentFolder(path_);
  MakeFolders(folder);
  const std::string text =
      WithIniValue(ReadWholeFile(path_, kMaxSettingsFileBytes).value_or(""), section, key, value);
  TemporaryFile temporary(path_ + ".XXXXXX");
  temporary.Write(text);
  temporary.RenameTo(path_);
}

}  // namespace veltrane
