#include "docbrowse/find_browser.h"

#include <array>
#include <optional>

#include "common/delimited_list.h"
#include "common/step.h"
#include "common/text.h"
#include "docbrowse/desktop_entry.h"
#include "docbrowse/executable_search.h"
#include "docbrowse/registry_read.h"

namespace veltrane {
namespace {

using Source = std::string (*)(BrowserPlatform&);

std::string Read(BrowserPlatform& platform, RegistryRoot root, const std::string& key,
                 const std::string& value) {
  std::string text;
  ReadRegistryValue(platform, root, key, value, text);
  return text;
}

std::string IfFileExists(BrowserPlatform& platform, const std::string& path) {
  return platform.FileExists(path) ? path : "";
}

std::string IeSetupPath(BrowserPlatform& platform) {
  std::string folder;
  if (!ReadRegistryValue(platform, RegistryRoot::kLocalMachine,
                         "SOFTWARE\\Microsoft\\IE Setup\\SETUP", "Path", folder)) {
    return "";
  }
  return IfFileExists(platform, folder + "\\iexplore.exe");
}

// The open command reads like "C:\...\iexplore.exe" -nohome %1. A quoted
// program path is the path; an unquoted one is what stands before the
// first placeholder. Either way the quotes go.
std::string IeOpenCommand(BrowserPlatform& platform) {
  std::string command = Trim(Read(platform, RegistryRoot::kClassesRoot,
                                  "Applications\\iexplore.exe\\shell\\open\\command", ""));
  if (const std::size_t close = command.find('"', 1);
      command.starts_with('"') && close != std::string::npos) {
    command.resize(close);
  }
  std::erase(command, '"');
  return IfFileExists(platform, Trim(command.substr(0, command.find('%'))));
}

// Netscape records its current version, and under it the program's path.
std::string NetscapeVersionPath(BrowserPlatform& platform, const std::string& product_key) {
  std::string version;
  if (!ReadRegistryValue(platform, RegistryRoot::kCurrentUser, product_key, "CurrentVersion",
                         version)) {
    return "";
  }
  return Read(platform, RegistryRoot::kCurrentUser, product_key + "\\" + version + "\\Main",
              "PathToExe");
}

std::string Netscape4(BrowserPlatform& platform) {
  return NetscapeVersionPath(platform, "SOFTWARE\\Netscape\\Netscape");
}

std::string Netscape6(BrowserPlatform& platform) {
  return NetscapeVersionPath(platform, "SOFTWARE\\Netscape\\Netscape 6");
}

std::string NetscapeNavigator(BrowserPlatform& platform) {
  std::string folder;
  if (!ReadRegistryValue(platform, RegistryRoot::kCurrentUser,
                         "SOFTWARE\\Netscape\\Netscape Navigator\\Main", "Install Directory",
                         folder)) {
    return "";
  }
  return IfFileExists(platform, folder + "\\Program\\netscape.exe");
}

std::string Opera(BrowserPlatform& platform) {
  std::string path;
  if (!ReadRegistryValue(platform, RegistryRoot::kCurrentUser, "SOFTWARE\\Opera Software",
                         "Last CommandLine v2", path)) {
    return "";
  }
  return IfFileExists(platform, path);
}

// $BROWSER lists programs separated by ":"; the first one is the user's choice.
std::string BrowserVariable(BrowserPlatform& platform) {
  const std::vector<ListGroup> entries = ReadList(platform.GetEnvironment("BROWSER"), ':', 1);
  return FindExecutable(platform, Trim(entries.front()[0]));
}

// The folders that hold desktop entries, most personal first.
std::vector<std::string> ApplicationFolders(BrowserPlatform& platform) {
  std::vector<std::string> bases;
  std::string data_home = platform.GetEnvironment("XDG_DATA_HOME");
  if (data_home.empty() || data_home.front() != '/') {
    const std::string home = platform.GetEnvironment("HOME");
    data_home = home.empty() ? "" : home + "/.local/share";
  }
  if (!data_home.empty()) bases.push_back(data_home);
  std::string data_dirs = platform.GetEnvironment("XDG_DATA_DIRS");
  if (data_dirs.empty()) data_dirs = "/usr/local/share:/usr/share";
  for (const ListGroup& dir : ReadList(data_dirs, ':', 1)) {
    if (!dir[0].empty() && dir[0].front() == '/') bases.push_back(dir[0]);
  }
  for (std::string& base : bases) {
    if (base.back() != '/') base += '/';
    base += "applications/";
  }
  return bases;
}

// The desktop's default browser is a desktop entry; its Exec names the
// program. An Exec that needs arguments of its own cannot be started with
// the document alone, so it is passed over.
std::string DesktopDefault(BrowserPlatform& platform) {
  const std::optional<std::string> answer =
      platform.RunForOutput({"xdg-settings", "get", "default-web-browser"});
  if (!answer) return "";
  const std::string entry_name = Trim(*answer);
  if (entry_name.empty() || entry_name.find('/') != std::string::npos ||
      !entry_name.ends_with(".desktop")) {
    return "";
  }
  for (const std::string& folder : ApplicationFolders(platform)) {
    const std::optional<std::string> entry = platform.ReadTextFile(folder + entry_name);
    if (!entry) continue;
    const auto words = DesktopEntryExec(*entry);
    return words && words->size() == 1 ? FindExecutable(platform, words->front()) : "";
  }
  return "";
}

std::string WellKnownOnPath(BrowserPlatform& platform) {
  for (const char* name : {"firefox", "chromium", "google-chrome", "opera"}) {
    std::string path = FindExecutable(platform, name);
    if (!path.empty()) return path;
  }
  return "";
}

constexpr std::array<Source, 9> kSources = {IeSetupPath,     IeOpenCommand,     Netscape4,
                                            Netscape6,       NetscapeNavigator, Opera,
                                            BrowserVariable, DesktopDefault,    WellKnownOnPath};

}  // namespace

std::string FindBrowser(BrowserPlatform& platform) {
  for (Source source : kSources) {
    std::string path;
    if (RunStep([&] { path = source(platform); }) && !path.empty()) return Trim(path);
  }
  return "";
}

}  // namespace veltrane
