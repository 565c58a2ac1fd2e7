// The state tax statements (SIT, SDI, SUI), the wage base lowered by the
// employees' exemption allowances, and the rates as the settings hold them.
#include <gmock/gmock.h>

#include "assistant_rows.h"
#include "finstatements/tax_definition.h"
#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::SizeIs;

const std::string kSitMessage =
    "Unable to adjust base with\r\nexemption allowances.\r\n\r\nThe program could not locate "
    "assistant\r\ndata to adjust the taxable wage base\r\nfor the tax:\r\n\r\nSIT\r\n\r\nThe "
    "program will continue without\r\nthe adjustment.\r\n\r\n";

class StateTest : public StatementsTest {};

// Taxable: 1,000 + (520 - 20 EIC) = 1,500; Bo's check carries no SIT.
// Withheld 30 + 15 = 45; employee liability 3% of 1,500 = 45.00.
TEST_P(StateTest, IncomeTaxWithoutAllowancesTakesTheTaxablePaymentsAsTheBase) {
  Settings({{"SITRate", "3"}});
  Pay({.date = "3/5/2004", .gross = "1000", .withholding = "SIT|30|0|Soc. Sec.|62|62|"});
  Pay({.date = "3/12/2004", .gross = "520", .eic = "20", .withholding = "SIT|15|0|"});
  Pay({.payee = "Bo Park", .date = "3/19/2004", .gross = "400", .withholding = "FIT|10|0|"});
  EXPECT_THAT(Run("SIT", "All Assistants", "3/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"STATE INCOME TAX STATEMENT", " "},
                  {"3/1/2004 TO 3/31/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Wage base limit: ", "None"},
                  {"Wage base reduced by exemptions: ", "No"},
                  {"Tax rate:", "3.00%"},
                  {"Employer tax rate", "0.00%"},
                  {"Employee tax rate", "3.00%"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total taxable payments", "$1,500.00"},
                  {"Wage base adjusted by exemptions", "$1,500.00"},
                  {" ", " "},
                  {"WITHHOLDINGS & LIABILITIES", " "},
                  {" ", " "},
                  {"Total withholdings", "$45.00"},
                  {"Employee liability", "$45.00"},
                  {"Employer liability", "$0.00"},
              }));
  EXPECT_EQ(view.selected(), 1);
  // No allowance is set, so no assistant is looked up (there are none).
  EXPECT_THAT(messages.shown, IsEmpty());
}

// Ann had 800 before February and 1,000 in the period: 200 fit under the
// 1,000 base; Bo's 500 all fit. Limited 700, excess 1,500 - 700 = 800.
// Exemptions are off, so Ann's Single election and the Single allowance of
// 500 play no part: the base stays 700. Employee 1.2% of 700 = 8.40,
// employer 0.5% of 700 = 3.50; withheld 8.40 + 3.60 + 6 = 18.00.
TEST_P(StateTest, DisabilityInsuranceWithoutExemptionsTakesThePaymentsLimitedByTheBase) {
  Settings({{"SDIBase", "1000"},
            {"SDIEmployeeRate", "1.2"},
            {"SDIWithholding", "1.2"},
            {"SDIEmployerRate", "0.5"},
            {"SDISingle", "500"},
            {"SDIUseExemptions", false}});
  AddAssistant(*db, "Ann Lee", "SDI|Single|1|");
  Pay({.date = "1/9/2004", .gross = "800", .withholding = "SDI|9.6|4|"});
  Pay({.date = "2/6/2004", .gross = "700", .withholding = "SDI|8.4|3.5|"});
  Pay({.date = "3/5/2004", .gross = "300", .withholding = "SDI|3.6|1.5|"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "500", .withholding = "SDI|6|2.5|"});
  EXPECT_THAT(Run("SDI", "", "2/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"SDI STATEMENT", " "},
                  {"2/1/2004 TO 3/31/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Wage base limit: ", "$1,000.00"},
                  {"Wage base reduced by exemptions: ", "No"},
                  {"Employee tax rate", "1.20%"},
                  {"Withholding rate:", "1.20%"},
                  {"Employer tax rate", "0.50%"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total taxable payments", "$1,500.00"},
                  {"Payments limited by base", "$700.00"},
                  {"Payments in excess of base", "$800.00"},
                  {"Wage base adjusted by exemptions", "$700.00"},
                  {" ", " "},
                  {"WITHHOLDINGS AND LIABILITIES", " "},
                  {" ", " "},
                  {"Employee liability", "$8.40"},
                  {"Total withholdings", "$18.00"},
                  {"Employer liability", "$3.50"},
              }));
  EXPECT_THAT(messages.shown, IsEmpty());
}

// 3,000 + 2,500 = 5,500, all under the 10,000 base from 1 January. Ann's
// Head of Household election with 2 exemptions at 1,000 each lowers it to
// 3,500; employer 2.7% of 3,500 = 94.50 (the single-precision 2.7 adds
// 0.0000017, far below a cent); no employee rate, so 0.
TEST_P(StateTest, UnemploymentInsuranceLowersTheBaseByTheHouseholdAllowances) {
  Settings({{"SUIBase", "10000"},
            {"SUIEmployerRate", "2.7"},
            {"SUIMarried", "750"},
            {"SUIHousehold", "1000"},
            {"SUIUseExemptions", "True"},
            {"SUIState", "Ohio"},
            {"SUIReportingNumber", "123-45"},
            {"SUIWithholdingName", "OH SUI"}});
  AddAssistant(*db, "Ann Lee", "FIT|Single|1|SUI|Head of Household|2|");
  Pay({.date = "1/9/2004", .gross = "3000", .withholding = "SUI|0|81|"});
  Pay({.date = "2/6/2004", .gross = "2500", .withholding = "SUI|0|67.5|"});
  EXPECT_THAT(Run("SUI", "All Assistants", "1/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"SUI STATEMENT", " "},
                  {"1/1/2004 TO 3/31/2004", " "},
                  {" ", " "},
                  {"TAX INFORMATION", " "},
                  {" ", " "},
                  {"Wage base limit: ", "$10,000.00"},
                  {"Wage base reduced by exemptions: ", "Yes"},
                  {"Employee tax rate", "0.00%"},
                  {"Withholding rate:", "0.00%"},
                  {"Employer tax rate", "2.70%"},
                  {"Exemption allowances", " "},
                  {"     Married", "$750.00"},
                  {"     Single", "Not specified!"},
                  {"     Head of household", "$1,000.00"},
                  {" ", " "},
                  {"FUTA Credit", " "},
                  {" ", " "},
                  {"Contributions paid to", "Ohio"},
                  {"State reporting number", "123-45"},
                  {"Designated SUI tax name", "OH SUI"},
                  {" ", " "},
                  {"PAYMENTS", " "},
                  {" ", " "},
                  {"Total taxable payments", "$5,500.00"},
                  {"Payments limited by base", "$5,500.00"},
                  {"Payments in excess of base", "$0.00"},
                  {"Wage base adjusted by exemptions", "$3,500.00"},
                  {" ", " "},
                  {"WITHHOLDINGS AND LIABILITIES", " "},
                  {" ", " "},
                  {"Employee liability", "$0.00"},
                  {"Total withholdings", "$0.00"},
                  {"Employer liability", "$94.50"},
              }));
  EXPECT_THAT(messages.shown, IsEmpty());
}

// Ann (Single, 1 x 500) is found; Bo has no Assistants row, so the
// adjustment stops with the message and the base stays 1,000 + 600.
// Employee liability 2% of 1,600 = 32.00.
TEST_P(StateTest, APayeeWithoutAnAssistantsRowLeavesTheBaseUnadjustedWithAMessage) {
  Settings({{"SITRate", "2"}, {"SITSingle", "500"}});
  AddAssistant(*db, "Ann Lee", "SIT|Single|1|");
  Pay({.date = "3/5/2004", .gross = "1000", .withholding = "SIT|20|0|"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "600", .withholding = "SIT|12|0|"});
  const Rows rows = Run("SIT", "All Assistants", "3/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "Wage base reduced by exemptions: "), "Yes");
  EXPECT_EQ(AmountOf(rows, "Wage base adjusted by exemptions"), "$1,600.00");
  EXPECT_EQ(AmountOf(rows, "Employee liability"), "$32.00");
  ASSERT_THAT(messages.shown, SizeIs(1));
  EXPECT_EQ(messages.shown[0].text, kSitMessage);
  EXPECT_EQ(messages.shown[0].title, "Paystead");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::kOk);
}

// The same settings for Ann alone: 1,000 - 500 = 500, 2% = 10.00.
TEST_P(StateTest, IncomeTaxOfOneAttendantLowersHerBaseByHerAllowance) {
  Settings({{"SITRate", "2"}, {"SITSingle", "500"}});
  AddAssistant(*db, "Ann Lee", "SIT|Single|1|");
  Pay({.date = "3/5/2004", .gross = "1000", .withholding = "SIT|20|0|"});
  Pay({.payee = "Bo Park", .date = "3/5/2004", .gross = "600", .withholding = "SIT|12|0|"});
  const Rows rows = Run("SIT", "Ann Lee", "3/1/2004", "3/31/2004");
  EXPECT_EQ(AmountOf(rows, "Total taxable payments"), "$1,000.00");
  EXPECT_EQ(AmountOf(rows, "Wage base adjusted by exemptions"), "$500.00");
  EXPECT_EQ(AmountOf(rows, "Employee liability"), "$10.00");
  EXPECT_EQ(AmountOf(rows, "     Single"), "$500.00");
  EXPECT_EQ(AmountOf(rows, "     Married"), "Not specified!");
  EXPECT_THAT(messages.shown, IsEmpty());
}

// Without a wage base there is no base to limit or adjust: the taxable
// payments are the base. 1% of 250 = 2.50.
TEST_P(StateTest, DisabilityInsuranceWithoutABaseHasOnlyTheTaxablePayments) {
  Settings({{"SDIEmployeeRate", "1"}});
  Pay({.date = "3/5/2004", .gross = "250", .withholding = "SDI|2.5|0|"});
  const Rows rows = Run("sdi", "", "3/1/2004", "3/31/2004");
  const Rows payments(rows.begin() + 10, rows.end());
  EXPECT_THAT(payments, ElementsAreArray(Rows{
                            {" ", " "},
                            {"PAYMENTS", " "},
                            {" ", " "},
                            {"Total taxable payments", "$250.00"},
                            {" ", " "},
                            {"WITHHOLDINGS AND LIABILITIES", " "},
                            {" ", " "},
                            {"Employee liability", "$2.50"},
                            {"Total withholdings", "$2.50"},
                            {"Employer liability", "$0.00"},
                        }));
  EXPECT_EQ(AmountOf(rows, "Wage base limit: "), "None");
}

// Exemptions count only when the use-exemptions setting holds True, a
// non-zero number or "True" in any letter case.
TEST_P(StateTest, UseExemptionsIsTrueOnlyForTrueOrANonZeroNumber) {
  const std::vector<std::pair<Value, std::string>> cases = {
      {Value(true), "Yes"}, {Value("TRUE"), "Yes"}, {Value("-1"), "Yes"},
      {Value(2.5), "Yes"},  {Value(false), "No"},   {Value(""), "No"},
      {Value(), "No"},      {Value("yes"), "No"},   {Value("0"), "No"}};
  for (const auto& [setting, shown] : cases) {
    db->Execute("DELETE FROM [Tax Settings]");
    Settings({{"SDIBase", "1000"}, {"SDISingle", "100"}, {"SDIUseExemptions", setting}});
    Statements();
    EXPECT_EQ(
        AmountOf(Run("SDI", "", "3/1/2004", "3/31/2004"), "Wage base reduced by exemptions: "),
        shown)
        << setting.ToText();
  }
}

TEST_P(StateTest, WithoutSettingsEachStateTaxSaysItIsNotConfigured) {
  for (const std::string tax : {"SIT", "SDI", "SUI"}) {
    messages.shown.clear();
    Run("Summary", "", "", "");
    EXPECT_THAT(Run(tax, "", "1/1/2004", "3/31/2004"),
                ElementsAreArray(Rows{{tax + " STATEMENT", " "},
                                      {"1/1/2004 TO 3/31/2004", " "},
                                      {" ", " "},
                                      {"Tax not configured.", " "}}));
    ASSERT_THAT(messages.shown, SizeIs(1)) << tax;
    EXPECT_EQ(messages.shown[0].text,
              "Unable to print " + tax + " statement.\r\n\r\nThe " + tax +
                  " statement cannot be displayed\r\n\r\nbecause the tax has not been\r\n"
                  "configured.\r\n\r\nUse the Tax Settings dialog to configure\r\nthe tax and "
                  "try again.\r\n\r\n");
    EXPECT_EQ(messages.shown[0].title, "Paystead");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::kExclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::kOk);
  }
}

TEST_P(StateTest, StateTaxesMatchWhateverTheirLetterCase) {
  Settings({{"SITRate", "1"}});
  EXPECT_EQ(Run("sit", "", "", "").front().description, "STATE INCOME TAX STATEMENT");
  EXPECT_EQ(Run("Sdi", "", "", "").front().description, "SDI STATEMENT");
  EXPECT_EQ(Run("sUI", "", "", "").front().description, "SUI STATEMENT");
}

// The base less each payee's allowance for the filing status and number of
// their election of the tax.
class ExemptionsTest : public StatementsTest {
 protected:
  // SIT with the allowances Married 250, Single 500, Head of Household 1,000.
  const std::vector<std::string> sit_ = {"SIT", "", "", "2", "0", "2", "250", "500", "1000"};

  Money Adjust(const std::string& attendant, const char* base = "5000",
               const std::vector<std::string>* definition = nullptr) {
    return FinStmntsProbe::AdjustBase(Statements(), definition ? *definition : sit_, M(base),
                                      attendant, "3/1/2004", "3/31/2004");
  }
};

TEST_P(ExemptionsTest, HeadOfHouseholdWithTwoExemptionsLowersTheBaseByTwiceItsAllowance) {
  AddAssistant(*db, "Ann Lee", "FIT|Married|4|SIT|Head of Household|2|");
  EXPECT_EQ(Adjust("Ann Lee"), M("3000"));
  EXPECT_THAT(messages.shown, IsEmpty());
}

// Married 3 x 250 = 750 for Pat O'Brien, whose name is quoted in the find.
TEST_P(ExemptionsTest, ANameWithAnApostropheFindsItsRow) {
  AddAssistant(*db, "Pat O'Brien", "SIT|married|3|");
  EXPECT_EQ(Adjust("pat o'brien"), M("4250"));
  EXPECT_THAT(messages.shown, IsEmpty());
}

// Ann: Head of Household 2 x 1,000; Bo: Single 1 x 500; Cy elects SIT with
// an empty number (0 allowances); Di elects only SDI (nothing for SIT).
// 5,000 - 2,500 = 2,500.
TEST_P(ExemptionsTest, AllAssistantsAddsTheAllowancesOfEveryPayeeOfThePeriod) {
  AddAssistant(*db, "Ann Lee", "SIT|Head of Household|2|");
  AddAssistant(*db, "Bo Park", "SIT|Single|1|SIT|Married|9|");
  AddAssistant(*db, "Cy Moss", "SIT|Single||");
  AddAssistant(*db, "Di Ray", "SDI|Single|2|");
  AddAssistant(*db, "Ed Fox", "SIT|Married|4|");  // paid only outside the period
  for (const char* payee : {"Ann Lee", "Bo Park", "Cy Moss", "Di Ray"}) {
    Pay({.payee = payee, .date = "3/5/2004", .gross = "100"});
  }
  Pay({.payee = "Ed Fox", .date = "4/1/2004", .gross = "100"});
  EXPECT_EQ(Adjust("All Assistants"), M("2500"));
  EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_P(ExemptionsTest, AnElectionWithoutFilingStatusOrAllowanceAddsNothing) {
  AddAssistant(*db, "Ann Lee", "SIT||2|");
  EXPECT_EQ(Adjust("Ann Lee"), M("5000"));
  const std::vector<std::string> no_household = {"SIT", "", "", "2", "0", "2", "250", "500", ""};
  db->Execute("DELETE FROM Assistants");
  AddAssistant(*db, "Ann Lee", "SIT|Head of Household|2|");
  EXPECT_EQ(Adjust("Ann Lee", "5000", &no_household), M("5000"));
  EXPECT_THAT(messages.shown, IsEmpty());
}

// A number that is no whole number from 0 to 255 is not wrapped into a
// byte: the adjustment fails with the message and the base is kept.
TEST_P(ExemptionsTest, ANumberOutsideAByteOrNoNumberKeepsTheBaseWithTheMessage) {
  for (const char* number : {"256", "-1", "two"}) {
    db->Execute("DELETE FROM Assistants");
    AddAssistant(*db, "Ann Lee", std::string("SIT|Single|") + number + "|");
    messages.shown.clear();
    EXPECT_EQ(Adjust("Ann Lee"), M("5000")) << number;
    ASSERT_THAT(messages.shown, SizeIs(1)) << number;
    EXPECT_EQ(messages.shown[0].text, kSitMessage);
  }
  db->Execute("DELETE FROM Assistants");
  AddAssistant(*db, "Ann Lee", "SIT|Single|255|");
  EXPECT_EQ(Adjust("Ann Lee", "200000"), M("72500"));  // 200,000 - 255 x 500
}

TEST_P(ExemptionsTest, AnAllowanceThatIsNoAmountKeepsTheBaseWithTheMessage) {
  AddAssistant(*db, "Ann Lee", "SIT|Single|1|");
  const std::vector<std::string> bad = {"SIT", "", "", "2", "0", "2", "", "lots", ""};
  EXPECT_EQ(Adjust("Ann Lee", "5000", &bad), M("5000"));
  EXPECT_THAT(messages.shown, SizeIs(1));
}

TEST_P(ExemptionsTest, AnAttendantWithoutARowKeepsTheBaseWithTheMessage) {
  EXPECT_EQ(Adjust("Nobody"), M("5000"));
  ASSERT_THAT(messages.shown, SizeIs(1));
  EXPECT_EQ(messages.shown[0].title, "Paystead");
}

// A rate is read in single precision: 2.7 is 2.7000000476837158, so a
// million dollars at 2.7% is 27,000.000477, 27,000.0005 to the
// ten-thousandth (a rate read in double would give 27,000.0000).
TEST(TaxDefinitionRatesTest, RatesAreReadInSinglePrecisionAndMissingOnesAreZero) {
  EXPECT_EQ(RateTimes("2.7", Money::Dollars(1000000)), Money::FromTicks(270000005));
  EXPECT_EQ(RateTimes("", Money::Dollars(1000)), Money());
  EXPECT_EQ(PercentText("3.5"), "3.50%");
  EXPECT_EQ(PercentText(""), "0.00%");
  EXPECT_EQ(PercentText("abc"), "0.00%");
  EXPECT_EQ(PercentText("1e40"), "0.00%");  // beyond single precision
}

VELTRANE_ON_BOTH_BACKENDS(StateTest);
VELTRANE_ON_BOTH_BACKENDS(ExemptionsTest);

}  // namespace
}  // namespace veltrane::testing
