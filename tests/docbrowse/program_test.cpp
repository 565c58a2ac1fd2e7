// Runs the installed-to-be docbrowse program itself, in a sealed
// environment: a temporary home and settings folder, a PATH holding nothing,
// no display and no terminal, so that no real browser or dialog can start.
// It runs in the temporary folder, its current folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "docbrowse/temp_folder.h"

namespace veltrane {
namespace {

using testing::Permissions;
using testing::ReadFile;
using testing::RecordingScript;
using testing::TempFolder;
using testing::WaitForFile;
using testing::WriteFile;

class DocBrowseProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(temp_ / "config");
    std::filesystem::create_directories(temp_ / "home");
    std::filesystem::create_directories(temp_ / "empty bin");
  }

  // Runs docbrowse with `args`, standard input from /dev/null and standard
  // error into a file; answers its exit status.
  int Run(const std::vector<std::string>& args, const std::string& browser_variable) {
    std::vector<std::string> environment = {
        "PATH=" + (temp_ / "empty bin"),         "HOME=" + (temp_ / "home"),
        "XDG_CONFIG_HOME=" + (temp_ / "config"), "XDG_DATA_HOME=" + (temp_ / "home"),
        "XDG_DATA_DIRS=" + (temp_ / "home"),     "BROWSER=" + browser_variable};
    // The sanitizer build reads its options from the environment.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name))
        environment.push_back(std::string(name) + "=" + value);
    }
    std::vector<std::string> argv = {DOCBROWSE_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());

    std::vector<char*> argv_p, env_p;
    for (std::string& a : argv) argv_p.push_back(a.data());
    argv_p.push_back(nullptr);
    for (std::string& e : environment) env_p.push_back(e.data());
    env_p.push_back(nullptr);

    const std::string error_file = temp_ / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, error_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addchdir_np(&actions, temp_.path().c_str());
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, argv_p[0], &actions, nullptr, argv_p.data(), env_p.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    return Wait(pid);
  }

  // The exit status; -1 for a program killed by a signal, or killed here
  // because it was still running after a generous while (it hung).
  static int Wait(pid_t pid) {
    int status = 0;
    for (int i = 0; i < 3000; ++i) {
      const pid_t ended = waitpid(pid, &status, WNOHANG);
      if (ended == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      if (ended < 0) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }

  // A browser that records its arguments, for the variable $BROWSER.
  std::string RecordingBrowser(const std::string& name = "stub browser") {
    const std::string browser = temp_ / name;
    WriteFile(browser, RecordingScript(temp_ / "args", temp_ / "done"), 0755);
    return browser;
  }
  // What the recording browser was started with; "" when it never finished.
  // Clears the record for the next start.
  std::string Recorded() {
    const std::string args = WaitForFile(temp_ / "done") ? ReadFile(temp_ / "args") : "";
    std::filesystem::remove(temp_ / "args");
    std::filesystem::remove(temp_ / "done");
    return args;
  }

  std::string Errors() { return ReadFile(temp_ / "stderr"); }
  std::string SettingsFile() { return temp_ / "config/Veltrane 2.0/settings.ini"; }

  TempFolder temp_;
};

TEST_F(DocBrowseProgram, StartsTheBrowserWithTheDocumentAsOneArgumentAndRemembersIt) {
  const std::string browser = RecordingBrowser("browser dir/stub browser");
  const std::string document = temp_ / "my docs/help page.html";

  ASSERT_EQ(Run({temp_ / "my", "docs/help", "page.html"}, browser), 0) << Errors();
  EXPECT_EQ(Recorded(), "1\n[" + document + "]\n");
  EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\nBrowserPath=" + browser + "\n");
  EXPECT_EQ(Permissions(SettingsFile()), 0600u);
}

TEST_F(DocBrowseProgram, SettingsThatAreAFifoAreNotWaitedOnNorReplaced) {
  const std::string browser = RecordingBrowser();
  std::filesystem::create_directories(temp_ / "config/Veltrane 2.0");
  ASSERT_EQ(mkfifo(SettingsFile().c_str(), 0600), 0);

  ASSERT_EQ(Run({"/tmp/doc.html"}, browser), 0) << Errors();
  EXPECT_EQ(Recorded(), "1\n[/tmp/doc.html]\n");
  struct stat info {};
  EXPECT_TRUE(lstat(SettingsFile().c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
}

TEST_F(DocBrowseProgram, StoredBrowserThatCannotRunIsReplaced) {
  const std::string browser = RecordingBrowser();
  const std::string stored = temp_ / "stored browser";
  // Not executable, then executable but without "#!".
  for (const mode_t mode : {0644, 0755}) {
    WriteFile(stored, "echo 'not a program'\n", mode);
    WriteFile(SettingsFile(), "[Settings]\nBrowserPath=" + stored + "\n", 0600);
    ASSERT_EQ(Run({"/tmp/doc.html"}, browser), 0) << Errors();
    EXPECT_EQ(Recorded(), "1\n[/tmp/doc.html]\n") << mode;
    EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\nBrowserPath=" + browser + "\n") << mode;
  }
}

TEST_F(DocBrowseProgram, DocumentsReachTheBrowserOnlyAsDocuments) {
  const std::string browser = RecordingBrowser();
  WriteFile(temp_ / "help page.html", "<p>help</p>");
  for (const char* option : {"--user-data-dir=X", "-private"}) {
    EXPECT_EQ(Run({option}, browser), 1) << option;
    EXPECT_NE(Errors().find("The document was not opened:\n\n" + std::string(option)),
              std::string::npos)
        << Errors();
  }
  EXPECT_FALSE(std::filesystem::exists(temp_ / "args"));

  ASSERT_EQ(Run({"help page.html"}, browser), 0) << Errors();
  EXPECT_EQ(Recorded(), "1\n[" + (temp_ / "help page.html") + "]\n");
  ASSERT_EQ(Run({"https://example.com/?q=--headless"}, browser), 0) << Errors();
  EXPECT_EQ(Recorded(), "1\n[https://example.com/?q=--headless]\n");
}

TEST_F(DocBrowseProgram, EmptyCommandLineSaysSoOnStandardError) {
  EXPECT_EQ(Run({}, ""), 1);
  EXPECT_NE(Errors().find("Veltrane 2.0: Not a stand alone application."), std::string::npos)
      << Errors();
}

TEST_F(DocBrowseProgram, NoBrowserAndNoTerminalEndsWithoutStartingOrSaving) {
  EXPECT_EQ(Run({"/tmp/doc.html"}, temp_ / "absent browser"), 1);
  EXPECT_NE(Errors().find("Try again to locate a browser?"), std::string::npos) << Errors();
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

}  // namespace
}  // namespace veltrane
