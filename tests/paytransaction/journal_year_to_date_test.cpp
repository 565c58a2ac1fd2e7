// The year-to-date amounts of the deductions and earnings tables: which
// stored checks count (the assistant's, paid, not void, period ending in
// the current year) and how names match.
#include "transaction_fixture.h"

namespace veltrane::testing {
namespace {

// Each stored check withholds a different power of two for Medicare, so the
// year-to-date amount tells exactly which checks were counted. This
// paycheck withholds 1.45 (10 hours at 10).
class JournalYearToDateTest : public TransactionTest {
 protected:
  void SetUpHousehold() override {
    Settings(kWeekly);
    AddAssistant("Ann", "10", "15", "Medicare|||");
    AddHours("Ann", "3/2/04", 10);
  }

  void Withheld(const std::string& payee, const char* end, const char* amount, bool paid = true,
                bool is_void = false) {
    AddPayment(payee, end, {{"withholding_liability_data", std::string("Medicare|") + amount + "|0|"}}, paid,
               is_void);
  }

  // The Medicare row of the deductions table of `name`'s paycheck.
  std::string MedicareRow(const std::string& name) {
    Init(name);
    return Shown().at("Deductions");
  }
};

TEST_P(JournalYearToDateTest, CountsOnlyTheAssistantsPaidNonVoidChecksOfTheYear) {
  Withheld("Ann", "1/1/04", "1");
  Withheld("Ann", "12/31/04", "2");
  Withheld("Ann", "12/31/03", "4");
  Withheld("Ann", "1/1/05", "8");
  Withheld("Ann", "2/6/04", "16", true, /*void=*/true);
  Withheld("Ann", "2/6/04", "32", /*paid=*/false);
  Withheld("Bob", "2/6/04", "64");
  Withheld("Anna", "2/6/04", "128");
  Withheld("Ann ", "2/6/04", "256");
  EXPECT_EQ(MedicareRow("Ann"), "Medicare|1.45|4.45|");  // 1 + 2 + this check
}

TEST_P(JournalYearToDateTest, PayeeAndTaxNamesIgnoreLetterCase) {
  Withheld("ANN", "2/6/04", "1");
  Withheld("ann", "2/13/04", "2");
  AddPayment("Ann", "2/20/04", {{"withholding_liability_data", "MEDICARE|4|0|medicare|8|0|FIT|16|0|"}});
  EXPECT_EQ(MedicareRow("Ann"), "Medicare|1.45|16.45|");
}

TEST_P(JournalYearToDateTest, AnApostropheInTheNameMatchesOnlyThatName) {
  AddAssistant("O'Brien", "10", "15", "Medicare|||");
  AddHours("O'Brien", "3/2/04", 10);
  Withheld("O'Brien", "2/6/04", "1");
  Withheld("O", "2/6/04", "2");
  Withheld("O''Brien", "2/6/04", "4");
  Withheld("o'brien", "2/13/04", "8");
  EXPECT_EQ(MedicareRow("O'Brien"), "Medicare|1.45|10.45|");
}

TEST_P(JournalYearToDateTest, APeriodEndWithATimeOfDayCountsInItsYear) {
  Withheld("Ann", "12/31/04", "1");
  Withheld("Ann", "1/1/05", "2");
  Withheld("Ann", "12/31/03", "4");
  // A file's dates are texts, which may carry a time of day; a server's are days.
  if (GetParam() == Backend::kSqlite) db->Execute("UPDATE [Payment Journal] SET end_period = end_period || ' 23:59:59'");
  EXPECT_EQ(MedicareRow("Ann"), "Medicare|1.45|2.45|");
}

TEST_P(JournalYearToDateTest, AMissingOrDamagedListAddsNothing) {
  Withheld("Ann", "1/9/04", "1");
  AddPayment("Ann", "1/16/04", {{"withholding_liability_data", Value()}});
  AddPayment("Ann", "1/23/04", {{"withholding_liability_data", "Medicare|lots|0|"}});
  AddPayment("Ann", "1/30/04", {{"withholding_liability_data", "Medicare|2|0|Medicare|x"}});
  EXPECT_EQ(MedicareRow("Ann"), "Medicare|1.45|4.45|");  // 1 + the complete 2
}

TEST_P(JournalYearToDateTest, TheCheckJustPaidCountsForTheNextOne) {
  Withheld("Ann", "2/6/04", "1");
  Init("Ann");
  ASSERT_TRUE(tx.ExecutePayment());
  EXPECT_EQ(MedicareRow("Ann"), "Medicare|1.45|3.9|");  // 1 + 1.45 stored + 1.45
}

TEST_P(JournalYearToDateTest, SupplementalItemsFollowTheSameRows) {
  AddPayment("Ann", "1/9/04", {{"supplemental_pay_data", "Bonus'1''"}});
  AddPayment("ANN", "1/16/04", {{"supplemental_pay_data", "BONUS'2''Gift'4''"}});
  AddPayment("Ann", "1/23/04", {{"supplemental_pay_data", "Bonus'8''"}}, true, /*void=*/true);
  AddPayment("Ann", "1/23/04", {{"supplemental_pay_data", "Bonus'16''"}}, /*paid=*/false);
  AddPayment("Ann", "12/31/03", {{"supplemental_pay_data", "Bonus'32''"}});
  AddPayment("Bob", "1/23/04", {{"supplemental_pay_data", "Bonus'64''"}});
  Init("Ann", "3/1/04", "3/7/04", "Bonus'25''");
  EXPECT_EQ(Shown().at("Earnings"), "Regular|10|10|100|100|Overtime|0|15|0|0|Bonus|0|0|25|28|");
}

TEST_P(JournalYearToDateTest, AnEmptyNameCountsChecksWithoutAPayee) {
  Insert("Payment Journal", {{"end_period", ParseDate("1/9/04")}, {"Paid", true}, {"Void", false},
                             {"supplemental_pay_data", "Bonus'1''"}});
  AddPayment("", "1/16/04", {{"supplemental_pay_data", "Bonus'2''"}});
  AddPayment("Ann", "1/23/04", {{"supplemental_pay_data", "Bonus'4''"}});
  Init("", "3/1/04", "3/7/04", "Bonus'25''");
  EXPECT_EQ(Shown().at("Earnings"), "Regular|0|0|0|0|Overtime|0|0|0|0|Bonus|0|0|25|28|");
}

VELTRANE_ON_BOTH_BACKENDS(JournalYearToDateTest);

}  // namespace
}  // namespace veltrane::testing
