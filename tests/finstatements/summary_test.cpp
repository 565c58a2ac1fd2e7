// The summary and detailed statements over a month of two assistants.
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;

class SummaryTest : public StatementsTest {
 protected:
  void PayTheMonth() {
    // Ann: 400 regular + 30 overtime + a 20 tip.
    Pay({.payee = "Ann Lee", .date = "3/5/2004", .gross = "450", .regular = "400", .overtime = "30",
         .net = "356", .withholding = "FIT|12.5|0|Soc. Sec.|31|31|", .supplemental = "Tip'20''"});
    // Bo: 300 regular + a 5 tip + a 50 bonus + 10 advance EIC, which is in gross.
    Pay({.payee = "Bo Park", .date = "3/31/2004", .gross = "365", .regular = "300", .eic = "10",
         .net = "320", .withholding = "Soc. Sec.|20|20|FIT|7|0|",
         .supplemental = "tip'5''Bonus'50'FIT|0|0|'"});
    // Neither a void check nor one of another month counts.
    Pay({.payee = "Ann Lee", .date = "3/12/2004", .gross = "999", .net = "999",
         .withholding = "FIT|99|0|", .void_check = true});
    Pay({.payee = "Ann Lee", .date = "4/1/2004", .gross = "777", .net = "777",
         .withholding = "FIT|77|0|"});
  }
};

TEST_P(SummaryTest, SummaryTotalsThePeriodWithTheDatesAsReceived) {
  PayTheMonth();
  const Rows rows = Run("Summary", "All Assistants", "03/01/2004", "03/31/2004");
  EXPECT_THAT(rows, ElementsAreArray(Rows{
                        {"SUMMARY STATEMENT", " "},
                        {"03/01/2004 to 03/31/2004", " "},
                        {"", " "},
                        {"Gross Wages", "$815.00"},
                        {"     Regular", "$700.00"},
                        {"     Overtime", "$30.00"},
                        {"     Supplemental", "$75.00"},
                        {"     EIC", "$10.00"},
                        {"Net Wages", "$676.00"},
                        {"Total withholdings", "$70.50"},
                        {"Total liabilities", "$51.00"},
                    }));
  EXPECT_EQ(view.selected(), 1);
}

TEST_P(SummaryTest, DetailedBreaksDownByKindAndTaxInAlphabeticalOrder) {
  PayTheMonth();
  const Rows rows = Run("Detailed", "", "03/01/2004", "3/31/04");
  EXPECT_THAT(rows, ElementsAreArray(Rows{
                        {"DETAILED STATEMENT", " "},
                        {"3/1/2004 to 3/31/2004", " "},
                        {"", " "},
                        {"Gross Wages", "$815.00"},
                        {"     Regular", "$700.00"},
                        {"     Overtime", "$30.00"},
                        {"     Supplemental", "$75.00"},
                        {"          Bonus", "$50.00"},
                        {"          Tip", "$25.00"},  // "Tip" and "tip" under the form met first
                        {"     EIC", "$10.00"},
                        {"", " "},
                        {"Net Wages", "$676.00"},
                        {"", " "},
                        {"Total withholdings", "$70.50"},
                        {"     FIT", "$19.50"},
                        {"     Soc. Sec.", "$51.00"},
                        {"", " "},
                        {"Total liabilities", "$51.00"},
                        {"     FIT", "$0.00"},
                        {"     Soc. Sec.", "$51.00"},
                    }));
  EXPECT_EQ(view.selected(), 1);
}

TEST_P(SummaryTest, OneAttendantsStatementHasOnlyTheirChecks) {
  PayTheMonth();
  const Rows rows = Run("Detailed", "ann lee", "3/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "Gross Wages"), "$450.00");
  EXPECT_EQ(AmountOf(rows, "          Tip"), "$20.00");
  EXPECT_EQ(AmountOf(rows, "          Bonus"), "<no row '          Bonus'>");
  EXPECT_EQ(AmountOf(rows, "     Soc. Sec."), "$31.00");
}

TEST_P(SummaryTest, ATaxOfSomeChecksOnlyIsListedOnceUnderBothTotals) {
  Pay({.gross = "100", .withholding = "FIT|1|0|"});
  Pay({.gross = "100", .withholding = "FIT|2|0|SDI|1.25|0.5|"});
  const Rows rows = Run("Detailed", "", "3/1/2004", "3/31/2004");
  const Rows tail(rows.end() - 7, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{{"Total withholdings", "$4.25"},
                                          {"     FIT", "$3.00"},
                                          {"     SDI", "$1.25"},
                                          {"", " "},
                                          {"Total liabilities", "$0.50"},
                                          {"     FIT", "$0.00"},
                                          {"     SDI", "$0.50"}}));
}

TEST_P(SummaryTest, AnEmptyPeriodShowsZeroAmounts) {
  PayTheMonth();
  const Rows rows = Run("Summary", "", "1/1/2003", "1/31/2003");
  ASSERT_EQ(rows.size(), 11u);
  for (std::size_t i = 3; i < rows.size(); ++i) EXPECT_EQ(rows[i].amount, "$0.00") << i;
  const Rows detailed = Run("Detailed", "", "1/1/2003", "1/31/2003");
  EXPECT_EQ(detailed.size(), 14u);
}

TEST_P(SummaryTest, EveryDateWhenThePeriodIsEmptyAndUnreadableAmountsAddNothing) {
  PayTheMonth();
  Pay({.date = "6/1/2004", .gross = "-5", .withholding = "FIT||0|FIT|x|1|",
       .supplemental = "Tip''"});
  const Rows rows = Run("Summary", "", "", "");
  EXPECT_EQ(rows[1].description, " to ");
  EXPECT_EQ(AmountOf(rows, "Gross Wages"), "$1,587.00");  // 815 + 777 - 5
  EXPECT_EQ(AmountOf(rows, "Total withholdings"), "$147.50");
  EXPECT_EQ(AmountOf(rows, "Total liabilities"), "$52.00");
  Pay({.date = "6/2/2004", .gross = "-1000"});
  EXPECT_EQ(AmountOf(Run("Summary", "", "6/1/2004", "6/30/2004"), "Gross Wages"), "($1,005.00)");
}

VELTRANE_ON_BOTH_BACKENDS(SummaryTest);

}  // namespace
}  // namespace veltrane::testing
