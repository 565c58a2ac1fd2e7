#include "docbrowse/find_browser.h"

#include <gtest/gtest.h>

#include "docbrowse/fake_platform.h"
#include "docbrowse/registry_read.h"

namespace veltrane {
namespace {

using testing::FakePlatform;

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kClasses = RegistryRoot::kClassesRoot;
constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

class ReadRegistryValueTest : public ::testing::Test {
 protected:
  bool Read(std::string& text) {
    return ReadRegistryValue(platform_, kUser, "SOFTWARE\\Test", "Value", text);
  }
  void Store(RegistryValueType type, std::string data) {
    platform_.registry[{kUser, "SOFTWARE\\Test", "Value"}] = RegistryValue{type, std::move(data)};
  }
  FakePlatform platform_;
};

TEST_F(ReadRegistryValueTest, StringEndsAtFirstNul) {
  Store(RegistryValueType::kString, std::string("C:\\Opera\\opera.exe\0stale", 24));
  std::string text = "before";
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, "C:\\Opera\\opera.exe");
}

TEST_F(ReadRegistryValueTest, MissingValueClearsTheText) {
  std::string text = "before";
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(text, "");
}

TEST_F(ReadRegistryValueTest, ValueLargerThanTheBufferIsNotFound) {
  Store(RegistryValueType::kString, std::string(kRegistryBufferSize, 'x'));
  std::string text;
  EXPECT_TRUE(Read(text));
  Store(RegistryValueType::kString, std::string(kRegistryBufferSize + 1, 'x'));
  EXPECT_FALSE(Read(text));
  EXPECT_EQ(text, "");
}

TEST_F(ReadRegistryValueTest, DoubleWordIsItsNumberEvenWithZeroBytes) {
  Store(RegistryValueType::kDword, std::string("\x00\x01\x00\x80", 4));
  std::string text;
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, "2147483904");
}

TEST_F(ReadRegistryValueTest, OtherTypeIsFoundButLeavesTheText) {
  Store(RegistryValueType::kOther, "\x01\x02");
  std::string text = "before";
  EXPECT_TRUE(Read(text));
  EXPECT_EQ(text, "before");
}

class FindBrowserRegistry : public ::testing::Test {
 protected:
  FakePlatform platform_;
};

TEST_F(FindBrowserRegistry, IeSetupFolderGetsTheProgramName) {
  platform_.SetString(kMachine, "SOFTWARE\\Microsoft\\IE Setup\\SETUP", "Path", "C:\\IE");
  EXPECT_EQ(FindBrowser(platform_), "");
  platform_.files.insert("C:\\IE\\iexplore.exe");
  EXPECT_EQ(FindBrowser(platform_), "C:\\IE\\iexplore.exe");
}

TEST_F(FindBrowserRegistry, ClassRootCommandGivesTheQuotedPathAlone) {
  const std::string ie = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  platform_.SetString(kClasses, "Applications\\iexplore.exe\\shell\\open\\command", "",
                      "\"" + ie + "\" -nohome %1");
  EXPECT_EQ(FindBrowser(platform_), "");  // refused while the file is missing
  platform_.files.insert(ie);
  EXPECT_EQ(FindBrowser(platform_), ie);
}

TEST_F(FindBrowserRegistry, UnquotedClassRootCommandEndsAtThePlaceholder) {
  const std::string ie = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
  platform_.files.insert(ie);
  platform_.SetString(kClasses, "Applications\\iexplore.exe\\shell\\open\\command", "",
                      ie + "  %1");
  EXPECT_EQ(FindBrowser(platform_), ie);
}

TEST_F(FindBrowserRegistry, NetscapeVersionPathIsTakenWithoutFileTestAndTrimmed) {
  platform_.SetString(kUser, "SOFTWARE\\Netscape\\Netscape 6", "CurrentVersion", "6.2 (en)");
  platform_.SetString(kUser, "SOFTWARE\\Netscape\\Netscape 6\\6.2 (en)\\Main", "PathToExe",
                      "  C:\\Netscape 6\\netscp6.exe ");
  EXPECT_EQ(FindBrowser(platform_), "C:\\Netscape 6\\netscp6.exe");
}

TEST_F(FindBrowserRegistry, NetscapeWithoutVersionIsSkipped) {
  platform_.SetString(kUser, "SOFTWARE\\Netscape\\Netscape\\\\Main", "PathToExe", "C:\\N\\n.exe");
  platform_.SetString(kUser, "SOFTWARE\\Opera Software", "Last CommandLine v2", "C:\\Opera\\o.exe");
  platform_.files.insert("C:\\Opera\\o.exe");
  EXPECT_EQ(FindBrowser(platform_), "C:\\Opera\\o.exe");
}

TEST_F(FindBrowserRegistry, NavigatorInstallFolderGetsTheProgramPath) {
  platform_.SetString(kUser, "SOFTWARE\\Netscape\\Netscape Navigator\\Main", "Install Directory",
                      "C:\\Nav");
  platform_.files.insert("C:\\Nav\\Program\\netscape.exe");
  EXPECT_EQ(FindBrowser(platform_), "C:\\Nav\\Program\\netscape.exe");
}

TEST_F(FindBrowserRegistry, EarlierSourceWinsOverLaterOnesAndOverTheDesktop) {
  platform_.SetString(kUser, "SOFTWARE\\Opera Software", "Last CommandLine v2", "C:\\Opera\\o.exe");
  platform_.files.insert("C:\\Opera\\o.exe");
  platform_.SetString(kMachine, "SOFTWARE\\Microsoft\\IE Setup\\SETUP", "Path", "C:\\IE");
  platform_.files.insert("C:\\IE\\iexplore.exe");
  platform_.environment["BROWSER"] = "/usr/bin/firefox";
  platform_.executables.insert("/usr/bin/firefox");
  EXPECT_EQ(FindBrowser(platform_), "C:\\IE\\iexplore.exe");
}

class FindBrowserDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.environment["PATH"] = "/usr/local/bin:/usr/bin";
    platform_.environment["HOME"] = "/home/ann";
  }
  void DefaultBrowserEntry(const std::string& name, const std::string& folder,
                           const std::string& exec) {
    platform_.program_output[{"xdg-settings", "get", "default-web-browser"}] = name + "\n";
    platform_.text_files[folder + name] =
        "[Desktop Entry]\nName=Browser\nExec=" + exec + "\n\n[Desktop Action new]\nExec=other\n";
  }
  FakePlatform platform_;
};

TEST_F(FindBrowserDesktop, BrowserVariableFirstEntryIsLookedUpOnPath) {
  platform_.environment["BROWSER"] = " links :firefox";
  platform_.executables = {"/usr/bin/links", "/usr/local/bin/links", "/usr/bin/firefox"};
  EXPECT_EQ(FindBrowser(platform_), "/usr/local/bin/links");
}

TEST_F(FindBrowserDesktop, BrowserVariableThatIsNotAnExecutableIsPassedOver) {
  platform_.environment["BROWSER"] = "/home/ann/notes.txt:links";
  platform_.files.insert("/home/ann/notes.txt");
  platform_.executables = {"/usr/bin/links", "/usr/bin/opera"};
  EXPECT_EQ(FindBrowser(platform_), "/usr/bin/opera");
}

TEST_F(FindBrowserDesktop, RelativeNamesAndPathEntriesAreNeverUsed) {
  platform_.environment["PATH"] = ".:bin::/usr/bin";
  platform_.environment["BROWSER"] = "./browser";
  platform_.executables = {"./browser", "./firefox", "bin/firefox", "/firefox"};
  EXPECT_EQ(FindBrowser(platform_), "");
}

TEST_F(FindBrowserDesktop, DesktopDefaultEntryGivesItsProgram) {
  DefaultBrowserEntry("firefox-esr.desktop", "/usr/share/applications/",
                      "/usr/lib/firefox-esr/firefox-esr %u");
  platform_.executables = {"/usr/lib/firefox-esr/firefox-esr", "/usr/bin/chromium"};
  EXPECT_EQ(FindBrowser(platform_), "/usr/lib/firefox-esr/firefox-esr");
}

TEST_F(FindBrowserDesktop, PersonalEntryHidesTheSystemOne) {
  DefaultBrowserEntry("web.desktop", "/usr/share/applications/", "chromium %U");
  DefaultBrowserEntry("web.desktop", "/home/ann/.local/share/applications/",
                      "\"/home/ann/My Apps/browser\" %U");
  platform_.executables = {"/home/ann/My Apps/browser", "/usr/bin/chromium"};
  EXPECT_EQ(FindBrowser(platform_), "/home/ann/My Apps/browser");
}

TEST_F(FindBrowserDesktop, EntryNeedingArgumentsFallsBackToWellKnownBrowsers) {
  DefaultBrowserEntry("org.mozilla.firefox.desktop", "/usr/share/applications/",
                      "/usr/bin/flatpak run org.mozilla.firefox @@u %u @@");
  platform_.executables = {"/usr/bin/flatpak", "/usr/bin/chromium"};
  EXPECT_EQ(FindBrowser(platform_), "/usr/bin/chromium");
}

TEST_F(FindBrowserDesktop, DefaultNameThatIsAPathIsRefused) {
  platform_.program_output[{"xdg-settings", "get", "default-web-browser"}] = "../../evil.desktop";
  platform_.text_files["/usr/share/applications/../../evil.desktop"] =
      "[Desktop Entry]\nExec=/usr/bin/evil\n";
  platform_.executables = {"/usr/bin/evil"};
  EXPECT_EQ(FindBrowser(platform_), "");
}

TEST_F(FindBrowserDesktop, WellKnownBrowsersInTheirOrder) {
  platform_.files.insert("/usr/bin/firefox");  // there, but not executable
  platform_.executables = {"/usr/bin/opera", "/usr/bin/google-chrome", "/usr/bin/chromium"};
  EXPECT_EQ(FindBrowser(platform_), "/usr/bin/chromium");
  platform_.executables.insert("/usr/bin/firefox");
  EXPECT_EQ(FindBrowser(platform_), "/usr/bin/firefox");
}

}  // namespace
}  // namespace veltrane
