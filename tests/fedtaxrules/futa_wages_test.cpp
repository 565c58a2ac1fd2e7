// FUTA wages read back from a real payment journal of either kind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/locale.h"
#include "common/payroll_schema.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "support/test_databases.h"

namespace veltrane {
namespace {

constexpr const char* kWithFUTA = "Soc. Sec.|62|62|Medicare|14.5|14.5|FUTA|0|62|";
constexpr const char* kWithoutFUTA = "Soc. Sec.|62|62|Medicare|14.5|14.5|";

class FUTAWages : public ::testing::TestWithParam<testing::Backend> {
 protected:
  void SetUp() override {
    db_ = testing::NewPayrollDatabase(GetParam());
    if (db_) journal_ = db_->OpenRecordset("Payment Journal", RecordsetType::kTable);
  }

  struct Check {
    std::string payee;
    Date date = MakeDate(2004, 3, 1);
    Value gross;
    Value eic = Value(Money());
    std::string record = kWithFUTA;
    bool is_void = false;
  };

  void Add(const Check& c) {
    journal_->AddNew();
    journal_->SetField("Date", c.date);
    journal_->SetField("payee", c.payee);
    journal_->SetField("gross_pay", c.gross);
    journal_->SetField("eic_pay", c.eic);
    journal_->SetField("withholding_liability_data", c.record);
    journal_->SetField("Paid", true);
    journal_->SetField("Void", c.is_void);
    journal_->Update();
  }
  void Add(std::string payee, std::string_view gross, Date date = MakeDate(2004, 3, 1)) {
    Add({.payee = std::move(payee), .date = date, .gross = ParseAmount(gross)});
  }

  std::string Wages(std::string_view attendant, std::string_view start = "3/1/04",
                    std::string_view end = "3/31/04") {
    return FormatAmount(rules_.GetFUTAWages(*db_, attendant, start, end));
  }

  FixedLocaleProvider us_{kLocaleEnUs};
  clsFedTaxRules rules_{us_};
  std::unique_ptr<Database> db_;
  std::unique_ptr<Recordset> journal_;
};

TEST_P(FUTAWages, OneAttendantIsCappedAtTheWageBase) {
  Add("Ann", "3000");
  Add("Ann", "3000");
  Add("Ann", "2000");
  EXPECT_EQ(Wages("Ann"), "7000");
}

TEST_P(FUTAWages, AdvanceEICIsNotFUTAWages) {
  Add({.payee = "Ann", .gross = ParseAmount("500"), .eic = ParseAmount("20")});
  EXPECT_EQ(Wages("Ann"), "480");
}

TEST_P(FUTAWages, OnlyPaychecksCarryingFUTACount) {
  Add({.payee = "Ann", .gross = ParseAmount("100"), .record = kWithoutFUTA});
  Add({.payee = "Ann", .gross = ParseAmount("200"), .record = "futa|0|12.4|"});
  Add({.payee = "Ann", .gross = ParseAmount("400"), .record = ""});
  EXPECT_EQ(Wages("Ann"), "200");
}

TEST_P(FUTAWages, VoidPaychecksAreLeftOut) {
  Add("Ann", "1000");
  Add({.payee = "Ann", .gross = ParseAmount("900"), .is_void = true});
  Add({.payee = "Bob", .gross = ParseAmount("800"), .is_void = true});
  EXPECT_EQ(Wages("Ann"), "1000");
  EXPECT_EQ(Wages("All Assistants"), "1000");
}

TEST_P(FUTAWages, ARowWithNullPayAddsNothing) {
  Add("Ann", "300");
  Add({.payee = "Ann", .gross = Value()});
  Add({.payee = "Ann", .gross = ParseAmount("50"), .eic = Value()});
  EXPECT_EQ(Wages("Ann"), "300");
}

TEST_P(FUTAWages, AllAssistantsCapsEachAttendantSeparately) {
  Add("Ann", "5000");
  Add("Bob", "1500");
  Add("Ann", "4000");
  EXPECT_EQ(Wages("All Assistants"), "8500");
  EXPECT_EQ(Wages("all assistants"), "8500");
}

TEST_P(FUTAWages, ARowWithoutAPayeeNamesNobody) {
  Add("Ann", "100");
  Add("", "200");
  EXPECT_EQ(Wages("All Assistants"), "100");
}

TEST_P(FUTAWages, PayeesDifferingOnlyInCaseAreOneAttendant) {
  Add("Ann", "4000");
  Add("ANN", "4000");
  EXPECT_EQ(Wages("ann"), "7000");
  EXPECT_EQ(Wages("All Assistants"), "7000");
}

TEST_P(FUTAWages, TheCapAppliesToTheQueriedPeriod) {
  Add("Ann", "6000", MakeDate(2004, 2, 15));
  Add("Ann", "5000", MakeDate(2004, 3, 1));  // first day of the period
  Add("Ann", "100", MakeDate(2004, 3, 31));  // last day of the period
  Add("Ann", "900", MakeDate(2004, 4, 1));
  EXPECT_EQ(Wages("Ann"), "5100");
  EXPECT_EQ(Wages("Ann", "1/1/2004", "12/31/2004"), "7000");
  EXPECT_EQ(Wages("All Assistants", "", ""), "7000");
}

TEST_P(FUTAWages, NoRowsInThePeriodGiveZero) {
  EXPECT_EQ(Wages("All Assistants"), "0");
  Add("Ann", "1000", MakeDate(2004, 6, 1));
  EXPECT_EQ(Wages("All Assistants"), "0");
  EXPECT_EQ(Wages("Ann"), "0");
}

TEST_P(FUTAWages, ANameWithAnApostropheMatchesOnlyItself) {
  Add("O'Brien", "1200");
  Add("O", "300");
  EXPECT_EQ(Wages("O'Brien"), "1200");
  EXPECT_EQ(Wages("All Assistants"), "1500");
}

TEST_P(FUTAWages, DateTextThatIsNotADateGivesZero) {
  Add("Ann", "1000");
  EXPECT_EQ(Wages("Ann", "3/1/04# OR #1/1/01", "3/31/04"), "0");
  EXPECT_EQ(Wages("All Assistants", "someday", "3/31/04"), "0");
  EXPECT_EQ(Wages("Ann", "3/1/04", ""), "0");
}

VELTRANE_ON_BOTH_BACKENDS(FUTAWages);

}  // namespace
}  // namespace veltrane
