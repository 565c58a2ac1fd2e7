// The command line: help for every command, usage errors with status 2,
// and the global flags wherever they stand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"
#include "host/cli/command.h"
#include "host/cli/paystead.h"

namespace veltrane::host::testing {

using namespace veltrane::cli;
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class CommandLine : public ProgramTest {};

TEST_F(CommandLine, EveryCommandHasHelpThatNeedsNoDatabase) {
  for (const Command& c : AllCommands()) {
    std::vector<std::string> args(c.words.begin(), c.words.end());
    std::string words;
    for (const auto& w : args) words += (words.empty() ? "" : " ") + w;
    args.push_back("--help");
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, kExitOk) << words;
    EXPECT_THAT(r.out, StartsWith("usage: paystead " + words)) << words;
    for (const OptionSpec& o : c.options)
      EXPECT_THAT(r.out, HasSubstr("--" + std::string(o.name))) << words;
  }
  EXPECT_THAT(Run({"--help"}).out, HasSubstr("hours add NAME DATE REG [OT]"));
  EXPECT_THAT(Run({"assistant", "--help"}).out, HasSubstr("assistant add NAME"));
}

struct Misuse {
  std::vector<std::string> args;
  std::string message;
};

// Names the case by its command line in test listings.
void PrintTo(const Misuse& c, std::ostream* os) {
  for (const std::string& a : c.args) *os << (&a == &c.args.front() ? "" : " ") << a;
}

class UsageErrors : public ProgramTest, public ::testing::WithParamInterface<Misuse> {};

TEST_P(UsageErrors, ExitWithStatusTwoAndSayWhy) {
  Ok({"init"});
  const ProgramResult r = Run(GetParam().args);
  EXPECT_EQ(r.exit_code, kExitUsage);
  EXPECT_THAT(r.err, StartsWith("paystead: " + GetParam().message));
}

const Misuse kMisuses[] = {
    {{}, "no command given"},
    {{"payroll"}, "unknown command 'payroll'"},
    {{"assistant"}, "'assistant' needs one of: add, set, list"},
    {{"hours", "add", "Ann", "3/1/2004"}, "missing REG"},
    {{"hours", "list", "Ann", "Bob"}, "unexpected argument 'Bob'"},
    {{"hours", "list", "--since", "3/1/2004"}, "unknown flag '--since'"},
    {{"hours", "list", "--from"}, "'--from' needs a value"},
    {{"hours", "list", "--unpaid=yes"}, "'--unpaid' takes no value"},
    {{"paycheck", "Ann", "--from", "3/1/2004"}, "give the pay period with --from and --to"},
    {{"paycheck", "Ann", "--check", "1", "--check", "2"}, "'--check' is given twice"},
    {{"employer", "set"}, "nothing to set"},
    {{"journal", "--db", "a.db", "--db", "b.db"}, "'--db' is given twice"},
};

INSTANTIATE_TEST_SUITE_P(Lines, UsageErrors, ::testing::ValuesIn(kMisuses));

TEST_F(CommandLine, GlobalFlagsMayStandAnywhereAndTakeEitherForm) {
  EXPECT_EQ(Run({"init", "--db=other.db"}).exit_code, 0);
  EXPECT_THAT(Ok({"assistant", "list", "--db", "other.db"}), HasSubstr("No assistants yet"));
  EXPECT_THAT(Ok({"--db", "other.db", "--today=2004-03-08", "journal"}),
              HasSubstr("No checks found."));
}

}  // namespace
}  // namespace veltrane::host::testing
