#include "docbrowse/launcher.h"

#include <optional>

#include "common/step.h"
#include "common/text.h"
#include "docbrowse/document_argument.h"
#include "docbrowse/find_browser.h"
#include "docbrowse/registry_read.h"

namespace veltrane {
namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kBrowserPathKey = "BrowserPath";

constexpr const char* kNotStandAlone = "Not a stand alone application.\r\n\r\n";
constexpr const char* kConfirmCancel =
    "Confirm cancel document operation.\r\n"
    "\r\n"
    "If you continue without selecting a browser\r\n"
    "the program will be unable to browse\r\n"
    "documents.\r\n"
    "\r\n"
    "Try again to locate a browser?\r\n"
    "\r\n";

// hide read-only, path must exist, file must exist, explorer style,
// do not follow shortcuts, long names
constexpr unsigned long kBrowseDialogFlags = 0x381804;

std::string FailureText(const std::string& error_description) {
  return "The browser was not located.  \r\n\r\n" + error_description +
         "\r\n\r\n"
         "  You will have to open your browser manually \r\n"
         "and navigate to the webpage.\r\n\r\n";
}

std::string NotADocumentText(const std::string& document) {
  return "The document was not opened:\r\n\r\n" + document +
         "\r\n\r\n"
         "A browser reads a name that begins with \"-\" as an option.\r\n\r\n";
}

MessageResult Show(BrowserPlatform& platform, const std::string& text, MessageIcon icon,
                   MessageButtons buttons) {
  MessageResult result =
      buttons == MessageButtons::kYesNo ? MessageResult::kNo : MessageResult::kOk;
  RunStep([&] { result = platform.ShowMessage(text, kApplicationName, icon, buttons); });
  return result;
}

// A browser is worth starting when its file is there and may be executed.
bool Runnable(BrowserPlatform& platform, const std::string& path) {
  bool runnable = false;
  RunStep([&] { runnable = !path.empty() && platform.IsExecutableFile(path); });
  return runnable;
}

// The open-file dialog, starting in the machine's programs folder.
std::string AskForBrowser(BrowserPlatform& platform) {
  std::string folder;
  ReadRegistryValue(platform, RegistryRoot::kLocalMachine,
                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", folder);
  folder = Trim(folder);
  FileDialogRequest request{.title = "Select Web Browser",
                            .filter = "Executable (*.exe)|*.exe",
                            .initial_folder = folder.empty() ? "" : folder + "\\",
                            .flags = kBrowseDialogFlags};
  std::string chosen;
  RunStep([&] { chosen = platform.AskForFile(request); });
  return chosen;
}

// Asks until the user points at a browser or declines to look again.
std::string AskUntilChosenOrDeclined(BrowserPlatform& platform) {
  for (;;) {
    std::string browser = AskForBrowser(platform);
    if (!browser.empty()) return browser;
    if (Show(platform, kConfirmCancel, MessageIcon::kQuestion, MessageButtons::kYesNo) !=
        MessageResult::kYes) {
      return "";
    }
  }
}

// The search's browser, unless it is `refused` or cannot run; else the one
// the user points at. "" when the user declines.
std::string ChooseBrowser(BrowserPlatform& platform, const std::string& refused) {
  std::string browser = FindBrowser(platform);
  if (browser == refused || !Runnable(platform, browser)) {
    browser = AskUntilChosenOrDeclined(platform);
  }
  return browser;
}

std::optional<StartFailure> Start(BrowserPlatform& platform, const std::string& browser,
                                  const std::string& argument) {
  const ProcessLaunch launch{
      .program = browser, .argument = argument, .command_line = browser + " " + argument};
  // A platform that fails without a word of its own still gets reported.
  std::optional<StartFailure> failure = StartFailure{"The process could not be started."};
  RunStep([&] { failure = platform.StartProcess(launch); });
  return failure;
}

}  // namespace

std::string DocumentFromArguments(int argc, const char* const* argv) {
  std::string document;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) document += ' ';
    document += argv[i];
  }
  return document;
}

int RunDocBrowse(BrowserPlatform& platform, const std::string& document) {
  if (document.empty()) {
    Show(platform, kNotStandAlone, MessageIcon::kCritical, MessageButtons::kOk);
    return 1;
  }

  const std::optional<std::string> argument = DocumentArgument(platform, document);
  if (!argument) {
    Show(platform, NotADocumentText(document), MessageIcon::kCritical, MessageButtons::kOk);
    return 1;
  }

  std::string stored;
  RunStep([&] { stored = platform.GetSetting(kApplicationName, kSection, kBrowserPathKey, ""); });
  const bool remembered = Runnable(platform, stored);
  std::string browser = remembered ? stored : ChooseBrowser(platform, "");
  if (browser.empty()) return 1;
  std::optional<StartFailure> failure = Start(platform, browser, *argument);
  // A remembered browser can pass for a program and still not be one (a
  // script without "#!"): it is replaced as a missing one is.
  if (remembered && failure && failure->program_unusable) {
    browser = ChooseBrowser(platform, stored);
    if (browser.empty()) return 1;
    failure = Start(platform, browser, *argument);
  }
  // A browser that proved unable to run is not remembered.
  if (browser != stored && !(failure && failure->program_unusable)) {
    RunStep([&] { platform.SaveSetting(kApplicationName, kSection, kBrowserPathKey, browser); });
  }
  if (failure) {
    Show(platform, FailureText(failure->description), MessageIcon::kCritical, MessageButtons::kOk);
  }
  return failure ? 1 : 0;
}

}  // namespace veltrane
