// The statements of the five federal taxes, with the 2004 rates.
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;

const Rows kFrameTail = {{" ", " "}, {"TAX INFORMATION", " "}, {" ", " "}};

class FederalTest : public StatementsTest {};

TEST_P(FederalTest, FutaOf7500FromJanuaryIsCappedAt7000) {
  Pay({.date = "1/9/2004", .gross = "4000", .withholding = "FUTA|0|24.8|"});
  Pay({.date = "2/6/2004", .gross = "3500", .withholding = "FUTA|0|18.6|"});
  EXPECT_THAT(Run("FUTA", "Ann Lee", "1/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"FUTA STATEMENT", " "},
                  {"1/1/2004 TO 3/31/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Wage base limit: ", "$7,000.00"},
                  {"Tax rate:", "6.20%"},
                  {"Employer tax rate", "6.20%"},
                  {"Employee tax rate", "0.00%"},
                  {"Credit for SUI contributions.", "5.40%"},
                  {"Employer rate with state credit.", "0.80%"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total taxable payments", "$7,500.00"},
                  {"Payments within base limit", "$7,000.00"},
                  {"Payments in excess of base", "$500.00"},
                  {" ", " "},
                  {"LIABILITIES", " "},
                  {" ", " "},
                  {"Employer liability", "$434.00"},
                  {"     With full state credit", "$56.00"},
                  {"Employee liability", "$0.00"},
              }));
  EXPECT_EQ(view.selected(), 1);
}

// 100.075 is taken as 100.08 before the rate: 100.08 x 0.062 = 6.20496, $6.21
// (100.075 x 0.062 would have shown $6.20).
TEST_P(FederalTest, FutaPaymentsAreTakenInWholeCentsBeforeTheRates) {
  Pay({.date = "1/9/2004", .gross = "100.075", .withholding = "FUTA|0|6.2|"});
  const Rows rows = Run("FUTA", "", "1/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "Total taxable payments"), "$100.08");
  EXPECT_EQ(AmountOf(rows, "Payments in excess of base"), "$0.00");
  EXPECT_EQ(AmountOf(rows, "Employer liability"), "$6.21");
}

// Ann had 80,000 before the quarter and 10,000 in it: 7,900 count. Bo had
// 85,000 and then 4,000 wages and a 1,000 tip: 2,900 count, the tip first
// (tips are counted under the base on their own). 7,900 + 2,900 = 10,800 at
// 6.2% is 669.60 on each side.
TEST_P(FederalTest, SocialSecurityCountsEachPayeeUnderTheBase) {
  const std::string ss = "Soc. Sec.|1|1|";
  Pay({.payee = "Ann Lee", .date = "6/30/2004", .gross = "80000", .withholding = ss});
  Pay({.payee = "Bo Park", .date = "6/30/2004", .gross = "85000", .withholding = ss});
  Pay({.payee = "Ann Lee", .date = "7/2/2004", .gross = "10000",
       .withholding = "Soc. Sec.|489.8|489.8|"});
  Pay({.payee = "Bo Park", .date = "7/2/2004", .gross = "5000",
       .withholding = "Soc. Sec.|179.8|179.8|", .supplemental = "Tip'1000'Soc. Sec.|0|0|'"});
  Pay({.payee = "Bo Park", .date = "7/9/2004", .gross = "300", .withholding = "FIT|0|0|",
       .supplemental = "Tip'300''"});  // no Social Security on this check
  EXPECT_THAT(Run("Soc. Sec.", "All Assistants", "7/1/2004", "9/30/2004"),
              ElementsAreArray(Rows{
                  {"SOCIAL SECURITY STATEMENT", " "},
                  {"7/1/2004 TO 9/30/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Wage base limit: ", "$87,900.00"},
                  {"Gross wages adjusted by exemptions: ", "No"},
                  {"Tax rate:", "12.40%"},
                  {"Employer tax rate", "6.20%"},
                  {"Employee tax rate", "6.20%"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total payments", "$15,000.00"},
                  {"Total Social Security payments", "$10,800.00"},
                  {"     Total Social Security wages", "$9,800.00"},
                  {"     Total Social Security tips", "$1,000.00"},
                  {" ", " "},
                  {"WITHHOLDINGS & LIABILITIES", " "},
                  {" ", " "},
                  {"Total withholdings", "$669.60"},
                  {"Employee liability", "$669.60"},
                  {"Employer liability", "$669.60"},
              }));
}

TEST_P(FederalTest, MedicareShowsAllPaymentsAndItsOwnWagesEmployerFirst) {
  Pay({.gross = "1010", .eic = "10", .withholding = "Medicare|14.5|14.5|"});
  Pay({.gross = "500", .withholding = "FIT|20|0|"});
  const Rows rows = Run("Medicare", "", "3/1/2004", "3/31/2004");
  const Rows tail(rows.begin() + 5, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{
                        {"Wage base limit: ", "None"},
                        {"Gross wages adjusted by exemptions: ", "No"},
                        {"Tax rate:", "2.90%"},
                        {"Employer tax rate", "1.45%"},
                        {"Employee tax rate", "1.45%"},
                        {" ", " "},
                        {"PAYMENTS", " "},
                        {" ", " "},
                        {"Total payments", "$1,500.00"},
                        {"Medicare wages and tips", "$1,000.00"},
                        {" ", " "},
                        {"WITHHOLDINGS & LIABILITIES", " "},
                        {" ", " "},
                        {"Total withholdings", "$14.50"},
                        {"Employer liability", "$14.50"},
                        {"Employee liability", "$14.50"},
                    }));
  EXPECT_EQ(rows[0].description, "MEDICARE STATEMENT");
}

TEST_P(FederalTest, IncomeTaxHasVariableRatesAndNoEmployerShare) {
  Pay({.gross = "430", .withholding = "FIT|41.11|0|Soc. Sec.|26.66|26.66|"});
  Pay({.gross = "100", .withholding = "Soc. Sec.|6.2|6.2|"});
  const Rows rows = Run("FIT", "", "3/1/2004", "3/31/2004");
  const Rows tail(rows.begin() + 5, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{
                        {"Wage base limit: ", "None"},
                        {"Gross wages adjusted by exemptions: ", "Yes"},
                        {"Tax rate:", "Variable"},
                        {"Employer tax rate", "0.00%"},
                        {"Employee tax rate", "Variable"},
                        {" ", " "},
                        {"PAYMENTS", " "},
                        {" ", " "},
                        {"Total taxable payments", "$430.00"},
                        {" ", " "},
                        {"WITHHOLDINGS & LIABILITIES", " "},
                        {" ", " "},
                        {"Total withholdings", "$41.11"},
                        {"Employee liability", "n/a"},
                        {"Employer liability", "$0.00"},
                    }));
}

TEST_P(FederalTest, EicShowsItsLimitsAndWhetherEachPaymentIsLimited) {
  Settings({{"EICPayInFull", true}});
  Pay({.gross = "310", .eic = "10", .withholding = "FIT|0|0|"});
  Pay({.gross = "200", .eic = "-3"});
  EXPECT_THAT(Run("EIC", "", "3/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"EIC STATEMENT", " "},
                  {"3/1/2004 TO 3/31/2004", " "},
                  {" ", " "},
                  {"CREDIT INFORMATION", " "},
                  {" ", " "},
                  {"Wage base limit", "$30,338.00"},
                  {"Married filing jointly", "$31,338.00"},
                  {"Maximum annual payment", "$1,563.00"},
                  {"Limit each payment to taxes due", "No"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total of payments subject to EIC", "$503.00"},
                  {"Total amount of EIC paid", "$10.00"},
              }));
}

TEST_P(FederalTest, EicLimitRowIsYesWhenNotPaidInFullAndMissingWithoutSettings) {
  EXPECT_EQ(AmountOf(Run("EIC", "", "3/1/2004", "3/31/2004"), "Limit each payment to taxes due"),
            "<no row 'Limit each payment to taxes due'>");
  Settings({{"EICPayInFull", false}});
  Statements();
  EXPECT_EQ(AmountOf(Run("EIC", "", "3/1/2004", "3/31/2004"), "Limit each payment to taxes due"),
            "Yes");
}

TEST_P(FederalTest, AnEmptyPeriodStillShowsTheRates) {
  const Rows rows = Run("Soc. Sec.", "Nobody", "1/1/2004", "3/31/2004");
  EXPECT_EQ(rows.size(), 23u);
  EXPECT_EQ(AmountOf(rows, "Tax rate:"), "12.40%");
  for (const char* d : {"Total payments", "Total Social Security payments", "Total withholdings",
                        "Employee liability", "Employer liability"}) {
    EXPECT_EQ(AmountOf(rows, d), "$0.00") << d;
  }
}

class OtherLocaleFederalTest : public StatementsTest {
 protected:
  OtherLocaleFederalTest() : StatementsTest(1036) {}
};

// Outside US English there is no rate table: every rate and base reads 0.
TEST_P(OtherLocaleFederalTest, RatesReadAsZero) {
  Pay({.gross = "100", .withholding = "Soc. Sec.|6.2|6.2|"});
  const Rows rows = Run("Soc. Sec.", "", "3/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "Tax rate:"), "0.00%");
  EXPECT_EQ(AmountOf(rows, "Total payments"), "$100.00");
  EXPECT_EQ(AmountOf(rows, "Total Social Security payments"), "$0.00");
  EXPECT_EQ(AmountOf(rows, "Total withholdings"), "$6.20");
}

VELTRANE_ON_BOTH_BACKENDS(FederalTest);
VELTRANE_ON_BOTH_BACKENDS(OtherLocaleFederalTest);

}  // namespace
}  // namespace veltrane::testing
