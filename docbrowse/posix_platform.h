// The platform of a POSIX desktop: settings in an INI file under
// $XDG_CONFIG_HOME, no registry, dialogs through zenity or kdialog when a
// display is there and the terminal otherwise, and browsers started
// directly, never through a shell.
#pragma once

#include <initializer_list>

#include "docbrowse/browser_platform.h"

namespace veltrane {

class PosixBrowserPlatform final : public BrowserPlatform {
 public:
  std::string GetSetting(const std::string& application, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  void SaveSetting(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) override;
  // Always nullopt: the platform has no registry.
  std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key_path,
                                            const std::string& value_name) override;
  bool FileExists(const std::string& path) override;
  bool IsExecutableFile(const std::string& path) override;
  std::string AbsolutePath(const std::string& path) override;
  std::optional<std::string> ReadTextFile(const std::string& path) override;
  std::string GetEnvironment(const std::string& name) override;
  std::optional<std::string> RunForOutput(const std::vector<std::string>& argv) override;

  // A desktop dialog when one can be shown, else the text on standard error
  // and, for a question, an answer typed on the terminal when standard
  // input is one (the negative answer otherwise).
  MessageResult ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                            MessageButtons buttons) override;
  // zenity's file chooser when it can be shown, else a path typed on the
  // terminal when standard input is one, else "". Every kind of file is
  // offered: programs here carry no extension to filter on.
  std::string AskForFile(const FileDialogRequest& request) override;

  std::optional<StartFailure> StartProcess(const ProcessLaunch& launch) override;

 private:
  std::string SettingsPath(const std::string& application);
  bool HasDisplay();
  // The first of `names` installed on PATH, "" if none.
  std::string DialogProgram(std::initializer_list<const char*> names);
};

}  // namespace veltrane
