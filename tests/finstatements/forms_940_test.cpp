// The Form 940 and Form 940EZ worksheets over a real journal, with the 2004
// FUTA rules: $7,000 of wages per employee, 0.062 gross, 0.054 state
// credit, 0.008 with full credit.
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;

const std::string kFuta = "FUTA|0|0|";

class Forms940Test : public StatementsTest {
 protected:
  // Monthly FUTA checks of `gross` to `payee` from `first` through `last`
  // month of 2004.
  void PayMonthly(const std::string& payee, const char* gross, int first, int last) {
    for (int m = first; m <= last; ++m) {
      Pay({.payee = payee, .date = std::to_string(m) + "/6/2004", .gross = gross,
           .withholding = kFuta});
    }
  }
  // The rows from the heading `heading` on, `count` of them.
  static Rows From(const Rows& rows, const std::string& heading, std::size_t count) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].description == heading) {
        return Rows(rows.begin() + i, rows.begin() + std::min(rows.size(), i + count));
      }
    }
    return {};
  }
};

// 750 a month: 9,000 in the year, 2,000 over the base, 7,000 taxable:
// 434.00 at 0.062, 378.00 at 0.054. Quarters: 2,250, 2,250, 2,250 (6,750
// so far), then 250 of the fourth quarter's 2,250; at 0.008 18.00, 18.00,
// 18.00, 2.00, together 56.00 (7,000 x 0.008).
TEST_P(Forms940Test, NineThousandToOneEmployee) {
  PayMonthly("Ann Lee", "750", 1, 12);
  EXPECT_THAT(Run("Form 940", "All Assistants", "1/1/2004", "12/31/2004"),
              ElementsAreArray(Rows{
                  {"FORM 940", " "},
                  {"1/1/2004 TO 12/31/2004", " "},
                  {" ", " "},
                  {"PART I.  Computation of Taxable Wages", " "},
                  {" ", " "},
                  {"1.  Total payments.", "$9,000.00"},
                  {"2.  Exempt payments.", "$0.00"},
                  {"3.  Pay greater than 7K per employee.", "$2,000.00"},
                  {"4.  Add line 2 and line 3.", "$2,000.00"},
                  {"5.  Taxable wages (line 1 - 4).", "$7,000.00"},
                  {" ", " "},
                  {"PART II.  Tax Due Or Refund", " "},
                  {" ", " "},
                  {"1.  FUTA tax (line 5 x 0.062).", "$434.00"},
                  {"2.  Maximum credit (line 5 x 0.054).", "$378.00"},
                  {"3.  Computation of state credit.", " "},
                  {"    Tip: Use statements of your", " "},
                  {"    SUI taxes to complete", " "},
                  {"    this table.", " "},
                  {"3a.  State credit totals (total of cols h and i).", " "},
                  {"3b.  Add totals of cols h and i.", " "},
                  {"4.  Not used.", " "},
                  {"5.  Not used.", " "},
                  {"6.  Smaller of Part II, line 2 or 3b.", " "},
                  {"7.  Total FUTA tax (line 1 less line 6).", " "},
                  {"8.  Total FUTA deposits for year.", " "},
                  {"9.  Balance due (line 7 less line 8).", " "},
                  {"10.  Overpayment (line 8 less line 7).", " "},
                  {" ", " "},
                  {"PART III.  Quarterly FUTA Tax Liability", " "},
                  {" ", " "},
                  {"First Quarter.", "$18.00"},
                  {"Second Quarter.", "$18.00"},
                  {"Third Quarter.", "$18.00"},
                  {"Fourth Quarter.", "$2.00"},
                  {"Total for year.", "$56.00"},
                  {" ", " "},
                  {"Note: Part III quarterly", " "},
                  {"liability required only if", " "},
                  {"line 7 is over $100.", " "},
                  {" ", " "},
                  {" ", " "},
                  {"Note: See Form 940", " "},
                  {"Instructions for", " "},
                  {"help.", " "},
              }));
  EXPECT_EQ(view.selected(), 1);
}

// 5,000 in each of the first two quarters: the first on 5,000 (40.00), the
// second on the 2,000 left of the base (16.00), then nothing.
TEST_P(Forms940Test, TheBaseRunsOutInTheSecondQuarter) {
  Pay({.date = "2/6/2004", .gross = "5000", .withholding = kFuta});
  Pay({.date = "5/7/2004", .gross = "5000", .withholding = kFuta});
  const Rows rows = Run("Form 940", "Ann Lee", "1/1/2004", "12/31/2004");
  EXPECT_EQ(AmountOf(rows, "3.  Pay greater than 7K per employee."), "$3,000.00");
  EXPECT_THAT(From(rows, "First Quarter.", 5), ElementsAreArray(Rows{
                                                  {"First Quarter.", "$40.00"},
                                                  {"Second Quarter.", "$16.00"},
                                                  {"Third Quarter.", "$0.00"},
                                                  {"Fourth Quarter.", "$0.00"},
                                                  {"Total for year.", "$56.00"},
                                              }));
}

// 3,000 in each of the first, second and fourth quarters; the period is
// the second and third quarters. Lines 1 to 5 see 3,000 with nothing over
// the base; Part III has the whole year of the start: 24.00, 24.00 (6,000
// so far), 0, and 1,000 of the fourth quarter's 3,000: 8.00.
TEST_P(Forms940Test, APeriodOtherThanTheYearStillHasTheYearsQuarters) {
  Pay({.date = "2/6/2004", .gross = "3000", .withholding = kFuta});
  Pay({.date = "5/7/2004", .gross = "3000", .withholding = kFuta});
  Pay({.date = "11/5/2004", .gross = "3000", .withholding = kFuta});
  const Rows rows = Run("Form 940", "", "4/1/2004", "9/30/2004");
  EXPECT_EQ(AmountOf(rows, "1.  Total payments."), "$3,000.00");
  EXPECT_EQ(AmountOf(rows, "3.  Pay greater than 7K per employee."), "$0.00");
  EXPECT_EQ(AmountOf(rows, "5.  Taxable wages (line 1 - 4)."), "$3,000.00");
  EXPECT_EQ(AmountOf(rows, "1.  FUTA tax (line 5 x 0.062)."), "$186.00");
  EXPECT_THAT(From(rows, "First Quarter.", 5), ElementsAreArray(Rows{
                                                  {"First Quarter.", "$24.00"},
                                                  {"Second Quarter.", "$24.00"},
                                                  {"Third Quarter.", "$0.00"},
                                                  {"Fourth Quarter.", "$8.00"},
                                                  {"Total for year.", "$56.00"},
                                              }));
}

// Bo's checks carry no FUTA: his 9,000 adds to nothing. Ann's 8,000 with
// 20 of EIC on each check is 7,880 of FUTA wages, 880 over the base.
TEST_P(Forms940Test, ChecksWithoutFutaAddNothing) {
  Pay({.payee = "Ann Lee", .date = "3/5/2004", .gross = "4010", .eic = "10", .withholding = kFuta});
  Pay({.payee = "Ann Lee", .date = "6/4/2004", .gross = "3890", .eic = "10", .withholding = kFuta});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "9000", .withholding = "Soc. Sec.|0|0|"});
  const Rows rows = Run("Form 940", "All Assistants", "1/1/2004", "12/31/2004");
  EXPECT_EQ(AmountOf(rows, "1.  Total payments."), "$7,880.00");
  EXPECT_EQ(AmountOf(rows, "3.  Pay greater than 7K per employee."), "$880.00");
  EXPECT_EQ(AmountOf(rows, "5.  Taxable wages (line 1 - 4)."), "$7,000.00");
  EXPECT_EQ(AmountOf(rows, "Total for year."), "$56.00");
}

// "Ann Lee" and "ANN LEE" are one employee with 8,000: 1,000 over the base.
// Counted apart they would be 4,000 each and nothing over it.
TEST_P(Forms940Test, NamesDifferingOnlyInLetterCaseAreOnePayee) {
  Pay({.payee = "Ann Lee", .date = "2/6/2004", .gross = "4000", .withholding = kFuta});
  Pay({.payee = "ANN LEE", .date = "5/7/2004", .gross = "4000", .withholding = "futa|0|0|"});
  const Rows rows = Run("Form 940", "All Assistants", "1/1/2004", "12/31/2004");
  EXPECT_EQ(AmountOf(rows, "3.  Pay greater than 7K per employee."), "$1,000.00");
  EXPECT_EQ(AmountOf(rows, "Second Quarter."), "$24.00");
}

TEST_P(Forms940Test, ANameWithAnApostropheCountsAloneAndUnderAllAssistants) {
  PayMonthly("Pat O'Brien", "1000", 1, 8);
  for (const char* attendant : {"Pat O'Brien", "All Assistants"}) {
    const Rows rows = Run("Form 940", attendant, "1/1/2004", "12/31/2004");
    EXPECT_EQ(AmountOf(rows, "1.  Total payments."), "$8,000.00") << attendant;
    EXPECT_EQ(AmountOf(rows, "3.  Pay greater than 7K per employee."), "$1,000.00") << attendant;
    EXPECT_EQ(AmountOf(rows, "Total for year."), "$56.00") << attendant;
  }
}

class Form940EZTest : public Forms940Test {
 protected:
  void MinnesotaSettings() {
    Settings({{"SUIState", "MN"}, {"SUIReportingNumber", "12-345"},
              {"SUIWithholdingName", "SUI"}});
  }
};

// Ann 7,000 and Bo 5,500: 12,500 of taxable wages, 100.00 at 0.008, which
// needs no note. SUI contributions are the amounts withheld: 10 + 10 + 5.
// Quarters: Ann 7,000 and Bo 5,500 all in the first: 56.00 + 44.00.
TEST_P(Form940EZTest, NetTaxOfExactlyOneHundredNeedsNoNote) {
  MinnesotaSettings();
  Pay({.payee = "Ann Lee", .date = "2/6/2004", .gross = "4000", .withholding = "FUTA|0|0|SUI|10|20|"});
  Pay({.payee = "Ann Lee", .date = "3/5/2004", .gross = "3000", .withholding = "FUTA|0|0|SUI|10|20|"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "5500", .withholding = "FUTA|0|0|SUI|5|9|"});
  EXPECT_THAT(Run("Form 940EZ", "All Assistants", "1/1/2004", "12/31/2004"),
              ElementsAreArray(Rows{
                  {"FORM 940EZ", " "},
                  {"1/1/2004 TO 12/31/2004", " "},
                  {" ", " "},
                  {"A. Contributions to SUI fund.", "$25.00"},
                  {"B(1). The state name where you pay contributions.", "MN"},
                  {"B(2). State reporting number.", "12-345"},
                  {" ", " "},
                  {"PART I.  Taxable Wages and FUTA Tax.", " "},
                  {" ", " "},
                  {"1. Total payments.", "$12,500.00"},
                  {"2. Exempt Payments.", "$0.00"},
                  {"3. Pay greater than 7K per employee.", "$0.00"},
                  {"4.  Add line 2 and line 3.", "$0.00"},
                  {"5.  Taxable wages (line 1 - 4).", "$12,500.00"},
                  {"6.  FUTA tax (line 5 x 0.008).", "$100.00"},
                  {"7.  Total deposits for the year.", " "},
                  {"     Compute separately...", " "},
                  {"8.  Balance due ($100.00 - deposits)...", " "},
                  {"9.  Overpayment (deposits - $100.00)...", " "},
                  {" ", " "},
                  {"PART II.  Quarterly Tax Liability.", " "},
                  {" ", " "},
                  {"First Quarter.", "$100.00"},
                  {"Second Quarter.", "$0.00"},
                  {"Third Quarter.", "$0.00"},
                  {"Fourth Quarter.", "$0.00"},
                  {"Total for year.", "$100.00"},
                  {" ", " "},
                  {"Note: See Form 940EZ", " "},
                  {"Instructions for", " "},
                  {"help.", " "},
              }));
  EXPECT_EQ(view.selected(), 1);
}

// Bo's 5,498.75 makes 12,498.75: 99.99 at 0.008, below $100.
TEST_P(Form940EZTest, NetTaxBelowOneHundredBringsThePartTwoNote) {
  MinnesotaSettings();
  Pay({.payee = "Ann Lee", .date = "2/6/2004", .gross = "7000", .withholding = kFuta});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "5498.75", .withholding = kFuta});
  const Rows rows = Run("Form 940EZ", "All Assistants", "1/1/2004", "12/31/2004");
  EXPECT_EQ(AmountOf(rows, "6.  FUTA tax (line 5 x 0.008)."), "$99.99");
  EXPECT_THAT(From(rows, "Total for year.", 9), ElementsAreArray(Rows{
                                                   {"Total for year.", "$99.99"},
                                                   {" ", " "},
                                                   {"Note: Part II quarterly", " "},
                                                   {"liability required only if", " "},
                                                   {"line 6 is over $100.", " "},
                                                   {" ", " "},
                                                   {"Note: See Form 940EZ", " "},
                                                   {"Instructions for", " "},
                                                   {"help.", " "},
                                               }));
}

TEST_P(Form940EZTest, WithoutTaxSettingsTheStateIsEmptyAndNothingIsSui) {
  Pay({.date = "2/6/2004", .gross = "1000", .withholding = "FUTA|0|0|SUI|10|20|"});
  const Rows rows = Run("Form 940EZ", "", "1/1/2004", "12/31/2004");
  EXPECT_EQ(AmountOf(rows, "A. Contributions to SUI fund."), "$0.00");
  EXPECT_EQ(AmountOf(rows, "B(1). The state name where you pay contributions."), "");
  EXPECT_EQ(AmountOf(rows, "B(2). State reporting number."), "");
  EXPECT_EQ(AmountOf(rows, "1. Total payments."), "$1,000.00");
}

// The contributions are the withheld amounts of the entries named as the
// settings name them, in any letter case, not their liabilities: 12.50 +
// 2.50. A longer name ending in it ("XSUI") does not count.
TEST_P(Form940EZTest, SuiContributionsAreTheWithheldAmounts) {
  MinnesotaSettings();
  Pay({.date = "2/6/2004", .gross = "1000", .withholding = "FUTA|0|0|SUI|12.5|99|"});
  Pay({.date = "3/5/2004", .gross = "1000", .withholding = "sui|2.5|0|XSUI|40|0|"});
  Pay({.date = "3/12/2004", .gross = "1000", .withholding = "XSUI|7|0|"});
  EXPECT_EQ(AmountOf(Run("Form 940EZ", "Ann Lee", "1/1/2004", "12/31/2004"),
                     "A. Contributions to SUI fund."),
            "$15.00");
}

VELTRANE_ON_BOTH_BACKENDS(Forms940Test);
VELTRANE_ON_BOTH_BACKENDS(Form940EZTest);

}  // namespace
}  // namespace veltrane::testing
