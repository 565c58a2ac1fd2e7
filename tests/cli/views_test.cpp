// The terminal views: the paycheck as the control shows it, and the
// journal listing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "common/amount_text.h"
#include "host/cli/listing_views.h"
#include "host/cli/paycheck_view.h"
#include "host/cli/text_table.h"

namespace veltrane::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Render(const PaycheckShown& c) {
  std::ostringstream out;
  RenderPaycheck(out, c);
  return out.str();
}

class PaycheckViewTest : public ::testing::Test {
 protected:
  PaycheckViewTest() {
    check.employer_info = "Dana Whitfield\r\n12 Larch Lane\r\nEmployer ID: Pending";
    check.employee_info =
        "Rosa Delgado\r\n48 Elm Street\r\nApt. 2\r\nSpringfield, IL 62702\r\n123-45-6789";
    check.check_date = "3/8/2004";
    check.payee = "Rosa Delgado";
    check.period_start = "3/1/2004";
    check.period_end = "3/7/2004";
    check.gross_pay = ParseAmount("313.56");
    check.gross_ytd = ParseAmount("4153.61");
    check.net_pay = ParseAmount("280.28");
    check.net_ytd = ParseAmount("3704.81");
  }
  PaycheckShown check;
};

TEST_F(PaycheckViewTest, BlocksStandSideBySideLineByLine) {
  const std::string out = Render(check);
  EXPECT_THAT(out, HasSubstr("Employer                Employee\n"
                             "Dana Whitfield          Rosa Delgado\n"
                             "12 Larch Lane           48 Elm Street\n"
                             "Employer ID: Pending    Apt. 2\n"
                             "                        Springfield, IL 62702\n"
                             "                        123-45-6789\n"));
  EXPECT_THAT(out, Not(HasSubstr("\r")));
}

TEST_F(PaycheckViewTest, RowsWithoutHoursShowNoHoursOrRateAndAmountsShowCents) {
  check.earnings = "Regular|7.5|8.33|62.475|62.475|EIC|0|0|28.56|363.11|";
  check.deductions = "FIT|11.4801|158.8349|";
  const std::string out = Render(check);
  EXPECT_THAT(out, HasSubstr("            Hours   Rate  Current  Year to date\n"
                             "Earnings\n"
                             "  Regular     7.5  $8.33   $62.48        $62.48\n"
                             "  EIC                      $28.56       $363.11\n"
                             "Deductions\n"
                             "  FIT                      $11.48       $158.83\n"
                             "Gross pay                 $313.56     $4,153.61\n"
                             "Net pay                   $280.28     $3,704.81\n"));
}

TEST_F(PaycheckViewTest, AnAmountThatIsNotOneIsShownAsItStands) {
  check.deductions = "Dues|n/a|5|";
  EXPECT_THAT(Render(check), HasSubstr("  Dues                       n/a         $5.00\n"));
}

TEST_F(PaycheckViewTest, StatusMarksAndMissingPartsAreShown) {
  check.employer_info.clear();
  check.is_void = true;
  check.paid = true;
  check.check_number = "1025";
  const std::string out = Render(check);
  EXPECT_THAT(out, HasSubstr("PAYCHECK No. 1025   VOID"));
  EXPECT_THAT(out, HasSubstr("(none on file)"));
  EXPECT_THAT(out, HasSubstr("Deductions\n  (none)\n"));
  EXPECT_THAT(out, Not(HasSubstr("Hours:")));  // a stored check does not set them
}

// The payment is committed before the check is shown: a check that cannot
// be drawn (hours no display can write) must not turn the paid check into
// a reported failure, nor leave half a check on the terminal.
TEST_F(PaycheckViewTest, APaidCheckThatCannotBeShownIsStillReportedPaid) {
  household::PaycheckOutcome outcome;
  outcome.shown = check;
  outcome.shown.overtime_hours = std::numeric_limits<float>::infinity();
  outcome.paid = true;
  outcome.check_id = 7;
  outcome.hours_marked = 1;
  std::ostringstream out, err;
  ASSERT_NO_THROW(ReportPayment(out, err, outcome));
  EXPECT_EQ(out.str(),
            "Paid: check ID 7 is in the payment journal; 1 work-journal entry marked paid.\n");
  EXPECT_THAT(err.str(), HasSubstr("check ID 7 is paid and stored, but it cannot be shown"));
  EXPECT_THAT(err.str(), HasSubstr("see it with 'paystead check 7'"));

  outcome.shown.overtime_hours = 2;
  std::ostringstream shown, quiet;
  ReportPayment(shown, quiet, outcome);
  EXPECT_EQ(shown.str(), Render(outcome.shown) +
                             "Paid: check ID 7 is in the payment journal; 1 "
                             "work-journal entry marked paid.\n");
  EXPECT_EQ(quiet.str(), "");
}

TEST(JournalView, VoidChecksAreMarkedAndLeftOutOfTheTotal) {
  std::vector<JournalEntry> entries = {
      {1, MakeDate(2004, 3, 8), "Ann", "101", MakeDate(2004, 3, 1), MakeDate(2004, 3, 7),
       ParseAmount("400"), ParseAmount("350.5"), false},
      {2, MakeDate(2004, 3, 15), "Ann", "", MakeDate(2004, 3, 8), MakeDate(2004, 3, 14),
       ParseAmount("1200"), ParseAmount("1000"), true},
  };
  std::ostringstream out;
  RenderJournal(out, entries);
  EXPECT_EQ(out.str(),
            "ID  Date       Payee  Check  Period                    Gross        Net\n"
            " 1  3/8/2004   Ann    101    3/1/2004 - 3/7/2004     $400.00    $350.50\n"
            " 2  3/15/2004  Ann           3/8/2004 - 3/14/2004  $1,200.00  $1,000.00  VOID\n"
            "Total of 1 check not void: gross $400.00, net $350.50\n");
}

TEST(TextTableView, AlignsColumnsAndDropsTrailingBlanks) {
  TextTable table({{"Name"}, {"Amount", TextTable::Align::kRight}, {"Note"}});
  table.AddRow({"A", "1", ""});
  table.AddRow({"Longer", "1,000"});
  std::ostringstream out;
  table.Render(out, "  ");
  EXPECT_EQ(out.str(),
            "  Name    Amount  Note\n"
            "  A            1\n"
            "  Longer   1,000\n");
}

}  // namespace
}  // namespace veltrane::cli
