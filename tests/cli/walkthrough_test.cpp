// The household employer's walk-through of the README, command by command,
// and the demo that 'make demo' runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class Walkthrough : public ProgramTest {};

TEST_F(Walkthrough, FromAnEmptyFolderToAPaidCheck) {
  EXPECT_THAT(Ok({"init"}), HasSubstr("Created the payroll database 'paystead.db'"));
  EXPECT_TRUE(std::filesystem::exists(DbPath()));

  EXPECT_THAT(Ok({"employer", "set", "--first", "Dana", "--last", "Whitfield", "--address1",
                  "12 Larch Lane", "--city", "Springfield", "--state", "IL", "--zip", "62704",
                  "--employer-id", "36-4417520"}),
              HasSubstr("Springfield, IL 62704"));
  EXPECT_THAT(Ok({"settings", "set", "--period", "Weekly"}), HasSubstr("Weekly"));
  EXPECT_THAT(
      Ok({"assistant", "add",        "Rosa Delgado",  "--first", "Rosa",        "--last",
          "Delgado",   "--address1", "48 Elm Street", "--city",  "Springfield", "--state",
          "IL",        "--zip",      "62702",         "--ssn",   "123-45-6789", "--rate",
          "10",        "--fit",      "Single:1",      "--ss",    "--medicare",  "--futa"}),
      HasSubstr(
          "$10.00 an hour, $15.00 overtime; withholdings FIT Single 1, Soc. Sec., Medicare, FUTA"));
  for (const char* day : {"3/1/2004", "3/2/2004", "3/3/2004", "3/4/2004"})
    Ok({"hours", "add", "Rosa Delgado", day, "8"});
  EXPECT_THAT(Ok({"hours", "add", "Rosa Delgado", "3/5/2004", "8", "2"}),
              HasSubstr("Added 8 regular and 2 overtime hours for Rosa Delgado on 3/5/2004."));
  EXPECT_THAT(Ok({"hours", "list"}),
              HasSubstr("Total: 5 entries, 40 regular and 2 overtime hours"));

  // Shown first, not paid: nothing is stored.
  const std::string shown = Ok({"paycheck", "Rosa Delgado", "--from", "3/1/2004", "--to",
                                "3/7/2004", "--check", "101", "--today", "3/8/2004"});
  EXPECT_THAT(shown, HasSubstr("PAYCHECK No. 101   NOT PAID"));
  EXPECT_THAT(shown, HasSubstr("Date 3/8/2004"));
  EXPECT_THAT(shown, HasSubstr("Hours: 40 regular, 2 overtime"));
  // Weekly, single, one allowance: 15% bracket on $430 less $59.62.
  EXPECT_THAT(shown, HasRow({"FIT", "$41.11", "$41.11"}));
  EXPECT_THAT(shown, HasRow({"Overtime", "2", "$15.00", "$30.00", "$30.00"}));
  EXPECT_THAT(shown, HasRow({"Gross pay", "$430.00", "$430.00"}));
  EXPECT_THAT(shown, HasRow({"Net pay", "$356.00", "$356.00"}));
  EXPECT_THAT(shown, Not(HasSubstr("FUTA")));  // an employer tax, not a deduction
  EXPECT_THAT(Ok({"journal"}), HasSubstr("No checks found."));

  const std::string paid = Ok({"paycheck", "Rosa Delgado", "--from", "3/1/2004", "--to", "3/7/2004",
                               "--check", "101", "--today", "3/8/2004", "--pay"});
  EXPECT_THAT(paid, HasSubstr("PAYCHECK No. 101   PAID"));
  EXPECT_THAT(
      paid,
      HasSubstr("Paid: check ID 1 is in the payment journal; 5 work-journal entries marked paid."));

  const std::string journal = Ok({"journal"});
  EXPECT_THAT(journal, HasRow({"1", "3/8/2004", "Rosa Delgado", "101", "3/1/2004 - 3/7/2004",
                               "$430.00", "$356.00"}));
  EXPECT_THAT(journal, HasSubstr("Total of 1 check not void: gross $430.00, net $356.00"));
  EXPECT_THAT(Ok({"hours", "list", "--unpaid"}), HasSubstr("No hours found."));

  const std::string check = Ok({"check", "1"});
  EXPECT_THAT(check, HasSubstr("Employer ID: 36-4417520    XXX-XX-6789"));
  EXPECT_THAT(check, HasRow({"Net pay", "$356.00", "$356.00"}));
}

class Demo : public ProgramTest {};

TEST_F(Demo, PaysTheQuarterAndLeavesNoTemporaryFile) {
  const ProgramResult r = Run({"demo"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // The last week's check of each attendant, dated as of its own day.
  EXPECT_THAT(r.out, HasSubstr("Pay to Rosa Delgado   for 3/25/2004 to 3/31/2004"));
  EXPECT_THAT(r.out, HasSubstr("Pay to Sean O'Connor   for 3/25/2004 to 3/31/2004"));
  EXPECT_THAT(r.out, HasSubstr("Date 3/31/2004"));
  EXPECT_THAT(r.out, HasSubstr("  EIC "));
  EXPECT_THAT(r.out, HasSubstr("  Union dues "));
  EXPECT_THAT(r.out, HasSubstr("  SIT "));
  EXPECT_THAT(r.out, HasSubstr("Rosa Delgado: 13 checks, 390 regular and 6 overtime hours;"));
  EXPECT_THAT(r.out, HasSubstr("Sean O'Connor: 13 checks, 312 regular and 39 overtime hours;"));
  EXPECT_THAT(r.out, HasSubstr("SUMMARY STATEMENT\n1/1/2004 to 3/31/2004\n"));
  EXPECT_THAT(r.out, HasSubstr("SOCIAL SECURITY STATEMENT\n"));
  // The year-end package stays where the last line says.
  const std::string opener = "; open '";
  const auto at = r.out.rfind(opener);
  ASSERT_NE(at, std::string::npos);
  const std::string index =
      r.out.substr(at + opener.size(), r.out.find('\'', at + opener.size()) - at - opener.size());
  EXPECT_TRUE(std::filesystem::exists(index)) << index;
  // TMPDIR is the test's folder: the demo database is gone from it.
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    EXPECT_THAT(entry.path().filename().string(), Not(HasSubstr("paystead-demo"))) << entry.path();
  }
}

TEST_F(Demo, KeepsANamedDatabaseAndRefusesAnExistingOne) {
  ASSERT_EQ(Run({"demo", "--db", "household.db"}).exit_code, 0);
  const std::string journal = Ok({"--db", "household.db", "journal", "Sean O'Connor"});
  EXPECT_THAT(journal, HasSubstr("Total of 13 checks not void"));

  const ProgramResult again = Run({"demo", "--db", "household.db"});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_THAT(again.err, HasSubstr("'household.db' already exists; the demo needs a new file"));
}

}  // namespace
}  // namespace veltrane::host::testing
