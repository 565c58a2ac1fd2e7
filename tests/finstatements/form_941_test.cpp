// The Form 941 worksheet over a real journal, with the 2004 rates (Social
// Security 0.124 on wages up to $87,900 a year, Medicare 0.029).
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;

const std::string kAllTaxes = "FIT|0|0|Soc. Sec.|0|0|Medicare|0|0|FUTA|0|0|";
const std::string kFica = "Soc. Sec.|0|0|Medicare|0|0|";
const std::string kSocSec = "Soc. Sec.|0|0|";

class Form941Test : public StatementsTest {
 protected:
  Rows Form941(const std::string& attendant, const std::string& start, const std::string& end) {
    return Run("Form 941", attendant, start, end);
  }
  // The rows after "17.  Monthly summary.".
  static Rows Summary(const Rows& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].description == "17.  Monthly summary.") return Rows(rows.begin() + i + 1, rows.end());
    }
    return {};
  }
};

// Lines 1 to 17 with every amount, for rows of lines 1 to 12 added by hand:
// Ann's January check of 1,000 with FIT 100; her February check written to
// "ann lee" of 520 with 20 EIC (500 taxable, FIT 40); Bo's FUTA-only check
// of 300; Cy's check that carries no federal tax; a void check.
// Employees 2 (Ann in either case, Bo); compensation 1,000 + 500 + 300 =
// 1,800; FIT 140; Social Security and Medicare wages 1,500: 186.00 and
// 43.50, line 8 229.50, line 11 369.50, EIC 20, line 13 349.50.
// January 1,000 x 0.153 + 100 = 253.00; February 500 x 0.153 + 40 - 20 =
// 96.50; March 0; total 349.50, as line 13.
TEST_P(Form941Test, QuarterLinesAndMonthlySummary) {
  Pay({.payee = "Ann Lee", .date = "1/9/2004", .gross = "1000",
       .withholding = "FIT|100|0|Soc. Sec.|62|62|Medicare|14.5|14.5|FUTA|0|6.2|"});
  Pay({.payee = "ann lee", .date = "2/6/2004", .gross = "520", .eic = "20",
       .withholding = "FIT|40|0|Soc. Sec.|31|31|Medicare|7.25|7.25|"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "300", .withholding = "FUTA|0|18.6|"});
  Pay({.payee = "Cy Dunn", .date = "3/12/2004", .gross = "200", .withholding = "SDI|2|0|"});
  Pay({.payee = "Ann Lee", .date = "3/19/2004", .gross = "5000", .withholding = kAllTaxes,
       .void_check = true});
  EXPECT_THAT(Form941("All Assistants", "1/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"FORM 941", " "},
                  {"1/1/2004 TO 3/31/2004", " "},
                  {" ", " "},
                  {"1.  Number of employees.", "2"},
                  {"2.  Total compensation.", "$1,800.00"},
                  {"3.  Total income tax withheld.", "$140.00"},
                  {"4.  Withholding adjustment for previous quarter.", "$0.00"},
                  {"5.  Adjusted total FIT withholding.", "$140.00"},
                  {"6(a).  Taxable Soc. Sec. wages.", "$1,500.00"},
                  {"6(b).  6(a) x 0.124.", "$186.00"},
                  {"6(c).  Taxable Soc. Sec. tips.", "$0.00"},
                  {"6(d).  6(c) x 0.124.", "$0.00"},
                  {"7(a).  Taxable Medicare wages and tips.", "$1,500.00"},
                  {"7(b).  7(a) x 0.029.", "$43.50"},
                  {"8.  Total Soc. Sec., medicare taxes.", "$229.50"},
                  {"9.  Adjustment of Soc. Sec. and medicare taxes.", "$0.00"},
                  {"10.  Line 8 adjusted by line 9.", "$229.50"},
                  {"11.  Total taxes (add line 5 and line 10).", "$369.50"},
                  {"12.  EIC Payments to employees.", "$20.00"},
                  {"13.  Net taxes (line 11 less line 12).", "$349.50"},
                  {"14.  Total deposits for quarter.", " "},
                  {"      Compute separately.", " "},
                  {"15.  Balance due (line 13 less line 14).", " "},
                  {"      Compute separately.", " "},
                  {"16.  Overpayment (line 14 less line 13).", " "},
                  {"      Compute separately.", " "},
                  {"17.  Monthly summary.", " "},
                  {"     January 2004", "$253.00"},
                  {"     February 2004", "$96.50"},
                  {"     March 2004", "$0.00"},
                  {"Total for period", "$349.50"},
                  {" ", " "},
                  {"Note: Line 17 monthly summary", " "},
                  {"not required with net taxes", " "},
                  {"less than $2,500.", " "},
                  {" ", " "},
                  {"Note: See Form 941", " "},
                  {"Instructions for", " "},
                  {"help.", " "},
              }));
  EXPECT_EQ(view.selected(), 1);
}

TEST_P(Form941Test, EmptyPeriodShowsZerosTheTwentyFiveHundredNoteAndTheClosingNote) {
  const Rows rows = Form941("All Assistants", "4/1/2004", "6/30/2004");
  EXPECT_EQ(AmountOf(rows, "1.  Number of employees."), "0");
  for (std::size_t i = 4; i <= 19; ++i) EXPECT_EQ(rows[i].amount, "$0.00") << rows[i].description;
  EXPECT_THAT(Summary(rows), ElementsAreArray(Rows{
                                 {"     April 2004", "$0.00"},
                                 {"     May 2004", "$0.00"},
                                 {"     June 2004", "$0.00"},
                                 {"Total for period", "$0.00"},
                                 {" ", " "},
                                 {"Note: Line 17 monthly summary", " "},
                                 {"not required with net taxes", " "},
                                 {"less than $2,500.", " "},
                                 {" ", " "},
                                 {"Note: See Form 941", " "},
                                 {"Instructions for", " "},
                                 {"help.", " "},
                             }));
}

// A check that carries only FUTA is an employee's compensation, but no
// income tax, Social Security or Medicare.
TEST_P(Form941Test, FutaOnlyCheckCountsItsPayeeAndCompensationOnly) {
  Pay({.payee = "Bo Park", .gross = "300", .withholding = "FUTA|0|18.6|"});
  const Rows rows = Form941("Bo Park", "1/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "1.  Number of employees."), "1");
  EXPECT_EQ(AmountOf(rows, "2.  Total compensation."), "$300.00");
  EXPECT_EQ(AmountOf(rows, "3.  Total income tax withheld."), "$0.00");
  EXPECT_EQ(AmountOf(rows, "6(a).  Taxable Soc. Sec. wages."), "$0.00");
  EXPECT_EQ(AmountOf(rows, "7(a).  Taxable Medicare wages and tips."), "$0.00");
  EXPECT_EQ(AmountOf(rows, "13.  Net taxes (line 11 less line 12)."), "$0.00");
}

TEST_P(Form941Test, NamesDifferingOnlyInLetterCaseAreOneEmployee) {
  Pay({.payee = "Ann Lee", .date = "1/9/2004", .gross = "100", .withholding = kFica});
  Pay({.payee = "ANN LEE", .date = "2/6/2004", .gross = "100", .withholding = kFica});
  Pay({.payee = "ann lee", .date = "3/5/2004", .gross = "100", .withholding = "FIT|5|0|"});
  EXPECT_EQ(AmountOf(Form941("", "1/1/2004", "3/31/2004"), "1.  Number of employees."), "1");
}

// A check of 600 with a 100 "Tip" and a 50 "Tips": 450 of wages in 6(a),
// 150 of tips in 6(c), all 600 in 7(a). 450 x 0.124 = 55.80, 150 x 0.124 =
// 18.60, 600 x 0.029 = 17.40; line 13 91.80.
TEST_P(Form941Test, TipsGoToLineSixCAndTheRestOfTheCheckToSixA) {
  Pay({.date = "2/6/2004", .gross = "600", .withholding = kFica,
       .supplemental = "Tip'100'Soc. Sec.|6.2|6.2|'Tips'50''"});
  const Rows rows = Form941("Ann Lee", "1/1/2004", "3/31/2004");
  EXPECT_THAT(Rows(rows.begin() + 8, rows.begin() + 15),
              ElementsAreArray(Rows{
                  {"6(a).  Taxable Soc. Sec. wages.", "$450.00"},
                  {"6(b).  6(a) x 0.124.", "$55.80"},
                  {"6(c).  Taxable Soc. Sec. tips.", "$150.00"},
                  {"6(d).  6(c) x 0.124.", "$18.60"},
                  {"7(a).  Taxable Medicare wages and tips.", "$600.00"},
                  {"7(b).  7(a) x 0.029.", "$17.40"},
                  {"8.  Total Soc. Sec., medicare taxes.", "$91.80"},
              }));
  EXPECT_EQ(AmountOf(rows, "     February 2004"), "$91.80");
}

// Ann had 87,000 of Social Security wages in January, before the period.
// Her March check of 1,000 carries a 300 tip: its 700 of wages fit under
// the base (87,700), then 200 of the tip (87,900); the other 100 is over
// the base. Medicare takes all 1,000. Line 8: 700 x 0.124 = 86.80, 200 x
// 0.124 = 24.80, 1,000 x 0.029 = 29.00: 140.60.
TEST_P(Form941Test, BaseCrossedInsideATipsCheckTakesItsWagesBeforeItsTips) {
  Pay({.date = "1/9/2004", .gross = "87000", .withholding = kFica});
  Pay({.date = "3/5/2004", .gross = "1000", .withholding = kFica, .supplemental = "Tip'300''"});
  const Rows rows = Form941("All Assistants", "2/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "6(a).  Taxable Soc. Sec. wages."), "$700.00");
  EXPECT_EQ(AmountOf(rows, "6(c).  Taxable Soc. Sec. tips."), "$200.00");
  EXPECT_EQ(AmountOf(rows, "7(a).  Taxable Medicare wages and tips."), "$1,000.00");
  EXPECT_EQ(AmountOf(rows, "8.  Total Soc. Sec., medicare taxes."), "$140.60");
}

// A negative month shows 0 and carries into the next.
// January: 300 with 60 EIC, 240 taxable: 29.76 + 6.96 - 60 = -23.28, shown
// 0. February: 200: 24.80 + 5.80 = 30.60, less the carry 7.32. March: 110
// with 50 EIC, 60 taxable: 7.44 + 1.74 - 50 = -40.82, shown 0 and left
// over. Line 13: 500 x 0.153 - 110 = -33.50; total 7.32.
TEST_P(Form941Test, NegativeNetTaxesCarryIntoTheNextMonthAndBeyondTheQuarter) {
  Pay({.date = "1/9/2004", .gross = "300", .eic = "60", .withholding = kFica});
  Pay({.date = "2/6/2004", .gross = "200", .withholding = kFica});
  Pay({.date = "3/5/2004", .gross = "110", .eic = "50", .withholding = kFica});
  const Rows rows = Form941("Ann Lee", "1/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "13.  Net taxes (line 11 less line 12)."), "($33.50)");
  EXPECT_THAT(Summary(rows), ElementsAreArray(Rows{
                                 {"     January 2004", "$0.00"},
                                 {"     February 2004", "$7.32"},
                                 {"     March 2004", "$0.00"},
                                 {"Total for period", "$7.32"},
                                 {" ", " "},
                                 {"Note: There is a remaining", " "},
                                 {"adjustment of ($40.82) for", " "},
                                 {"for next quarter.", " "},
                                 {" ", " "},
                                 {"Note: Line 17 monthly summary", " "},
                                 {"not required with net taxes", " "},
                                 {"less than $2,500.", " "},
                                 {" ", " "},
                                 {"Note: Line 13 and 17 total", " "},
                                 {"may differ with negative net", " "},
                                 {"taxes in a previous month.", " "},
                                 {" ", " "},
                                 {"Note: See Form 941", " "},
                                 {"Instructions for", " "},
                                 {"help.", " "},
                             }));
}

// 10,000 of wages: 1,240 + 290 = 1,530, with 970 FIT exactly 2,500: no
// note at all, since line 13 equals the one month's amount. A cent less
// brings the $2,500 note and the closing note.
TEST_P(Form941Test, NetTaxesOfExactlyTwentyFiveHundredNeedNoNote) {
  Pay({.date = "2/6/2004", .gross = "10000", .withholding = "FIT|970|0|" + kFica});
  EXPECT_THAT(Summary(Form941("Ann Lee", "1/1/2004", "3/31/2004")),
              ElementsAreArray(Rows{
                  {"     January 2004", "$0.00"},
                  {"     February 2004", "$2,500.00"},
                  {"     March 2004", "$0.00"},
                  {"Total for period", "$2,500.00"},
              }));

  Pay({.payee = "Bo Park", .date = "2/6/2004", .gross = "10000",
       .withholding = "FIT|969.99|0|" + kFica});
  const Rows rows = Form941("Bo Park", "1/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "13.  Net taxes (line 11 less line 12)."), "$2,499.99");
  EXPECT_EQ(AmountOf(rows, "Note: Line 17 monthly summary"), " ");
  EXPECT_EQ(rows.back().description, "help.");
}

// From 15 January to 10 March: the months are whole calendar months, the
// lines only the period. January 5: 1,000 x 0.153 = 153.00; February 6:
// FIT 10; March 20: 2,000 x 0.153 = 306.00. Line 13 is February's 10.00
// alone; the summary 469.00.
TEST_P(Form941Test, MonthsOfAPartialPeriodAreWholeCalendarMonths) {
  Pay({.date = "1/5/2004", .gross = "1000", .withholding = kFica});
  Pay({.date = "2/6/2004", .gross = "100", .withholding = "FIT|10|0|"});
  Pay({.date = "3/20/2004", .gross = "2000", .withholding = kFica});
  const Rows rows = Form941("Ann Lee", "1/15/2004", "3/10/2004");
  EXPECT_EQ(rows[1].description, "1/15/2004 TO 3/10/2004");
  EXPECT_EQ(AmountOf(rows, "13.  Net taxes (line 11 less line 12)."), "$10.00");
  const Rows summary = Summary(rows);
  EXPECT_THAT(Rows(summary.begin(), summary.begin() + 4),
              ElementsAreArray(Rows{
                  {"     January 2004", "$153.00"},
                  {"     February 2004", "$10.00"},
                  {"     March 2004", "$306.00"},
                  {"Total for period", "$469.00"},
              }));
  EXPECT_EQ(AmountOf(rows, "Note: Line 13 and 17 total"), " ");
}

// Under "All Assistants" each payee has a base of its own.
// Ann: 80,000 in January; in the second quarter 5,000 on 4/2 (85,000) and
// 5,000 on 5/7, of which 2,900 reach the base. Bo: 87,000 in January; two
// checks of 800 and 600 on 4/2, counted in journal order: 800 (87,800),
// then 100. 6(a): 5,000 + 2,900 + 900 = 8,800.
// April: (5,000 + 900) x 0.124 = 731.60; May 2,900 x 0.124 = 359.60.
TEST_P(Form941Test, EachPayeeCrossesTheBaseOnceEvenWithTwoChecksOnOneDay) {
  Pay({.payee = "Ann Lee", .date = "1/9/2004", .gross = "80000", .withholding = kSocSec});
  Pay({.payee = "Bo Park", .date = "1/9/2004", .gross = "87000", .withholding = kSocSec});
  Pay({.payee = "Ann Lee", .date = "4/2/2004", .gross = "5000", .withholding = kSocSec});
  Pay({.payee = "Bo Park", .date = "4/2/2004", .gross = "800", .withholding = kSocSec});
  Pay({.payee = "Bo Park", .date = "4/2/2004", .gross = "600", .withholding = kSocSec});
  Pay({.payee = "Ann Lee", .date = "5/7/2004", .gross = "5000", .withholding = kSocSec});
  const Rows rows = Form941("All Assistants", "4/1/2004", "6/30/2004");
  EXPECT_EQ(AmountOf(rows, "6(a).  Taxable Soc. Sec. wages."), "$8,800.00");
  EXPECT_EQ(AmountOf(rows, "     April 2004"), "$731.60");
  EXPECT_EQ(AmountOf(rows, "     May 2004"), "$359.60");
  EXPECT_EQ(AmountOf(Form941("Bo Park", "4/1/2004", "6/30/2004"), "6(a).  Taxable Soc. Sec. wages."),
            "$900.00");
}

// A check entered after a later one still counts in date order: the April
// check of 87,500 fits under the base, the May check entered before it
// adds 400. April 87,500 x 0.124 = 10,850.00; May 400 x 0.124 = 49.60.
TEST_P(Form941Test, ChecksEnteredOutOfDateOrderCountInDateOrder) {
  Pay({.date = "5/7/2004", .gross = "600", .withholding = kSocSec});
  Pay({.date = "4/2/2004", .gross = "87500", .withholding = kSocSec});
  const Rows rows = Form941("Ann Lee", "4/1/2004", "6/30/2004");
  EXPECT_EQ(AmountOf(rows, "6(a).  Taxable Soc. Sec. wages."), "$87,900.00");
  EXPECT_EQ(AmountOf(rows, "     April 2004"), "$10,850.00");
  EXPECT_EQ(AmountOf(rows, "     May 2004"), "$49.60");
}

// The earlier wages of a check are those of its own year: December's
// checks do not count against January's base.
TEST_P(Form941Test, TheBaseStartsAgainEachYear) {
  Pay({.date = "12/3/2003", .gross = "87900", .withholding = kSocSec});
  Pay({.date = "1/9/2004", .gross = "1000", .withholding = kSocSec});
  const Rows rows = Form941("Ann Lee", "12/1/2003", "1/31/2004");
  EXPECT_EQ(AmountOf(rows, "6(a).  Taxable Soc. Sec. wages."), "$88,900.00");
  EXPECT_EQ(AmountOf(rows, "     January 2004"), "$124.00");
}

TEST_P(Form941Test, ANameWithAnApostropheCountsAloneAndUnderAllAssistants) {
  Pay({.payee = "Pat O'Brien", .gross = "1000", .withholding = kSocSec});
  Pay({.payee = "Pat O'Brien", .date = "3/12/2004", .gross = "500", .withholding = kSocSec});
  for (const char* attendant : {"Pat O'Brien", "All Assistants"}) {
    const Rows rows = Form941(attendant, "1/1/2004", "3/31/2004");
    EXPECT_EQ(AmountOf(rows, "6(a).  Taxable Soc. Sec. wages."), "$1,500.00") << attendant;
    EXPECT_EQ(AmountOf(rows, "1.  Number of employees."), "1") << attendant;
  }
}

VELTRANE_ON_BOTH_BACKENDS(Form941Test);

}  // namespace
}  // namespace veltrane::testing
