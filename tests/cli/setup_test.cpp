// Malformed input: every command refuses it with exit status 1 and a
// one-line message saying what to fix, and the database file is unchanged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

struct BadInput {
  std::vector<std::string> args;
  std::string message;
};

// Names the case by its command line in test listings, bytes outside
// printable ASCII as \xNN so that no listing carries a terminal escape.
void PrintTo(const BadInput& c, std::ostream* os) {
  for (const std::string& a : c.args) {
    *os << (&a == &c.args.front() ? "" : " ");
    for (const char ch : a) {
      const auto b = static_cast<unsigned char>(ch);
      if (b >= 0x20 && b < 0x7F) {
        *os << ch;
      } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        *os << hex;
      }
    }
  }
}

class MalformedInput : public ProgramTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(MalformedInput, IsRefusedAndChangesNothing) {
  MakeHousehold();
  Ok({"hours", "add", "Ann Lee", "3/1/2004", "8"});
  Ok({"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004", "--pay"});
  const std::string before = ReadFile(DbPath());

  const ProgramResult r = Run(GetParam().args);
  EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
  EXPECT_THAT(r.err, StartsWith("paystead: "));
  EXPECT_THAT(r.err, HasSubstr(GetParam().message));
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
  EXPECT_TRUE(ReadFile(DbPath()) == before) << "the database changed";
}

const BadInput kBadInputs[] = {
    // Assistants.
    {{"assistant", "add", "Bo", "--rate", "-5"}, "--rate: '-5' is negative"},
    {{"assistant", "add", "Bo", "--rate", "$10"}, "--rate: '$10' is not an amount"},
    {{"assistant", "add", "Bo", "--rate", "10", "--ot-rate", "fifteen"},
     "--ot-rate: 'fifteen' is not an amount"},
    {{"assistant", "add", "Bo"}, "give the hourly pay with --rate"},
    {{"assistant", "add", "ann lee", "--rate", "9"},
     "there already is an assistant named 'Ann Lee'"},
    {{"assistant", "add", "All Assistants", "--rate", "9"}, "stands for every assistant"},
    {{"assistant", "add", " ", "--rate", "9"}, "the assistant's name is empty"},
    {{"assistant", "add", "Bo", "--rate", "9", "--fit", "Single"}, "lacks the allowances"},
    {{"assistant", "add", "Bo", "--rate", "9", "--fit", "Widowed:1"}, "is not a filing status"},
    {{"assistant", "add", "Bo", "--rate", "9", "--fit", "Single:-1"},
     "is not a whole number from 0 to 99"},
    {{"assistant", "add", "Bo", "--rate", "9", "--eic", "3"},
     "--eic: '3' is not a whole number from 0 to 2"},
    {{"assistant", "add", "Bo", "--rate", "9", "--other", "FIT:Single:1"}, "has its own flag"},
    {{"assistant", "add", "Bo", "--rate", "9", "--other", "Dues", "--other", "dues"},
     "is elected twice"},
    {{"assistant", "add", "Bo", "--rate", "9", "--withholdings", "FIT|Single|1"},
     "is not a whole election list"},
    {{"assistant", "add", "Bo", "--rate", "9", "--withholdings", "FIT|Single|x|"},
     "FIT allowances"},
    {{"assistant", "add", "Bo", "--rate", "-999999999999999"},
     "--rate: '-999999999999999' is too large for an amount"},
    {{"assistant", "add", "Bo", "--rate", "922337203685477.5808"}, "is too large for an amount"},
    {{"assistant", "add", "Bo", "--rate", "+-5"}, "--rate: '+-5' is not an amount"},
    {{"assistant", "add", "Bo\x1b[2J", "--rate", "9"},
     "NAME: 'Bo\\x1B[2J' holds a control character; give it as plain text"},
    {{"assistant", "add", "Bo\tLee", "--rate", "9"},
     "NAME: 'Bo\\x09Lee' holds a control character"},
    {{"assistant", "add", "Bo\x7f", "--rate", "9"}, "holds a control character"},
    {{"assistant", "add",
      "Bo\xc2\x9b"
      "2J",
      "--rate", "9"},
     "NAME: 'Bo\\xC2\\x9B2J' holds a control character"},
    {{"assistant", "add", "Bo\xff", "--rate", "9"},
     "NAME: 'Bo\\xFF' is not valid UTF-8 text; give it as plain text"},
    {{"assistant", "add", "Bo\xc0\xaf", "--rate", "9"}, "is not valid UTF-8 text"},  // overlong "/"
    {{"assistant", "add", "Bo\xed\xa0\x80", "--rate", "9"},
     "is not valid UTF-8 text"},  // a surrogate
    {{"assistant", "add", "Bo\nLee", "--rate", "9"},
     "NAME: 'Bo\\x0ALee' holds a line break; give the name on one line"},
    {{"assistant", "add", "Bo", "--rate", "9", "--fit", "Single:99999999999999999999"},
     "is not a whole number from 0 to 99"},
    {{"assistant", "set", "Bo", "--rate", "9"}, "there is no assistant named 'Bo'"},
    {{"assistant", "set", "Ann Lee", "--rate", "-1"}, "is negative"},
    // Hours.
    {{"hours", "add", "Bo", "3/1/2004", "8"}, "there is no assistant named 'Bo'"},
    {{"hours", "add", "Ann Lee", "2/30/2004", "8"}, "DATE: '2/30/2004' is not a date"},
    {{"hours", "add", "Ann Lee", "3/1/1999", "8"}, "outside the years 2000 to 2099"},
    {{"hours", "add", "Ann Lee", "3/1/2004 garbage", "8"},
     "DATE: '3/1/2004 garbage' is not a date"},
    {{"hours", "add", "Ann Lee", "3/1/2004T99", "8"}, "DATE: '3/1/2004T99' is not a date"},
    {{"hours", "add", "Ann Lee", "2004-03-01T25:00", "8"}, "is not a date"},
    {{"hours", "add", "Ann Lee", "3/1/2004", "+-5"}, "REG: '+-5' is not a number of hours"},
    {{"hours", "add", "Ann Lee", "3/1/2004", "-1"},
     "REG: '-1' is not a number of hours from 0 to 24"},
    {{"hours", "add", "Ann Lee", "3/1/2004", "8", "many"}, "OT: 'many' is not a number of hours"},
    {{"hours", "add", "Ann Lee", "3/1/2004", "20", "6"}, "more than the 24 hours of a day"},
    {{"hours", "list", "--from", "3/7/2004", "--to", "3/1/2004"}, "--from is after --to"},
    {{"hours", "set", "Ann Lee", "3/1/2004", "4"},
     "the hours of Ann Lee on 3/1/2004 are paid by check ID 1, for 3/1/2004 to 3/7/2004; void "
     "that check first ('paystead void 1') to change them"},
    {{"hours", "delete", "Ann Lee", "3/9/2004"}, "no unpaid hours are recorded for Ann Lee"},
    // The numbers and codes of the W-2 and W-3.
    {{"assistant", "add", "Bo", "--rate", "9", "--ssn", "900-12-3456"},
     "--ssn: '900-12-3456' is not a Social Security number"},
    {{"assistant", "set", "Ann Lee", "--state", "XX"},
     "--state: 'XX' is not a state's postal code"},
    {{"employer", "set", "--employer-id", "123"},
     "--employer-id: '123' is not an employer identification number"},
    {{"employer", "set", "--zip", "abc"}, "--zip: 'abc' is not a ZIP code"},
    // Settings.
    {{"settings", "set", "--period", "Fortnightly"},
     "is not a pay period; use one of Weekly, Biweekly"},
    {{"settings", "set", "--sit-rate", "-1"}, "--sit-rate: '-1' is not a percentage from 0 to 100"},
    {{"settings", "set", "--sit-rate", "3,5"}, "--sit-rate: '3,5' is not a percentage"},
    {{"settings", "set", "--sdi-base", "lots"}, "--sdi-base: 'lots' is not an amount"},
    {{"settings", "set", "--sdi-base", "1e15"}, "--sdi-base: '1e15' is too large for an amount"},
    {{"settings", "set", "--sit-rate", "+-5"}, "--sit-rate: '+-5' is not a percentage"},
    {{"employer", "set", "--title", "Ms.\x1b[5m"},
     "--title: 'Ms.\\x1B[5m' holds a control character"},
    {{"settings", "set", "--eic-reduce", "maybe"}, "is neither yes nor no"},
    {{"settings", "set", "--other-withholdings", "Dues|5|"}, "is not a whole definition list"},
    {{"settings", "set", "--other-withholdings", "SIT|5||||||||"}, "'SIT' is a built-in tax"},
    {{"settings", "set", "--other-withholdings", "Dues||100|x||||||"}, "(Dues, field 4)"},
    {{"settings", "set", "--period", "Monthly", "--sui-employer-rate", "200"},
     "not a percentage from 0 to 100"},
    // Paychecks.
    {{"paycheck", "Bo", "--from", "3/8/2004", "--to", "3/14/2004"},
     "there is no assistant named 'Bo'"},
    {{"paycheck", "Ann Lee", "--from", "3/14/2004", "--to", "3/8/2004", "--pay"},
     "--from is after --to"},
    {{"paycheck", "Ann Lee", "--from", "03-08-2004", "--to", "3/14/2004", "--pay"},
     "--from: '03-08-2004' is not a date"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--supp", "Bonus", "--pay"},
     "lacks the amount"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--supp", "Tip's:5",
      "--pay"},
     "apostrophe"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--supp", "Bonus:-5",
      "--pay"},
     "is negative"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--supp",
      "Bonus:-999999999999999", "--pay"},
     "--supp: '-999999999999999' is too large for an amount"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--supp",
      "Bo\x1b]0;x\x07nus:5", "--pay"},
     "--supp: 'Bo\\x1B]0;x\\x07nus' holds a control character"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004 garbage", "--to", "3/14/2004", "--pay"},
     "--from: '3/8/2004 garbage' is not a date"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--check", "12a", "--pay"},
     "--check: '12a'"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--hours", "40,x", "--pay"},
     "--hours (overtime)"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/8/2004", "--hours", "30", "--pay"},
     "from 0 to 24"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--pay"},
     "there is nothing to pay Ann Lee"},
    {{"paycheck", "Ann Lee", "--from", "3/1/2004", "--to", "3/7/2004", "--pay"},
     "Ann Lee is already paid for days of 3/1/2004 to 3/7/2004: check ID 1"},
    {{"paycheck", "Ann Lee", "--from", "3/7/2004", "--to", "3/7/2004", "--hours", "8", "--pay"},
     "Ann Lee is already paid for days of 3/7/2004 to 3/7/2004: check ID 1"},
    {{"paycheck", "Ann Lee", "--from", "3/8/2004", "--to", "3/14/2004", "--hours", "8", "--check",
      "1", "--pay"},
     "--check: check number 1 is already used by check ID 1"},
    {{"--today", "13/1/2004", "journal"}, "--today: '13/1/2004' is not a date"},
    // The payment journal.
    {{"check", "99"}, "there is no check with ID 99"},
    {{"check", "0"}, "ID: '0' is not a whole number"},
    {{"void", "99"}, "there is no check with ID 99"},
    {{"journal", "Bo"}, "there is no assistant named 'Bo'"},
    // The database itself.
    {{"init"}, "'paystead.db' already exists; add --force"},
    {{"--db", "missing.db", "journal"}, "there is no database 'missing.db'"},
};

INSTANTIATE_TEST_SUITE_P(Commands, MalformedInput, ::testing::ValuesIn(kBadInputs));

class Setup : public ProgramTest {};

// Names that look like query text are only names: the assistant is paid
// for exactly the hours recorded, with the true year-to-date totals.
TEST_F(Setup, NamesHoldingQueryTextArePaidLikeAnyOther) {
  MakeHousehold();
  for (const std::string& name : {std::string("Sum(PaidFor) As [RegTot]"),
                                  std::string("Sum(PaidFor) As [GrossYTD] #1/1/04# True"),
                                  "sum" + std::string(26000, ' ') + "(PaidFor)"}) {
    Ok({"assistant", "add", name, "--rate", "10", "--ss"});
    Ok({"hours", "add", name, "3/1/2004", "8"});
    const std::string out = Ok({"paycheck", name, "--from", "3/1/2004", "--to", "3/7/2004",
                                "--today", "3/8/2004", "--pay"});
    EXPECT_THAT(out, HasSubstr("Hours: 8 regular, 0 overtime")) << name.substr(0, 40);
    EXPECT_THAT(out, HasRow({"Gross pay", "$80.00", "$80.00"})) << name.substr(0, 40);
  }
}

TEST_F(Setup, RawElectionListIsCheckedAndSpelledCanonically) {
  MakeHousehold();
  EXPECT_THAT(Ok({"assistant", "add", "Bo", "--rate", "9", "--withholdings",
                  "fit|single|2|soc. sec.|||EIC||2|"}),
              HasSubstr("withholdings FIT Single 2, Soc. Sec., EIC 2"));
  const ProgramResult mixed =
      Run({"assistant", "set", "Bo", "--ss", "--withholdings", "FIT|Single|1|"});
  EXPECT_EQ(mixed.exit_code, 2);
}

TEST_F(Setup, InitForceReplacesTheDatabaseAndKeepsTheOldFile) {
  MakeHousehold();
  const std::string before = ReadFile(DbPath());
  const std::string out = Ok({"init", "--force"});
  EXPECT_THAT(out, HasSubstr("Created the payroll database"));
  EXPECT_THAT(Ok({"assistant", "list"}), HasSubstr("No assistants yet"));

  const std::string prefix = "Kept the old file as '";
  const std::size_t at = out.find(prefix);
  ASSERT_NE(at, std::string::npos) << out;
  const std::string kept =
      out.substr(at + prefix.size(), out.find('\'', at + prefix.size()) - at - prefix.size());
  EXPECT_THAT(kept, ::testing::MatchesRegex("paystead\\.db\\.replaced-[0-9]{8}-[0-9]{6}"));
  EXPECT_TRUE(ReadFile(Path(kept)) == before) << "the old file is not kept as it was";
  EXPECT_THAT(Ok({"--db", kept, "assistant", "list"}), HasSubstr("Ann Lee"));

  // A second replacement, even within the same second, keeps its own name.
  const std::string again = Ok({"init", "--force"});
  EXPECT_THAT(again, Not(HasSubstr(prefix + kept + "'")));
  EXPECT_THAT(again, HasSubstr(prefix));
}

TEST_F(Setup, AFileThatIsNotAPayrollDatabaseIsNamed) {
  std::FILE* f = std::fopen(Path("notes.db").c_str(), "w");
  std::fputs("shopping list\n", f);
  std::fclose(f);
  const ProgramResult r = Run({"--db", "notes.db", "assistant", "list"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_THAT(r.err, HasSubstr("'notes.db' is not a paystead database"));
  EXPECT_EQ(ReadFile(Path("notes.db")), "shopping list\n");
}

}  // namespace
}  // namespace veltrane::host::testing
