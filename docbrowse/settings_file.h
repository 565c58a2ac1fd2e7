// Per-user settings kept in an INI file that only its owner may read or
// write. Every change replaces the whole file at once (a temporary file
// renamed over it), so a reader never sees half a file.
#pragma once

#include <string>

namespace veltrane {

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
  // std::system_error when the file exists but cannot be read.
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
