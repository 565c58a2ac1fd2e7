// The Schedule H worksheet over a real journal, with the 2004 rates.
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;

class ScheduleHTest : public StatementsTest {
 protected:
  Rows ScheduleH(const std::string& attendant) {
    return Run("Form 1040 Schedule H", attendant, "1/1/2004", "12/31/2004");
  }
};

// A household employee paid 2,300 of cash wages in the year in two checks,
// with Social Security and Medicare withheld and no income tax:
// 2,300 x 0.124 = 285.20, 2,300 x 0.029 = 66.70, together 351.90. All of it
// is FUTA wages: 2,300 x 0.008 = 18.40, so line 27 is 370.30. SUI
// contributions 4 + 4.
TEST_P(ScheduleHTest, HouseholdEmployeeOfTheYear) {
  Settings({{"SUIState", "MN"}, {"SUIReportingNumber", "12-345"}, {"SUIWithholdingName", "SUI"}});
  const std::string taxes = "FIT|0|0|Soc. Sec.|71.3|71.3|Medicare|16.675|16.675|FUTA|0|71.3|SUI|4|30|";
  Pay({.date = "6/4/2004", .gross = "1150", .withholding = taxes});
  Pay({.date = "12/3/2004", .gross = "1150", .withholding = taxes});
  EXPECT_THAT(ScheduleH("All Assistants"),
              ElementsAreArray(Rows{
                  {"FORM 1040 SCHEDULE H", " "},
                  {"1/1/2004 TO 12/31/2004", " "},
                  {" ", " "},
                  {"PART I.  FICA and FIT Taxes", " "},
                  {" ", " "},
                  {"1.  Soc. Sec. wages", "$2,300.00"},
                  {"2.  Soc. Sec. Taxes", "$285.20"},
                  {"3.  Medicare wages", "$2,300.00"},
                  {"4.  Medicare taxes", "$66.70"},
                  {"5.  FIT Withheld", "$0.00"},
                  {"6.  Total Soc. Sec., Medicare, FIT taxes", "$351.90"},
                  {"7.  EIC pay", "$0.00"},
                  {"8.  Net taxes", "$351.90"},
                  {"9.  Wages > $2K in any calendar quarter", " "},
                  {"     within previous two years?", "Yes/No"},
                  {" ", " "},
                  {"PART II.  Federal Unemployment Tax", " "},
                  {" ", " "},
                  {"10.  All SUI paid to one state?", "Yes/No"},
                  {"11.  All previous year SUI taxes paid by deadline?", "Yes/No"},
                  {"12.  All FUTA wages subject to SUI tax?", "Yes/No"},
                  {"      Section A", " "},
                  {"13.  SUI state name?", "MN"},
                  {"14.  State reporting number", "12-345"},
                  {"15.  Contributions paid to SUI fund", "$8.00"},
                  {"16.  Wages subject to FUTA", "$2,300.00"},
                  {"17.  FUTA tax", "$18.40"},
                  {"      Section B", " "},
                  {"      You must compute", " "},
                  {"      this section manually.", " "},
                  {" ", " "},
                  {"PART III.  Total Household Employment Taxes", " "},
                  {" ", " "},
                  {"26.  Amount from line 8.", "$351.90"},
                  {"27.  Add lines 17 and 26 (see instructions).", "$370.30"},
                  {"28.  Required to file form 1040?", "Yes/No"},
                  {" ", " "},
                  {"PART IV.  Address and signature", " "},
                  {" ", " "},
                  {"Not required if filing", " "},
                  {"form 1040.", " "},
                  {" ", " "},
                  {"Note: See Schedule H", " "},
                  {"Instructions for help.", " "},
              }));
  EXPECT_EQ(view.selected(), 1);
}

// A check of 1,020 with 20 of EIC and a 300 tip: all 1,000 of taxable pay
// are Social Security wages. 124.00 + 29.00 + 50 FIT = 203.00, less 20 EIC:
// line 8 183.00; FUTA 1,000 x 0.008 = 8.00, line 27 191.00.
TEST_P(ScheduleHTest, TipsAreWagesAndTheTotalsFollowLineEight) {
  Pay({.gross = "1020", .eic = "20",
       .withholding = "FIT|50|0|Soc. Sec.|62|62|Medicare|14.5|14.5|FUTA|0|62|",
       .supplemental = "Tip'300'Soc. Sec.|18.6|18.6|'"});
  const Rows rows = ScheduleH("Ann Lee");
  EXPECT_EQ(AmountOf(rows, "1.  Soc. Sec. wages"), "$1,000.00");
  EXPECT_EQ(AmountOf(rows, "6.  Total Soc. Sec., Medicare, FIT taxes"), "$203.00");
  EXPECT_EQ(AmountOf(rows, "7.  EIC pay"), "$20.00");
  EXPECT_EQ(AmountOf(rows, "8.  Net taxes"), "$183.00");
  EXPECT_EQ(AmountOf(rows, "26.  Amount from line 8."), "$183.00");
  EXPECT_EQ(AmountOf(rows, "17.  FUTA tax"), "$8.00");
  EXPECT_EQ(AmountOf(rows, "27.  Add lines 17 and 26 (see instructions)."), "$191.00");
}

// 60,000 and then 30,000: only 27,900 of the second check are under the
// base. Medicare has none: 90,000.
TEST_P(ScheduleHTest, SocialSecurityWagesStopAtTheBase) {
  Pay({.date = "3/5/2004", .gross = "60000", .withholding = "Soc. Sec.|0|0|Medicare|0|0|"});
  Pay({.date = "9/3/2004", .gross = "30000", .withholding = "Soc. Sec.|0|0|Medicare|0|0|"});
  const Rows rows = ScheduleH("");
  EXPECT_EQ(AmountOf(rows, "1.  Soc. Sec. wages"), "$87,900.00");
  EXPECT_EQ(AmountOf(rows, "3.  Medicare wages"), "$90,000.00");
}

TEST_P(ScheduleHTest, WithoutTaxSettingsTheStateLinesAreEmpty) {
  Pay({.gross = "1000", .withholding = "FUTA|0|0|SUI|10|20|"});
  const Rows rows = ScheduleH("");
  EXPECT_EQ(AmountOf(rows, "13.  SUI state name?"), "");
  EXPECT_EQ(AmountOf(rows, "14.  State reporting number"), "");
  EXPECT_EQ(AmountOf(rows, "15.  Contributions paid to SUI fund"), "$0.00");
  EXPECT_EQ(AmountOf(rows, "16.  Wages subject to FUTA"), "$1,000.00");
}

VELTRANE_ON_BOTH_BACKENDS(ScheduleHTest);

}  // namespace
}  // namespace veltrane::testing
