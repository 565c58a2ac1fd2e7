// A household on a database server: every command through --db with a
// connection URI, and whole households copied between a file and a server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/program_runner.h"
#include "support/test_databases.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class ServerProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    uri_ = veltrane::testing::NewServerSchema();
    if (uri_.empty()) GTEST_SKIP();
  }

  // Every entry of the statement list that is a statement, with its tsv
  // output for the demo's quarter from the database at `location`; a
  // heading's refusal too, so that both lists are compared whole.
  std::string EveryStatement(const std::string& location) const {
    std::ostringstream all;
    std::istringstream list(Ok({"--db", location, "statements"}));
    for (std::string entry; std::getline(list, entry);) {
      const ProgramResult r = Run({"--db", location, "statement", entry, "--from", "1/1/2004",
                                   "--to", "3/31/2004", "--format", "tsv"});
      all << "== " << entry << " (" << r.exit_code << ")\n" << r.out;
    }
    return all.str();
  }

  std::string uri_;
};

// The demo's quarter copied to a server and back: every statement the same
// to the byte on each, and commands that write run on the server as on the
// file.
TEST_F(ServerProgramTest, AHouseholdCopiedToAServerAndBackKeepsEveryStatement) {
  const std::string file = Path("demo.db");
  Ok({"--db", file, "--today", "3/31/2004", "demo"});
  const std::string on_file = EveryStatement(file);
  ASSERT_THAT(on_file, HasSubstr("== Form 941 (0)"));
  ASSERT_THAT(on_file, HasSubstr("== Summary (0)\nSUMMARY STATEMENT\t \n1/1/2004 to 3/31/2004\t \n\t \nGross Wages\t$8,599.61\n"));

  // A password in the URI is used, never shown.
  const std::string with_password = uri_ + "&password=s3cret";
  EXPECT_THAT(Ok({"copy", file, with_password}), HasSubstr("' to 'postgresql://"));
  EXPECT_EQ(EveryStatement(uri_), on_file);

  const std::string back = Path("back.db");
  Ok({"copy", uri_, back});
  EXPECT_EQ(EveryStatement(back), on_file);

  // The same check paid on the file and on the server.
  for (const std::string& location : {file, uri_}) {
    Ok({"--db", location, "--today", "4/7/2004", "paycheck", "Rosa Delgado", "--from", "4/1/2004",
        "--to", "4/7/2004", "--hours", "40,2", "--pay"});
  }
  EXPECT_EQ(Ok({"--db", uri_, "journal"}), Ok({"--db", file, "journal"}));
  EXPECT_EQ(Ok({"--db", uri_, "check", "27"}), Ok({"--db", file, "check", "27"}));

  // Neither a server nor a file holding payroll is overwritten.
  for (const std::string& to : {with_password, back}) {
    const ProgramResult r = Run({"copy", file, to});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_THAT(r.err, HasSubstr("holds payroll already; nothing was copied"));
    EXPECT_THAT(r.err, Not(HasSubstr("s3cret")));
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
  }
  EXPECT_EQ(EveryStatement(back), on_file);
}

TEST_F(ServerProgramTest, ADatabaseIsMadeOnceAndNamedWhenItCannotBeUsed) {
  const ProgramResult empty = Run({"--db", uri_, "journal"});
  EXPECT_EQ(empty.exit_code, 1);
  EXPECT_THAT(empty.err, HasSubstr("holds no paystead database"));
  EXPECT_THAT(empty.err, HasSubstr("paystead init"));

  EXPECT_THAT(Ok({"--db", uri_, "init"}), HasSubstr("Created the payroll database 'postgresql://"));
  const ProgramResult again = Run({"--db", uri_, "init", "--force"});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_THAT(again.err, HasSubstr("a database on a server is never replaced"));

  Ok({"--db", uri_, "employer", "set", "--first", "Dana", "--last", "Whitfield"});
  EXPECT_THAT(Ok({"--db", uri_, "employer", "show"}), HasSubstr("Whitfield"));

  // A server that is not there: said once, without the password.
  const ProgramResult gone =
      Run({"--db", "postgresql://someone:hunter2@/payroll?host=" + Path("no-server"), "journal"});
  EXPECT_EQ(gone.exit_code, 1);
  EXPECT_THAT(gone.err, HasSubstr("cannot connect to the database server of 'postgresql://someone@"));
  EXPECT_THAT(gone.err, Not(HasSubstr("hunter2")));
  EXPECT_EQ(LineCount(gone.err), 1) << gone.err;

  // A copy from nothing leaves no file behind.
  const ProgramResult nothing = Run({"copy", Path("missing.db"), Path("new.db")});
  EXPECT_EQ(nothing.exit_code, 1);
  EXPECT_FALSE(std::ifstream(Path("new.db")).good());
}

}  // namespace
}  // namespace veltrane::host::testing
