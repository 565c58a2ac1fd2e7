// The message boxes and the open-file dialog of PosixBrowserPlatform.
#include <unistd.h>

#include <iostream>

#include "common/step.h"
#include "common/text.h"
#include "docbrowse/posix_platform.h"
#include "docbrowse/posix_process.h"

namespace veltrane {
namespace {

// Where the file chooser opens when the caller names no folder.
constexpr const char* kProgramsFolder = "/usr/bin/";

// The answers of a two-button box; a one-button box has no negative answer.
struct Answers {
  MessageResult affirmative;
  std::optional<MessageResult> negative;
  const char* affirmative_label;
  const char* negative_label;
};

Answers AnswersOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOk:
      return {MessageResult::kOk, std::nullopt, "OK", ""};
    case MessageButtons::kOkCancel:
      return {MessageResult::kOk, MessageResult::kCancel, "OK", "Cancel"};
    case MessageButtons::kRetryCancel:
      return {MessageResult::kRetry, MessageResult::kCancel, "Retry", "Cancel"};
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel:
      break;
  }
  return {MessageResult::kYes, MessageResult::kNo, "Yes", "No"};
}

// Message texts break lines the way the system's own dialogs do ("\r\n");
// desktop dialogs and terminals want "\n" and no trailing blank lines.
std::string ForDisplay(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::vector<std::string> ZenityMessage(const std::string& zenity, const std::string& text,
                                       const std::string& title, MessageIcon icon,
                                       const Answers& answers) {
  std::vector<std::string> argv = {zenity};
  if (answers.negative) {
    argv.insert(argv.end(), {"--question", std::string("--ok-label=") + answers.affirmative_label,
                             std::string("--cancel-label=") + answers.negative_label});
  } else {
    argv.push_back(icon == MessageIcon::kCritical      ? "--error"
                   : icon == MessageIcon::kExclamation ? "--warning"
                                                       : "--info");
  }
  argv.insert(argv.end(), {"--no-markup", "--title=" + title, "--text=" + text});
  return argv;
}

std::vector<std::string> KdialogMessage(const std::string& kdialog, const std::string& text,
                                        const std::string& title, MessageIcon icon,
                                        const Answers& answers) {
  std::vector<std::string> argv = {kdialog, "--title", title};
  if (answers.negative) {
    argv.insert(argv.end(), {"--yes-label", answers.affirmative_label, "--no-label",
                             answers.negative_label, "--yesno", text});
  } else {
    argv.push_back(icon == MessageIcon::kCritical      ? "--error"
                   : icon == MessageIcon::kExclamation ? "--sorry"
                                                       : "--msgbox");
    argv.push_back(text);
  }
  return argv;
}

bool TerminalInput() { return ::isatty(STDIN_FILENO) == 1; }

MessageResult TerminalMessage(const std::string& text, const std::string& title,
                              const Answers& answers) {
  std::cerr << title << ": " << text << '\n';
  if (!answers.negative) return answers.affirmative;
  if (!TerminalInput()) return *answers.negative;
  std::cerr << answers.affirmative_label << "/" << answers.negative_label << "? [y/N] "
            << std::flush;
  std::string line;
  std::getline(std::cin, line);
  line = ToLower(Trim(line));
  return line == "y" || line == "yes" ? answers.affirmative : *answers.negative;
}

}  // namespace

MessageResult PosixBrowserPlatform::ShowMessage(const std::string& text, const std::string& title,
                                                MessageIcon icon, MessageButtons buttons) {
  const Answers answers = AnswersOf(buttons);
  const std::string shown = ForDisplay(text);
  if (const std::string program = DialogProgram({"zenity", "kdialog"}); !program.empty()) {
    const bool zenity = program.ends_with("/zenity");
    const std::optional<ProgramOutput> result =
        RunProgram(zenity ? ZenityMessage(program, shown, title, icon, answers)
                          : KdialogMessage(program, shown, title, icon, answers));
    // Status 0 is the first button, 1 the second or the window closed; any
    // other status means the dialog could not be shown.
    if (result && result->exit_status == 0) return answers.affirmative;
    if (result && result->exit_status == 1) return answers.negative.value_or(answers.affirmative);
  }
  return TerminalMessage(shown, title, answers);
}

std::string PosixBrowserPlatform::AskForFile(const FileDialogRequest& request) {
  if (const std::string zenity = DialogProgram({"zenity"}); !zenity.empty()) {
    const std::string folder =
        request.initial_folder.empty() ? kProgramsFolder : request.initial_folder;
    const std::optional<ProgramOutput> result = RunProgram(
        {zenity, "--file-selection", "--title=" + request.title, "--filename=" + folder});
    if (result && result->exit_status == 0) {
      std::string path = result->output;
      if (!path.empty() && path.back() == '\n') path.pop_back();
      return path;
    }
    if (result && result->exit_status == 1) return "";
  }
  if (!TerminalInput()) return "";
  std::cerr << request.title << " (full path, empty to cancel): " << std::flush;
  std::string typed;
  if (!std::getline(std::cin, typed) || typed.empty()) return "";
  std::string path;
  if (!RunStep([&] { path = AbsolutePath(typed); }) || !FileExists(path)) {
    std::cerr << "No such file: " << typed << '\n';
    return "";
  }
  return path;
}

}  // namespace veltrane
