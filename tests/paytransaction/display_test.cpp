// What the paycheck control receives: the blocks, the tables with their
// year-to-date amounts, and stored checks.
#include "transaction_fixture.h"

namespace veltrane::testing {
namespace {

class DisplayTest : public TransactionTest {
 protected:
  void SetUpHousehold() override { Settings(kWeekly); }
  static std::vector<std::string> Members(const std::vector<std::string>& calls) {
    std::vector<std::string> names;
    for (const auto& c : calls) names.push_back(c.substr(0, c.find('=')));
    return names;
  }
};

TEST_P(DisplayTest, CurrentCheckFillsEveryMemberInOrder) {
  AddAssistant("Ann", "10", "15", "Medicare|||");
  AddHours("Ann", "3/2/04", 10, 1);
  Init("Ann", "3/1/04", "3/7/04", "", "1024");
  tx.DisplayCurrentAsCheck();
  EXPECT_EQ(Members(paycheck.calls),
            (std::vector<std::string>{"Clear", "EmployeeInfo", "EmployerInfo", "CheckDate", "CheckNumber",
                                      "PeriodStartDate", "PeriodEndDate", "payee", "OTHours", "RegHours", "GrossPay",
                                      "GrossYTD", "Earnings", "Deductions", "NetPay", "NetYTD", "Paid", "Void",
                                      "HasSuppPay"}));
  EXPECT_EQ(paycheck.last.at("CheckDate"), "3/15/2004");
  EXPECT_EQ(paycheck.last.at("CheckNumber"), "1024");
  EXPECT_EQ(paycheck.last.at("HasSuppPay"), "False");
}

TEST_P(DisplayTest, AMissingMemberLosesOnlyThatStep) {
  struct Partial : RecordingPayCheck {
    void EmployerInfo(const std::string&) override { throw MissingMemberError("EmployerInfo"); }
  };
  Partial partial;
  AddAssistant("Ann", "10", "15", "");
  OpenSets();
  tx.InitTransaction(*db, *tax_settings, *work_journal, *master, *payment_journal, *assistants, &partial, "Ann",
                     "3/1/04", "3/7/04", "", false, "");
  tx.DisplayCurrentAsCheck();
  EXPECT_EQ(partial.calls.size(), 18u);
  EXPECT_EQ(partial.last.count("EmployerInfo"), 0u);
  EXPECT_EQ(partial.last.at("HasSuppPay"), "False");
}

TEST_P(DisplayTest, EmployeeBlockLeavesOutEmptyTitleMiddleInitialAndSecondAddress) {
  AddAssistant("Ann", "10", "15", "",
               {{"Title", ""}, {"mi", ""}, {"address1", "12 Elm St"}, {"address2", ""}, {"city", "Springfield"},
                {"state", "IL"}, {"zip", "62701"}, {"social_security_number", "123-45-6789"}});
  AddAssistant("Bob", "10", "15", "",
               {{"Title", "Mr."}, {"first_name", "Bob"}, {"mi", "J"}, {"address1", "1 Oak"}, {"address2", "Apt 2"},
                {"social_security_number", "987"}});
  Init("Ann");
  EXPECT_EQ(Shown().at("EmployeeInfo"), "Ann Lee\r\n12 Elm St\r\nSpringfield, IL 62701\r\n123-45-6789");
  Init("Bob");
  // Null city, state and zip print as nothing but keep the line.
  EXPECT_EQ(Shown().at("EmployeeInfo"), "Mr. Bob J Lee\r\n1 Oak\r\nApt 2\r\n,  \r\n987");
  Init("Nobody");
  EXPECT_EQ(Shown().at("EmployeeInfo"), "");
}

TEST_P(DisplayTest, EmployerBlockMarksMissingAddressAndIdPending) {
  Insert("Employer", {{"first_name", "Pat"}, {"last_name", "Moss"}, {"address1", ""}, {"city", "Salem"},
                      {"state", "OR"}, {"zip", "97301"}, {"federal_employer_id", ""}});
  AddAssistant("Ann", "10", "15", "");
  Init("Ann");
  EXPECT_EQ(Shown().at("EmployerInfo"), "Pat Moss\r\nAddress Info.: Pending\r\nSalem, OR 97301\r\nEmployer ID: Pending");
}

TEST_P(DisplayTest, EmployerNullFieldsPrintNothing) {
  // Null address1 gives an empty second line; a Null city drops the city
  // line; the identification number is shown when there is one.
  Insert("Employer", {{"Title", "Dr."}, {"first_name", "Pat"}, {"last_name", "Moss"}, {"state", "OR"},
                      {"zip", "97301"}, {"federal_employer_id", "12-3456789"}});
  AddAssistant("Ann", "10", "15", "");
  Init("Ann");
  EXPECT_EQ(Shown().at("EmployerInfo"), "Dr. Pat Moss\r\n\r\nEmployer ID: 12-3456789");
}

TEST_P(DisplayTest, EmployerWithoutLastNameShowsNoEmployer) {
  Insert("Employer", {{"first_name", "Pat"}, {"last_name", ""}, {"address1", "1 Main"}});
  AddAssistant("Ann", "10", "15", "");
  Init("Ann");
  EXPECT_EQ(Shown().at("EmployerInfo"), "");
}

TEST_P(DisplayTest, SupplementalYearToDateCountsEarlierItemsOfTheSameName) {
  AddAssistant("Ann", "10", "15", "");
  AddPayment("Ann", "1/9/04", {{"supplemental_pay_data", "Bonus'40''Gift'7''"}});
  AddPayment("Ann", "2/6/04", {{"supplemental_pay_data", "bonus'60''"}});
  AddPayment("Ann", "2/13/04", {{"supplemental_pay_data", "Bonus'1000''"}}, true, /*void=*/true);
  AddPayment("Ann", "12/31/03", {{"supplemental_pay_data", "Bonus'1000''"}});
  AddPayment("Bob", "2/13/04", {{"supplemental_pay_data", "Bonus'1000''"}});
  AddPayment("Ann", "2/20/04", {{"supplemental_pay_data", Value()}});
  Init("Ann", "3/1/04", "3/7/04", "Bonus'25''");
  const auto shown = Shown();
  EXPECT_EQ(shown.at("Earnings"), "Regular|0|10|0|0|Overtime|0|15|0|0|Bonus|0|0|25|125|");
  EXPECT_EQ(shown.at("HasSuppPay"), "True");
}

TEST_P(DisplayTest, EicRowNeedsAnElectionListAndDeductionsHaveNoFuta) {
  AddPayment("Ann", "2/6/04", {{"eic_pay", M("12")}, {"withholding_liability_data", "Medicare|1|1|FUTA|0|6|"}});
  AddAssistant("Ann", "10", "15", "Medicare|||FUTA|||");
  AddAssistant("Bob", "10", "15", "");
  AddPayment("Bob", "2/6/04", {{"eic_pay", M("12")}});
  AddHours("Ann", "3/2/04", 10);
  Init("Ann");
  auto shown = Shown();
  // Ann elects no EIC but was paid some this year: the row shows it.
  EXPECT_EQ(shown.at("Earnings"), "Regular|10|10|100|100|Overtime|0|15|0|0|EIC|0|0|0|12|");
  EXPECT_EQ(shown.at("Deductions"), "Medicare|1.45|2.45|");
  Init("Bob");
  EXPECT_EQ(Shown().at("Earnings"), "Regular|0|10|0|0|Overtime|0|15|0|0|");
}

TEST_P(DisplayTest, PaidCheckShowsTheStoredRowAndUnknownIdClears) {
  AddPayment("Ann", "3/5/04", {{"check_number", "77"}, {"gross_pay", M("10")}, {"net_pay", M("9")},
                               {"Earnings", "E|"}, {"Deductions", "D|"}});
  OpenSets();
  RecordingPayCheck shown;
  tx.DisplayPaidCheck(&shown, *payment_journal, 999);
  EXPECT_EQ(shown.calls, std::vector<std::string>{"Clear="});
  shown = RecordingPayCheck();
  shown.RegHours(40);
  tx.DisplayPaidCheck(&shown, *payment_journal, 1);
  EXPECT_EQ(Members(shown.calls),
            (std::vector<std::string>{"RegHours", "EmployeeInfo", "EmployerInfo", "CheckDate", "CheckNumber",
                                      "PeriodStartDate", "PeriodEndDate", "Earnings", "Deductions", "GrossPay",
                                      "NetPay", "payee", "Void", "Paid"}));
  EXPECT_EQ(shown.last.at("CheckDate"), "3/5/2004");
  EXPECT_EQ(shown.last.at("CheckNumber"), "77");
  EXPECT_EQ(shown.last.at("NetPay"), "9");
  EXPECT_EQ(shown.last.at("Paid"), "True");
  EXPECT_EQ(shown.last.count("GrossYTD"), 0u);  // Null in the row: those steps are lost
}

VELTRANE_ON_BOTH_BACKENDS(DisplayTest);

}  // namespace
}  // namespace veltrane::testing
