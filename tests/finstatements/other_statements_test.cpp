// The statements of an employer-defined withholding and of a kind of
// supplemental pay, and how DoStatement tells the two apart.
#include <gmock/gmock.h>

#include "assistant_rows.h"
#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class OtherWithholdingTest : public StatementsTest {};

// Dues comes first in the list; Union is the first record of its name.
// Period February-March: Ann had 600 in January and 700 in the period, so
// 400 fit under the 1,000 base; Bo's 300 all fit. Taxable 1,000, limited
// 700, excess 300, and without allowances the base stays 700: employee 1%
// = 7.00, employer 2% = 14.00; withheld 5 + 5 = 10.00.
TEST_P(OtherWithholdingTest, AWageBaseWithoutAllowancesTakesThePaymentsLimitedByIt) {
  Settings({{"OtherWithholdings", "Dues|3||||||||Union|5|1000|1.5|2|1||||Union|9||||||||"}});
  Pay({.date = "1/9/2004", .gross = "600", .withholding = "Union|5|12|"});
  Pay({.date = "2/6/2004", .gross = "700", .withholding = "Union|5|14|"});
  Pay({.payee = "Bo Park", .date = "2/6/2004", .gross = "300", .withholding = "Union|5|6|"});
  EXPECT_THAT(Run("union", "", "02/01/04", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"UNION STATEMENT", " "},
                  {"2/1/2004 to 3/31/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Withhold flat amount", "$5.00"},
                  {"Wage base", "$1,000.00"},
                  {"Employee liability", "1.00%"},
                  {"Withholding rate", "1.50%"},
                  {"Employer liability", "2.00%"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total taxable payments", "$1,000.00"},
                  {"Payments limited by base", "$700.00"},
                  {"Payments in excess of base", "$300.00"},
                  {"Wage base adjusted by exemptions", "$700.00"},
                  {" ", " "},
                  {"WITHHOLDINGS AND LIABILITIES", " "},
                  {" ", " "},
                  {"Employee liability", "$7.00"},
                  {"Total withholdings", "$10.00"},
                  {"Employer liability", "$14.00"},
              }));
  EXPECT_EQ(view.selected(), 1);
  EXPECT_THAT(messages.shown, IsEmpty());
}

// Taxable 400 + (210 - 10 EIC) = 600; the FIT-only check is not Dues'.
// Employee 2% of 600 = 12.00, employer 0.5% = 3.00.
TEST_P(OtherWithholdingTest, WithoutAWageBaseTheLiabilitiesAreOnAllTaxablePayments) {
  Settings({{"OtherWithholdings", "Dues|||1|0.5|2||||"}});
  Pay({.date = "3/5/2004", .gross = "400", .withholding = "Dues|8|2|"});
  Pay({.date = "3/12/2004", .gross = "210", .eic = "10", .withholding = "Dues|4|1|"});
  Pay({.date = "3/19/2004", .gross = "500", .withholding = "FIT|0|0|"});
  const Rows rows = Run("Dues", "Ann Lee", "3/1/2004", "3/31/2004");
  const Rows tail(rows.begin() + 5, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{
                        {"Withhold flat amount", "No"},
                        {"Wage base", "None"},
                        {"Employee liability", "2.00%"},
                        {"Withholding rate", "1.00%"},
                        {"Employer liability", "0.50%"},
                        {" ", " "},
                        {"PAYMENTS", " "},
                        {" ", " "},
                        {"Total taxable payments", "$600.00"},
                        {" ", " "},
                        {"WITHHOLDINGS AND LIABILITIES", " "},
                        {" ", " "},
                        {"Employee liability", "$12.00"},
                        {"Total withholdings", "$12.00"},
                        {"Employer liability", "$3.00"},
                    }));
}

// Taxable 1,500, all under the 5,000 base; Ann (Married 2 x 300) and Bo
// (Single 1 x 200) lower it to 700: employee 1% = 7.00, employer 2% = 14.00.
TEST_P(OtherWithholdingTest, AllowancesLowerTheLimitedPaymentsOfEveryPayee) {
  Settings({{"OtherWithholdings", "Union||5000|1|2|1|300|200||"}});
  AddAssistant(*db, "Ann Lee", "Union|Married|2|");
  AddAssistant(*db, "Bo Park", "FIT|Single|0|Union|Single|1|");
  Pay({.date = "3/5/2004", .gross = "1000", .withholding = "Union|10|20|"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "500", .withholding = "Union|5|10|"});
  const Rows rows = Run("Union", "All Assistants", "3/1/2004", "3/31/2004");
  const Rows tail(rows.begin() + 10, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{
                        {" ", " "},
                        {"Exemption Allowances", " "},
                        {"     Married", "$300.00"},
                        {"     Single", "$200.00"},
                        {"     Head of Household", "Not specified!"},
                        {" ", " "},
                        {"PAYMENTS", " "},
                        {" ", " "},
                        {"Total taxable payments", "$1,500.00"},
                        {"Payments limited by base", "$1,500.00"},
                        {"Payments in excess of base", "$0.00"},
                        {"Wage base adjusted by exemptions", "$700.00"},
                        {" ", " "},
                        {"WITHHOLDINGS AND LIABILITIES", " "},
                        {" ", " "},
                        {"Employee liability", "$7.00"},
                        {"Total withholdings", "$15.00"},
                        {"Employer liability", "$14.00"},
                    }));
  EXPECT_THAT(messages.shown, IsEmpty());
}

// No record is named Parking: the statement of an empty record, with the
// payments (500 + 300) and withholdings (20 + 5 + 18.60) of every tax.
TEST_P(OtherWithholdingTest, ANameNotDefinedGivesTheStatementOfAnEmptyRecord) {
  Settings({{"OtherWithholdings", "Union|5|1000|1.5|2|1||||"}});
  Pay({.date = "3/5/2004", .gross = "500", .withholding = "FIT|20|0|Union|5|10|"});
  Pay({.payee = "Bo Park",
       .date = "3/5/2004",
       .gross = "300",
       .withholding = "Soc. Sec.|18.6|18.6|"});
  EXPECT_THAT(Run("Parking", "", "3/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {" STATEMENT", " "},
                  {"3/1/2004 to 3/31/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Withhold flat amount", "No"},
                  {"Wage base", "None"},
                  {"Employee liability", "None"},
                  {"Withholding rate", "None"},
                  {"Employer liability", "None"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total taxable payments", "$800.00"},
                  {" ", " "},
                  {"WITHHOLDINGS AND LIABILITIES", " "},
                  {" ", " "},
                  {"Employee liability", "$0.00"},
                  {"Total withholdings", "$43.60"},
                  {"Employer liability", "$0.00"},
              }));
}

TEST_P(OtherWithholdingTest, WithoutSettingsTheViewIsLeftAsItWas) {
  Pay({.gross = "100", .net = "90"});
  const Rows summary = Run("Summary", "", "", "");
  EXPECT_EQ(Run("Union", "", "3/1/2004", "3/31/2004"), summary);
  EXPECT_THAT(messages.shown, IsEmpty());
}

class SupplementalTest : public StatementsTest {
 protected:
  // The kinds of the journal are known once a catalogue has been built,
  // which needs a Tax Settings row.
  void SetUpHousehold() override { Settings({}); }

  Rows RunKind(const std::string& kind, const std::string& attendant = "") {
    Catalogue();
    return Run(kind, attendant, "3/1/2004", "3/31/2004");
  }
};

TEST_P(SupplementalTest, AKindWithoutTaxListsHasNoneUnderTaxes) {
  Pay({.date = "3/5/2004", .gross = "100", .supplemental = "Bonus'50''"});
  EXPECT_THAT(RunKind("Bonus"), ElementsAreArray(Rows{
                                    {"BONUS STATEMENT", " "},
                                    {"3/1/2004 to 3/31/2004", " "},
                                    {" ", " "},
                                    {"PAYMENTS", " "},
                                    {" ", " "},
                                    {"Total amount paid", "$50.00"},
                                    {"No. of payments", "1"},
                                    {" ", " "},
                                    {"TAXES/WITHHOLDINGS", " "},
                                    {" ", " "},
                                    {"     None.", " "},
                                }));
  EXPECT_EQ(view.selected(), 1);
}

// Tip items: 20 and 15 on Ann's check (two payments of one paycheck), 5.50
// on Bo's; the empty and the unreadable amounts are neither paid nor
// counted, though the empty one's tax is listed. "Tips" is another kind,
// the void check and the April one are outside. Total 40.50 in 3 payments.
TEST_P(SupplementalTest, EachItemOfTheKindIsAPaymentAndItsTaxesAreListedOnceInOrder) {
  Pay({.date = "3/5/2004",
       .supplemental = "Tip'20'Soc. Sec.|||Medicare|||'tip'15'Medicare|||FIT|||'Tips'99'SIT|||'"});
  Pay({.payee = "Bo Park",
       .date = "3/12/2004",
       .supplemental = "Tip'5.5''TIP''FUTA|||'Tip'abc''Bonus'50'SDI|||'"});
  Pay({.date = "3/19/2004", .supplemental = "Tip'100'EIC|||'", .void_check = true});
  Pay({.date = "4/2/2004", .supplemental = "Tip'7'SUI|||'"});
  const Rows rows = RunKind("TIP");
  const Rows tail(rows.begin() + 5, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{
                        {"Total amount paid", "$40.50"},
                        {"No. of payments", "3"},
                        {" ", " "},
                        {"TAXES/WITHHOLDINGS", " "},
                        {" ", " "},
                        {"     FIT", " "},
                        {"     FUTA", " "},
                        {"     Medicare", " "},
                        {"     Soc. Sec.", " "},
                    }));
  EXPECT_EQ(rows[0].description, "TIP STATEMENT");
  EXPECT_EQ(sort.ListCount(), 0);
}

TEST_P(SupplementalTest, OneAttendantCountsOnlyHerOwnItems) {
  Pay({.date = "3/5/2004", .supplemental = "Tip'20''"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .supplemental = "Tip'5''"});
  const Rows rows = RunKind("Tip", "Bo Park");
  EXPECT_EQ(AmountOf(rows, "Total amount paid"), "$5.00");
  EXPECT_EQ(AmountOf(rows, "No. of payments"), "1");
}

class NamedEntryDispatchTest : public StatementsTest {};

// Until a catalogue has found Tip in the journal, Tip is taken for the
// employer-defined withholding of that name; afterwards it is the kind of
// supplemental pay, which wins.
TEST_P(NamedEntryDispatchTest, ANameThatIsBothGetsTheSupplementalStatement) {
  Settings({{"OtherWithholdings", "Tip|1||||||||"}});
  Pay({.date = "3/5/2004", .gross = "100", .supplemental = "Tip'20''"});
  EXPECT_EQ(AmountOf(Run("Tip", "", "3/1/2004", "3/31/2004"), "Withhold flat amount"), "$1.00");
  Catalogue();
  const Rows rows = Run("tip", "", "3/1/2004", "3/31/2004");
  EXPECT_EQ(rows[0].description, "TIP STATEMENT");
  EXPECT_EQ(AmountOf(rows, "Total amount paid"), "$20.00");
}

class OtherLocaleDispatchTest : public StatementsTest {
 protected:
  OtherLocaleDispatchTest() : StatementsTest(1036) {}
};

// Outside US English "Tax Forms" is no header: it names a withholding.
TEST_P(OtherLocaleDispatchTest, TaxFormsInAnyLetterCaseRunsTheOtherWithholdingStatement) {
  Settings({{"OtherWithholdings", "Tax forms|2||||||||"}});
  for (const char* type : {"Tax Forms", "TAX FORMS", "tax forms"}) {
    const Rows rows = Run(type, "", "3/1/2004", "3/31/2004");
    ASSERT_THAT(rows, SizeIs(20)) << type;
    EXPECT_EQ(rows[0].description, "TAX FORMS STATEMENT");
    EXPECT_EQ(AmountOf(rows, "Withhold flat amount"), "$2.00");
  }
}

VELTRANE_ON_BOTH_BACKENDS(OtherWithholdingTest);
VELTRANE_ON_BOTH_BACKENDS(SupplementalTest);
VELTRANE_ON_BOTH_BACKENDS(NamedEntryDispatchTest);
VELTRANE_ON_BOTH_BACKENDS(OtherLocaleDispatchTest);

}  // namespace
}  // namespace veltrane::testing
