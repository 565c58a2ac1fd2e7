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

TEST_F(StartDetachedTest, ProgramThatCannotRunGivesTheSystemsError) {
  EXPECT_EQ(StartDetached(temp_ / "absent", "doc"),
            std::make_error_code(std::errc::no_such_file_or_directory));
  WriteFile(program_, "#!/bin/sh\n", 0644);
  EXPECT_EQ(StartDetached(program_, "doc"), std::make_error_code(std::errc::permission_denied));
  WriteFile(program_, "echo no interpreter line\n", 0755);
  EXPECT_EQ(StartDetached(program_, "doc"),
            std::make_error_code(std::errc::executable_format_error));
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
