#include "docbrowse/posix_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>

#include "docbrowse/temp_folder.h"

namespace veltrane {
namespace {

using testing::ReadFile;
using testing::RecordingScript;
using testing::TempFolder;
using testing::WaitForFile;
using testing::WriteFile;

class StartDetachedTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  std::string program_ = temp_ / "my browser";
};

TEST_F(StartDetachedTest, ArgumentWithSpacesAndQuotesArrivesWhole) {
  WriteFile(program_, RecordingScript(temp_ / "args", temp_ / "done"), 0755);
  EXPECT_EQ(StartDetached(program_, "/home/ann/my \"docs\"/a  b.html"), std::nullopt);
  ASSERT_TRUE(WaitForFile(temp_ / "done"));
  EXPECT_EQ(ReadFile(temp_ / "args"), "1\n[/home/ann/my \"docs\"/a  b.html]\n");
  // The browser belongs to no one here: nothing is left to wait for.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(StartDetachedTest, MissingProgramIsDescribed) {
  EXPECT_EQ(StartDetached(temp_ / "absent", "doc"), "No such file or directory");
}

TEST_F(StartDetachedTest, FileThatIsNotExecutableIsDescribed) {
  WriteFile(program_, "#!/bin/sh\n", 0644);
  if (::access(program_.c_str(), X_OK) == 0) GTEST_SKIP() << "root executes every file";
  EXPECT_EQ(StartDetached(program_, "doc"), "Permission denied");
}

TEST(RunProgram, GivesOutputAndExitStatus) {
  const auto result = RunProgram({"/bin/sh", "-c", "printf 'a b\\n'; echo lost >&2; exit 3"});
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->output, "a b\n");
  EXPECT_EQ(result->exit_status, 3);
  EXPECT_EQ(RunProgram({"/nonexistent/program"}), std::nullopt);
}

}  // namespace
}  // namespace veltrane
