// Per-user settings kept in an INI file that only its owner may read or
// write. Every change replaces the whole file at once (a temporary file
// renamed over it), so a reader never sees half a file.
#pragma once

#include <cstddef>
#include <string>

namespace veltrane {

// A settings file holds a few short lines; anything larger is not one.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

// "<config>/<application>/settings.ini", where <config> is $XDG_CONFIG_HOME
// when it is an absolute path, else "<home>/.config". Throws
// std::invalid_argument when no folder can be named or `application` cannot
// be a folder name.
std::string SettingsFilePath(const std::string& xdg_config_home, const std::string& home,
                             const std::string& application);

class SettingsFile {
 public:
  explicit SettingsFile(std::string path) : path_(std::move(path)) {}

  // The value, or `fallback` when the file or the setting is absent. Throws
  // std::system_error, without waiting, when the path holds anything but a
  // readable regular file of at most kMaxSettingsFileBytes (a FIFO, a
  // device, a folder): such settings are not used, and Set leaves them be.
  std::string Get(const std::string& section, const std::string& key,
                  const std::string& fallback) const;
  // Creates missing folders (user-only), then writes the file (user-only).
  // Throws std::system_error or std::invalid_argument on failure; the file
  // is then unchanged.
  void Set(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string path_;
};

}  // namespace veltrane
