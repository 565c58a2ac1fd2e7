// Everything docbrowse needs from the machine it runs on, behind one
// interface: the per-user settings store, the system registry, file tests,
// the environment, message boxes, the open-file dialog and process start.
// PosixBrowserPlatform (posix_platform.h) is the real one; tests supply a fake.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/messages.h"

namespace veltrane {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine };

// The registry value types docbrowse tells apart; every other type is kOther.
enum class RegistryValueType { kString, kDword, kOther };

// One value as stored: its type and its raw bytes (a string value keeps its
// terminating NUL when the registry stored one; a double word is 4 bytes,
// least significant first).
struct RegistryValue {
  RegistryValueType type = RegistryValueType::kString;
  std::string data;
};

// What the open-file dialog is asked to show. `filter` is "description|pattern";
// an empty `initial_folder` means the platform's own programs folder.
struct FileDialogRequest {
  std::string title;
  std::string filter;
  std::string initial_folder;
  unsigned long flags = 0;
};

// A process to start: `program` run with `argument` as its single argument,
// no shell involved. `command_line` is the same launch written as one text
// (program, one space, argument), for platforms that start processes from text.
struct ProcessLaunch {
  std::string program;
  std::string argument;
  std::string command_line;
};

// Why a process did not start: the system's description, and whether the
// program file itself is at fault (it may not be executed, is no program the
// system can load, or is gone), so that another program may do instead.
struct StartFailure {
  std::string description;
  bool program_unusable = false;
};

class BrowserPlatform {
 public:
  virtual ~BrowserPlatform() = default;

  // Per-user settings by (application, section, key); GetSetting answers
  // `fallback` when the setting is absent. SaveSetting throws on failure.
  virtual std::string GetSetting(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& fallback) = 0;
  virtual void SaveSetting(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) = 0;

  // One registry value; nullopt when the key cannot be opened or the value
  // cannot be read. A platform without a registry always answers nullopt.
  virtual std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key_path,
                                                    const std::string& value_name) = 0;

  // True when `path` names an existing file (not a folder).
  virtual bool FileExists(const std::string& path) = 0;
  // True when `path` names an existing file the user may execute.
  virtual bool IsExecutableFile(const std::string& path) = 0;
  // `path` made absolute against the current folder; an absolute path as it
  // is. Throws when the current folder cannot be known.
  virtual std::string AbsolutePath(const std::string& path) = 0;
  // The whole content of a text file; nullopt when it cannot be read.
  virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
  // An environment variable; "" when unset.
  virtual std::string GetEnvironment(const std::string& name) = 0;
  // Runs a helper program (argv[0] looked up on PATH when it holds no "/")
  // with no input and answers its standard output, or nullopt when it could
  // not run or did not exit with status 0.
  virtual std::optional<std::string> RunForOutput(const std::vector<std::string>& argv) = 0;

  // Shows a message box and answers the button pressed.
  virtual MessageResult ShowMessage(const std::string& text, const std::string& title,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  // Shows the open-file dialog; answers the chosen file's full path, or ""
  // when the user cancels or the dialog fails.
  virtual std::string AskForFile(const FileDialogRequest& request) = 0;

  // Starts the process detached from this one. Answers nullopt when it
  // started, else why it could not.
  virtual std::optional<StartFailure> StartProcess(const ProcessLaunch& launch) = 0;
};

}  // namespace veltrane
