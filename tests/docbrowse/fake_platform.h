// A scripted machine for the launcher: settings, registry, files and
// environment are plain maps; dialogs answer from queues; every message,
// dialog and process start is recorded.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "docbrowse/browser_platform.h"

namespace veltrane::testing {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  MessageButtons buttons;
};

class FakePlatform : public BrowserPlatform {
 public:
  using RegistryKey = std::tuple<RegistryRoot, std::string, std::string>;

  std::map<std::string, std::string> settings;  // "application/section/key" -> value
  int settings_saved = 0;
  bool settings_fail = false;
  std::map<RegistryKey, RegistryValue> registry;
  int registry_reads = 0;
  std::set<std::string> files;        // existing, not executable
  std::set<std::string> executables;  // existing and executable
  std::map<std::string, std::string> text_files;
  std::string current_folder = "/home/ann";
  std::map<std::string, std::string> environment;
  std::map<std::vector<std::string>, std::string> program_output;
  std::vector<ShownMessage> messages;
  std::deque<MessageResult> answers;  // kNo once empty
  std::vector<FileDialogRequest> dialogs;
  std::deque<std::string> chosen_files;  // "" (cancel) once empty
  std::vector<ProcessLaunch> launches;
  std::map<std::string, StartFailure> start_failures;  // by program

  static std::string SettingName(const std::string& application, const std::string& section,
                                 const std::string& key) {
    return application + "/" + section + "/" + key;
  }
  void SetString(RegistryRoot root, const std::string& key, const std::string& name,
                 const std::string& text) {
    registry[{root, key, name}] = RegistryValue{RegistryValueType::kString, text + '\0'};
  }

  std::string GetSetting(const std::string& application, const std::string& section,
                         const std::string& key, const std::string& fallback) override {
    if (settings_fail) throw std::runtime_error("settings store unavailable");
    const auto found = settings.find(SettingName(application, section, key));
    return found == settings.end() ? fallback : found->second;
  }
  void SaveSetting(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& value) override {
    if (settings_fail) throw std::runtime_error("settings store unavailable");
    settings[SettingName(application, section, key)] = value;
    ++settings_saved;
  }
  std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key_path,
                                            const std::string& value_name) override {
    ++registry_reads;
    const auto found = registry.find({root, key_path, value_name});
    if (found == registry.end()) return std::nullopt;
    return found->second;
  }
  bool FileExists(const std::string& path) override {
    return files.contains(path) || executables.contains(path);
  }
  bool IsExecutableFile(const std::string& path) override { return executables.contains(path); }
  std::string AbsolutePath(const std::string& path) override {
    return path.starts_with('/') ? path : current_folder + "/" + path;
  }
  std::optional<std::string> ReadTextFile(const std::string& path) override {
    const auto found = text_files.find(path);
    if (found == text_files.end()) return std::nullopt;
    return found->second;
  }
  std::string GetEnvironment(const std::string& name) override {
    const auto found = environment.find(name);
    return found == environment.end() ? "" : found->second;
  }
  std::optional<std::string> RunForOutput(const std::vector<std::string>& argv) override {
    const auto found = program_output.find(argv);
    if (found == program_output.end()) return std::nullopt;
    return found->second;
  }
  MessageResult ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                            MessageButtons buttons) override {
    messages.push_back({text, title, icon, buttons});
    if (answers.empty())
      return buttons == MessageButtons::kOk ? MessageResult::kOk : MessageResult::kNo;
    const MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::string AskForFile(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    if (chosen_files.empty()) return "";
    std::string chosen = chosen_files.front();
    chosen_files.pop_front();
    return chosen;
  }
  std::optional<StartFailure> StartProcess(const ProcessLaunch& launch) override {
    launches.push_back(launch);
    const auto found = start_failures.find(launch.program);
    if (found == start_failures.end()) return std::nullopt;
    return found->second;
  }
};

}  // namespace veltrane::testing
