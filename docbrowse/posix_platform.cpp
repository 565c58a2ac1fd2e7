#include "docbrowse/posix_platform.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "common/step.h"
#include "docbrowse/executable_search.h"
#include "docbrowse/posix_files.h"
#include "docbrowse/posix_process.h"
#include "docbrowse/settings_file.h"

namespace veltrane {
namespace {

// Desktop entries, the text files read here, are a few kilobytes.
constexpr std::size_t kMaxTextFileBytes = 1024 * 1024;

}  // namespace

std::string PosixBrowserPlatform::SettingsPath(const std::string& application) {
  std::string home = GetEnvironment("HOME");
  if (home.empty()) {
    // A service started without HOME still has an account.
    if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) {
      home = account->pw_dir;
    }
  }
  return SettingsFilePath(GetEnvironment("XDG_CONFIG_HOME"), home, application);
}

std::string PosixBrowserPlatform::GetSetting(const std::string& application,
                                             const std::string& section, const std::string& key,
                                             const std::string& fallback) {
  return SettingsFile(SettingsPath(application)).Get(section, key, fallback);
}

void PosixBrowserPlatform::SaveSetting(const std::string& application, const std::string& section,
                                       const std::string& key, const std::string& value) {
  SettingsFile(SettingsPath(application)).Set(section, key, value);
}

std::optional<RegistryValue> PosixBrowserPlatform::ReadRegistry(RegistryRoot, const std::string&,
                                                                const std::string&) {
  return std::nullopt;
}

bool PosixBrowserPlatform::FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixBrowserPlatform::IsExecutableFile(const std::string& path) {
  return FileExists(path) && ::access(path.c_str(), X_OK) == 0;
}

std::string PosixBrowserPlatform::AbsolutePath(const std::string& path) {
  return std::filesystem::absolute(path).string();
}

std::optional<std::string> PosixBrowserPlatform::ReadTextFile(const std::string& path) {
  std::optional<std::string> text;
  RunStep([&] { text = ReadWholeFile(path, kMaxTextFileBytes); });
  return text;
}

std::string PosixBrowserPlatform::GetEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

std::optional<std::string> PosixBrowserPlatform::RunForOutput(
    const std::vector<std::string>& argv) {
  if (argv.empty()) return std::nullopt;
  std::vector<std::string> resolved = argv;
  resolved[0] = FindExecutable(*this, argv[0]);
  if (resolved[0].empty()) return std::nullopt;
  const std::optional<ProgramOutput> result = RunProgram(resolved);
  if (!result || result->exit_status != 0) return std::nullopt;
  return result->output;
}

std::optional<StartFailure> PosixBrowserPlatform::StartProcess(const ProcessLaunch& launch) {
  const std::optional<std::error_code> error = StartDetached(launch.program, launch.argument);
  if (!error) return std::nullopt;
  // Not permitted, no loadable program (a script without "#!"), or gone
  // (its interpreter or the file itself): the program, not the moment, is
  // at fault.
  const bool unusable = *error == std::errc::permission_denied ||
                        *error == std::errc::executable_format_error ||
                        *error == std::errc::no_such_file_or_directory;
  return StartFailure{.description = error->message(), .program_unusable = unusable};
}

bool PosixBrowserPlatform::HasDisplay() {
  return !GetEnvironment("DISPLAY").empty() || !GetEnvironment("WAYLAND_DISPLAY").empty();
}

std::string PosixBrowserPlatform::DialogProgram(std::initializer_list<const char*> names) {
  if (!HasDisplay()) return "";
  for (const char* name : names) {
    std::string path = FindExecutable(*this, name);
    if (!path.empty()) return path;
  }
  return "";
}

}  // namespace veltrane
