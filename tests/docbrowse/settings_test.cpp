#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "docbrowse/ini_text.h"
#include "docbrowse/posix_files.h"
#include "docbrowse/settings_file.h"
#include "docbrowse/temp_folder.h"

namespace veltrane {
namespace {

using testing::Permissions;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

constexpr const char* kIni =
    "; written by hand\n"
    "[Window]\n"
    "BrowserPath=not this one\n"
    "\n"
    "[settings]\n"
    "browserpath=/usr/bin/a=b\n"
    "Zoom=2\n"
    "\n"
    "[Other]\n"
    "Key=1\n";

TEST(IniValue, SectionAndKeyIgnoreCaseAndTheValueIsVerbatim) {
  EXPECT_EQ(IniValue(kIni, "Settings", "BrowserPath"), "/usr/bin/a=b");
  EXPECT_EQ(IniValue(kIni, "Settings", "Key"), std::nullopt);
  EXPECT_EQ(IniValue(kIni, "Missing", "Key"), std::nullopt);
  EXPECT_EQ(IniValue("[S]\r\nK= spaced \r\n", "S", "K"), " spaced ");
}

TEST(WithIniValue, ReplacesOnlyTheKeyOfItsSection) {
  const std::string written = WithIniValue(kIni, "SETTINGS", "BrowserPath", "/usr/bin/firefox");
  EXPECT_EQ(written,
            "; written by hand\n[Window]\nBrowserPath=not this one\n\n[settings]\n"
            "BrowserPath=/usr/bin/firefox\nZoom=2\n\n[Other]\nKey=1\n");
}

TEST(WithIniValue, AddsToTheEndOfAnExistingSection) {
  EXPECT_EQ(WithIniValue(kIni, "Window", "Width", "80"),
            "; written by hand\n[Window]\nBrowserPath=not this one\nWidth=80\n\n[settings]\n"
            "browserpath=/usr/bin/a=b\nZoom=2\n\n[Other]\nKey=1\n");
}

TEST(WithIniValue, AddsAMissingSectionAtTheEnd) {
  EXPECT_EQ(WithIniValue("", "Settings", "BrowserPath", "/b"), "[Settings]\nBrowserPath=/b\n");
  EXPECT_EQ(WithIniValue("[A]\nk=1", "B", "k", "2"), "[A]\nk=1\n\n[B]\nk=2\n");
}

TEST(WithIniValue, RefusesWhatTheFormatCannotHold) {
  EXPECT_THROW(WithIniValue("", "Settings", "BrowserPath", "/a\n[Evil]"), std::invalid_argument);
  EXPECT_THROW(WithIniValue("", "Set]tings", "BrowserPath", "/a"), std::invalid_argument);
  EXPECT_THROW(WithIniValue("", "Settings", "Browser=Path", "/a"), std::invalid_argument);
  EXPECT_THROW(WithIniValue("", "Settings", "", "/a"), std::invalid_argument);
}

TEST(SettingsFilePath, XdgConfigHomeWhenAbsoluteElseHomeConfig) {
  EXPECT_EQ(SettingsFilePath("/cfg/", "/home/ann", "Veltrane 2.0"),
            "/cfg/Veltrane 2.0/settings.ini");
  EXPECT_EQ(SettingsFilePath("relative", "/home/ann", "Veltrane 2.0"),
            "/home/ann/.config/Veltrane 2.0/settings.ini");
  EXPECT_THROW(SettingsFilePath("", "", "Veltrane 2.0"), std::invalid_argument);
  EXPECT_THROW(SettingsFilePath("/cfg", "/home/ann", "../escape"), std::invalid_argument);
}

class SettingsFileTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  std::string folder_ = temp_ / "config/Veltrane 2.0";
  std::string path_ = folder_ + "/settings.ini";
  SettingsFile settings_{path_};
};

TEST_F(SettingsFileTest, AbsentFileGivesTheFallback) {
  EXPECT_EQ(settings_.Get("Settings", "BrowserPath", "none"), "none");
}

TEST_F(SettingsFileTest, FirstWriteCreatesUserOnlyFolderAndFile) {
  settings_.Set("Settings", "BrowserPath", "/opt/My Browser/browse");
  EXPECT_EQ(settings_.Get("Settings", "BrowserPath", ""), "/opt/My Browser/browse");
  EXPECT_EQ(Permissions(temp_ / "config"), 0700u);
  EXPECT_EQ(Permissions(folder_), 0700u);
  EXPECT_EQ(Permissions(path_), 0600u);
}

TEST_F(SettingsFileTest, RewriteKeepsOtherSettingsAndLeavesNoTemporaryFile) {
  WriteFile(path_, "[Settings]\nBrowserPath=/old\nZoom=2\n", 0600);
  settings_.Set("Settings", "BrowserPath", "/new");
  EXPECT_EQ(ReadFile(path_), "[Settings]\nBrowserPath=/new\nZoom=2\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder_)) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(SettingsFileTest, UnreadableFileIsNeitherGuessedNorOverwritten) {
  // A folder where the file belongs cannot be read, even by root.
  std::filesystem::create_directories(path_ + "/kept");
  EXPECT_THROW(settings_.Get("Settings", "Zoom", ""), std::system_error);
  EXPECT_THROW(settings_.Set("Settings", "BrowserPath", "/new"), std::system_error);
  EXPECT_TRUE(std::filesystem::exists(path_ + "/kept"));
}

// Settings whose path holds something other than a small regular file.
class OddSettingsPath : public SettingsFileTest {
 protected:
  void SetUp() override { std::filesystem::create_directories(folder_); }

  // Runs `action` on a thread: true when it threw std::system_error, false
  // when it returned or threw anything else, nullopt when it was still
  // waiting after a generous while. Opening the FIFO for writing then wakes
  // it, because a reader blocked on a FIFO waits for a writer.
  static std::optional<bool> RefusedWithoutWaiting(const std::string& fifo,
                                                   const std::function<void()>& action) {
    std::promise<bool> refused;
    std::future<bool> outcome = refused.get_future();
    std::thread worker([&] {
      try {
        action();
        refused.set_value(false);
      } catch (const std::system_error&) {
        refused.set_value(true);
      } catch (...) {
        refused.set_value(false);
      }
    });
    std::optional<bool> answer;
    if (outcome.wait_for(std::chrono::seconds(10)) == std::future_status::ready) {
      answer = outcome.get();
    } else {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    }
    worker.join();
    return answer;
  }

  static bool IsFifo(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
  }
};

TEST_F(OddSettingsPath, AFifoIsRefusedAtOnceAndLeftInPlace) {
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  EXPECT_EQ(RefusedWithoutWaiting(path_, [&] { settings_.Get("Settings", "BrowserPath", ""); }),
            true);
  EXPECT_EQ(RefusedWithoutWaiting(path_, [&] { settings_.Set("Settings", "BrowserPath", "/b"); }),
            true);
  EXPECT_TRUE(IsFifo(path_));
}

TEST_F(OddSettingsPath, ALinkToADeviceIsRefusedAndLeftInPlace) {
  ASSERT_EQ(::symlink("/dev/zero", path_.c_str()), 0);
  EXPECT_THROW(settings_.Get("Settings", "BrowserPath", ""), std::system_error);
  EXPECT_THROW(settings_.Set("Settings", "BrowserPath", "/b"), std::system_error);
  EXPECT_EQ(std::filesystem::read_symlink(path_), "/dev/zero");
}

TEST_F(OddSettingsPath, ALinkToARegularFileIsFollowed) {
  WriteFile(temp_ / "kept.ini", "[Settings]\nBrowserPath=/linked\n", 0600);
  ASSERT_EQ(::symlink((temp_ / "kept.ini").c_str(), path_.c_str()), 0);
  EXPECT_EQ(settings_.Get("Settings", "BrowserPath", ""), "/linked");
}

TEST_F(OddSettingsPath, AFileOverTheLimitIsRefusedAndOneAtItIsRead) {
  const std::string head = "[Settings]\nBrowserPath=/big\n;";
  std::string text = head + std::string(kMaxSettingsFileBytes - head.size(), 'x');
  WriteFile(path_, text, 0600);
  EXPECT_EQ(settings_.Get("Settings", "BrowserPath", ""), "/big");

  WriteFile(path_, text + "\n", 0600);
  EXPECT_THROW(settings_.Get("Settings", "BrowserPath", ""), std::system_error);
  EXPECT_THROW(settings_.Set("Settings", "BrowserPath", "/b"), std::system_error);
  EXPECT_EQ(ReadFile(path_).size(), kMaxSettingsFileBytes + 1);
}

TEST(ReadWholeFile, AbsentIsNothingAndAFolderCannotBeRead) {
  TempFolder temp;
  EXPECT_EQ(ReadWholeFile(temp / "absent", 10), std::nullopt);
  ASSERT_EQ(::symlink((temp / "absent").c_str(), (temp / "dangling").c_str()), 0);
  EXPECT_EQ(ReadWholeFile(temp / "dangling", 10), std::nullopt);
  EXPECT_THROW(ReadWholeFile(temp.path(), 10), std::system_error);
}

TEST(ReadWholeFile, ACharacterDeviceIsNeverRead) {
  EXPECT_THROW(ReadWholeFile("/dev/zero", 10), std::system_error);
  EXPECT_THROW(ReadWholeFile("/dev/null", 10), std::system_error);
}

}  // namespace
}  // namespace veltrane
