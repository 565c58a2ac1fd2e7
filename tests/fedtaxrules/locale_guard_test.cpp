// The locale guard: outside English (United States) nothing is computed.
#include <gtest/gtest.h>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/locale.h"
#include "common/sqlite_database.h"
#include "fedtaxrules/fed_tax_rules.h"

namespace veltrane {
namespace {

class SwitchableLocale final : public LocaleProvider {
 public:
  std::uint32_t UserDefaultLocale() const override {
    ++reads;
    return id;
  }
  std::uint32_t id = kLocaleEnUs;
  mutable int reads = 0;
};

TEST(LocaleGuard, OtherLocalesGetZeroAndNoDictionary) {
  const FixedLocaleProvider german(1031);
  const clsFedTaxRules rules(german);
  const Money w = Money::Dollars(1000);
  EXPECT_EQ(rules.GetDictionaryOfTaxRates(), nullptr);
  EXPECT_EQ(rules.GetSocialSecurityWithholding(w, Money()), Money());
  EXPECT_EQ(rules.GetSocialSecurityLiability(w, Money()), Money());
  EXPECT_EQ(rules.GetMedicareWithholding(w, Money()), Money());
  EXPECT_EQ(rules.GetMedicareLiability(w, Money()), Money());
  EXPECT_EQ(rules.GetFUTALiability(w, Value(Money())), Money());
  EXPECT_EQ(rules.GetEICPayment(Money::Dollars(100), Money(), Money(), "Weekly", 0), Money());
  EXPECT_EQ(rules.GetExemptionAmount("Weekly"), Money());
  EXPECT_EQ(rules.GetFITWithholding(w, "Single", 0, "Weekly"), Money());
  EXPECT_EQ(rules.GetWeeklyFederalWithholding(w, "Single", 0, "Weekly"), Money());
  EXPECT_EQ(rules.GetDailyFederalWithholding(w, "Single", 0, "Daily"), Money());

  const auto db = OpenSqliteDatabase(":memory:");
  CreatePayrollSchema(*db);
  {
    const auto journal = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
    journal->AddNew();
    journal->SetField("Date", MakeDate(2004, 3, 1));
    journal->SetField("payee", "Ann");
    journal->SetField("gross_pay", Money::Dollars(1000));
    journal->SetField("eic_pay", Money());
    journal->SetField("withholding_liability_data", "FUTA|0|62|");
    journal->Update();
  }
  EXPECT_EQ(FormatAmount(
                clsFedTaxRules(FixedLocaleProvider(kLocaleEnUs)).GetFUTAWages(*db, "Ann", "", "")),
            "1000");
  EXPECT_EQ(rules.GetFUTAWages(*db, "Ann", "", ""), Money());
  EXPECT_EQ(rules.GetFUTAWages(*db, "All Assistants", "", ""), Money());
}

TEST(LocaleGuard, TheLocaleIsReadOnceAtConstruction) {
  SwitchableLocale locale;
  const clsFedTaxRules rules(locale);
  locale.id = 1031;
  EXPECT_EQ(FormatAmount(rules.GetMedicareWithholding(Money::Dollars(1000), Money())), "14.5");
  EXPECT_NE(rules.GetDictionaryOfTaxRates(), nullptr);
  EXPECT_EQ(locale.reads, 1);
}

}  // namespace
}  // namespace veltrane
