#include "docbrowse/launcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "docbrowse/document_argument.h"
#include "docbrowse/fake_platform.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using testing::FakePlatform;
using ::testing::HasSubstr;

constexpr const char* kTitle = "Veltrane 2.0";
constexpr const char* kDocument = "/home/ann/Payroll Help/index.html";
constexpr const char* kConfirm =
    "Confirm cancel document operation.\r\n\r\nIf you continue without selecting a browser\r\n"
    "the program will be unable to browse\r\ndocuments.\r\n\r\nTry again to locate a browser?"
    "\r\n\r\n";

class Launcher : public ::testing::Test {
 protected:
  std::string StoredBrowser() {
    return platform_.settings[FakePlatform::SettingName(kTitle, "Settings", "BrowserPath")];
  }
  void StoreBrowser(const std::string& path) {
    platform_.settings[FakePlatform::SettingName(kTitle, "Settings", "BrowserPath")] = path;
  }
  // The one message shown, whole.
  void ExpectOnlyMessage(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, text);
    EXPECT_EQ(platform_.messages[0].title, kTitle);
    EXPECT_EQ(platform_.messages[0].icon, icon);
    EXPECT_EQ(platform_.messages[0].buttons, buttons);
  }
  std::vector<std::string> StartedPrograms() {
    std::vector<std::string> programs;
    for (const ProcessLaunch& launch : platform_.launches) programs.push_back(launch.program);
    return programs;
  }

  FakePlatform platform_;
};

TEST_F(Launcher, StoredBrowserThatExistsStartsAtOnceWithoutSearchOrSave) {
  StoreBrowser("/usr/bin/firefox");
  platform_.executables.insert("/usr/bin/firefox");
  platform_.executables.insert("/usr/bin/chromium");
  platform_.environment["PATH"] = "/usr/bin";

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 0);
  EXPECT_THAT(StartedPrograms(), ElementsAre("/usr/bin/firefox"));
  EXPECT_EQ(platform_.registry_reads, 0);
  EXPECT_TRUE(platform_.dialogs.empty());
  EXPECT_EQ(platform_.settings_saved, 0);
}

TEST_F(Launcher, StoredBrowserThatCannotRunIsSearchedAgainAndReplaced) {
  const std::string old_browser = "/opt/old-browser/browser";
  for (const std::string trouble : {"deleted", "not executable", "not a program"}) {
    SCOPED_TRACE(trouble);
    platform_ = FakePlatform{};
    StoreBrowser(old_browser);
    if (trouble == "not executable") platform_.files.insert(old_browser);
    if (trouble == "not a program") {
      platform_.executables.insert(old_browser);
      platform_.start_failures[old_browser] = {"Exec format error", true};
    }
    platform_.executables.insert("/usr/bin/chromium");
    platform_.environment["PATH"] = "/usr/bin";

    EXPECT_EQ(RunDocBrowse(platform_, kDocument), 0);
    EXPECT_EQ(StartedPrograms().back(), "/usr/bin/chromium");
    EXPECT_EQ(StoredBrowser(), "/usr/bin/chromium");
    EXPECT_EQ(platform_.settings_saved, 1);
    EXPECT_TRUE(platform_.dialogs.empty());
    EXPECT_TRUE(platform_.messages.empty());
  }
}

TEST_F(Launcher, ReplacementIsNeverTheBrokenBrowserAndOneThatCannotRunIsNotRemembered) {
  StoreBrowser("/usr/bin/firefox");
  platform_.executables = {"/usr/bin/firefox", "/home/ann/bin/browser"};
  platform_.environment["PATH"] = "/usr/bin";  // the search finds firefox again
  platform_.start_failures["/usr/bin/firefox"] = {"Exec format error", true};
  platform_.start_failures["/home/ann/bin/browser"] = {"Permission denied", true};
  platform_.chosen_files.push_back("/home/ann/bin/browser");

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 1);
  EXPECT_EQ(platform_.dialogs.size(), 1u);
  EXPECT_THAT(StartedPrograms(), ElementsAre("/usr/bin/firefox", "/home/ann/bin/browser"));
  EXPECT_EQ(platform_.settings_saved, 0);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_THAT(platform_.messages[0].text, HasSubstr("Permission denied"));
}

TEST_F(Launcher, RegistryClassRootCommandStartsThePathAlone) {
  const std::string ie = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  platform_.SetString(RegistryRoot::kClassesRoot,
                      "Applications\\iexplore.exe\\shell\\open\\command", "",
                      "\"" + ie + "\" -nohome %1");
  platform_.executables.insert(ie);

  EXPECT_EQ(RunDocBrowse(platform_, "C:\\Help\\index.htm"), 0);
  ASSERT_EQ(platform_.launches.size(), 1u);
  EXPECT_EQ(platform_.launches[0].command_line, ie + " C:\\Help\\index.htm");
  EXPECT_EQ(StoredBrowser(), ie);
}

TEST_F(Launcher, BrowserAndSafeDocumentAreTwoArgumentsJoinedByOneSpaceInText) {
  StoreBrowser("/opt/My Browser/browse");
  platform_.executables.insert("/opt/My Browser/browse");
  platform_.files.insert("Payroll Help/index.html");  // in the current folder, /home/ann

  RunDocBrowse(platform_, kDocument);
  RunDocBrowse(platform_, "Payroll Help/index.html");
  ASSERT_EQ(platform_.launches.size(), 2u);
  for (const ProcessLaunch& launch : platform_.launches) {
    EXPECT_EQ(launch.program, "/opt/My Browser/browse");
    EXPECT_EQ(launch.argument, kDocument);
    EXPECT_EQ(launch.command_line, "/opt/My Browser/browse /home/ann/Payroll Help/index.html");
  }
}

TEST_F(Launcher, SettingsStoreThatFailsDoesNotStopTheBrowser) {
  platform_.settings_fail = true;
  platform_.executables.insert("/usr/bin/firefox");
  platform_.environment["PATH"] = "/usr/bin";

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 0);
  EXPECT_THAT(StartedPrograms(), ElementsAre("/usr/bin/firefox"));
}

TEST_F(Launcher, FoundPathWithoutFileLeadsToTheDialog) {
  // Netscape's recorded path is taken without a file test by the search.
  platform_.SetString(RegistryRoot::kCurrentUser, "SOFTWARE\\Netscape\\Netscape", "CurrentVersion",
                      "4.8 (en)");
  platform_.SetString(RegistryRoot::kCurrentUser, "SOFTWARE\\Netscape\\Netscape\\4.8 (en)\\Main",
                      "PathToExe", "C:\\Netscape\\netscape.exe");
  platform_.chosen_files.push_back("/usr/local/bin/links");

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 0);
  EXPECT_EQ(platform_.dialogs.size(), 1u);
  EXPECT_THAT(StartedPrograms(), ElementsAre("/usr/local/bin/links"));
  EXPECT_EQ(StoredBrowser(), "/usr/local/bin/links");
}

class LauncherDialog : public Launcher {};

TEST_F(LauncherDialog, AsksForAnExecutableStartingInTheProgramsFolder) {
  platform_.SetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                      "ProgramFilesDir", " C:\\Program Files ");
  RunDocBrowse(platform_, kDocument);
  ASSERT_FALSE(platform_.dialogs.empty());
  const FileDialogRequest& request = platform_.dialogs[0];
  EXPECT_EQ(request.title, "Select Web Browser");
  EXPECT_EQ(request.filter, "Executable (*.exe)|*.exe");
  EXPECT_EQ(request.initial_folder, "C:\\Program Files\\");
  EXPECT_EQ(request.flags, 3676164u);
}

TEST_F(LauncherDialog, CancelThenNoStartsAndSavesNothing) {
  platform_.answers.push_back(MessageResult::kNo);

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 1);
  EXPECT_EQ(platform_.dialogs.size(), 1u);
  EXPECT_TRUE(platform_.launches.empty());
  EXPECT_EQ(platform_.settings_saved, 0);
  ExpectOnlyMessage(kConfirm, MessageIcon::kQuestion, MessageButtons::kYesNo);
}

TEST_F(LauncherDialog, CancelThenYesOpensTheDialogAgain) {
  platform_.answers.push_back(MessageResult::kYes);
  platform_.chosen_files = {"", "/home/ann/bin/browser"};

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 0);
  EXPECT_EQ(platform_.dialogs.size(), 2u);
  EXPECT_EQ(platform_.messages.size(), 1u);
  EXPECT_THAT(StartedPrograms(), ElementsAre("/home/ann/bin/browser"));
  EXPECT_EQ(StoredBrowser(), "/home/ann/bin/browser");
}

class LauncherMessages : public Launcher {};

TEST_F(LauncherMessages, EmptyCommandLineSaysNotStandAloneAndDoesNothingElse) {
  EXPECT_EQ(RunDocBrowse(platform_, ""), 1);
  ExpectOnlyMessage("Not a stand alone application.\r\n\r\n", MessageIcon::kCritical,
                    MessageButtons::kOk);
  EXPECT_TRUE(platform_.launches.empty());
  EXPECT_TRUE(platform_.dialogs.empty());
}

TEST_F(LauncherMessages, FailedStartShowsTheSystemsDescriptionAndKeepsTheBrowser) {
  StoreBrowser("/usr/bin/firefox");
  platform_.executables.insert("/usr/bin/firefox");
  platform_.start_failures["/usr/bin/firefox"] = {"Resource temporarily unavailable", false};

  EXPECT_EQ(RunDocBrowse(platform_, kDocument), 1);
  EXPECT_THAT(StartedPrograms(), ElementsAre("/usr/bin/firefox"));
  EXPECT_EQ(platform_.settings_saved, 0);
  ExpectOnlyMessage(
      "The browser was not located.  \r\n\r\nResource temporarily unavailable\r\n\r\n"
      "  You will have to open your browser manually \r\nand navigate to the webpage."
      "\r\n\r\n",
      MessageIcon::kCritical, MessageButtons::kOk);
}

TEST_F(LauncherMessages, DocumentABrowserWouldReadAsAnOptionIsRefusedBeforeAnythingElse) {
  StoreBrowser("/usr/bin/firefox");
  platform_.executables.insert("/usr/bin/firefox");

  EXPECT_EQ(RunDocBrowse(platform_, "--remote-debugging-port=9222"), 1);
  ExpectOnlyMessage(
      "The document was not opened:\r\n\r\n--remote-debugging-port=9222\r\n\r\n"
      "A browser reads a name that begins with \"-\" as an option.\r\n\r\n",
      MessageIcon::kCritical, MessageButtons::kOk);
  EXPECT_TRUE(platform_.launches.empty());
  EXPECT_EQ(platform_.registry_reads, 0);
}

TEST(DocumentArgument, UrlsAndAbsolutePathsStandAndRelativeFilesBecomeAbsolute) {
  FakePlatform platform;
  platform.files = {"help page.html", "-private", "mailto:ann@example.com",
                    "/home/ann/Payroll Help/index.html"};
  for (const char* stands : {"https://example.com/?q=--headless", "mailto:ann@example.com",
                             "file:///home/ann/-x.html", "/home/ann/Payroll Help/index.html",
                             "/absent/-x.html", "C:\\Help\\index.htm", "www.example.com"}) {
    EXPECT_EQ(DocumentArgument(platform, stands), stands);
  }
  EXPECT_EQ(DocumentArgument(platform, "help page.html"), "/home/ann/help page.html");
  EXPECT_EQ(DocumentArgument(platform, "-private"), "/home/ann/-private");
}

TEST(DocumentArgument, AnythingElseBeginningWithADashIsRefused) {
  FakePlatform platform;
  for (const char* option : {"--user-data-dir=X", "-private", " \t--headless", "-:x", "-1a:b"}) {
    EXPECT_EQ(DocumentArgument(platform, option), std::nullopt) << option;
  }
  // A platform that cannot say where the current folder is makes nothing absolute.
  class NoCurrentFolder : public FakePlatform {
    std::string AbsolutePath(const std::string&) override { throw std::runtime_error("gone"); }
  } lost;
  lost.files.insert("-private");
  EXPECT_EQ(DocumentArgument(lost, "-private"), std::nullopt);
}

TEST(DocumentFromArguments, JoinsEveryArgumentWithOneSpace) {
  const char* argv[] = {"docbrowse", "/home/ann/My", "Help.html", ""};
  EXPECT_EQ(DocumentFromArguments(3, argv), "/home/ann/My Help.html");
  EXPECT_EQ(DocumentFromArguments(4, argv), "/home/ann/My Help.html ");
  EXPECT_EQ(DocumentFromArguments(1, argv), "");
}

}  // namespace
}  // namespace veltrane
