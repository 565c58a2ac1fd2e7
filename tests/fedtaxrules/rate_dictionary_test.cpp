#include "fedtaxrules/rate_dictionary.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/locale.h"
#include "fedtaxrules/fed_tax_rules.h"

namespace veltrane {
namespace {

class RateTable : public ::testing::Test {
 protected:
  FixedLocaleProvider us_{kLocaleEnUs};
  clsFedTaxRules rules_{us_};
};

TEST_F(RateTable, HoldsTheTwentyThreeKeysInTableOrder) {
  const auto rates = rules_.GetDictionaryOfTaxRates();
  ASSERT_NE(rates, nullptr);
  std::vector<std::string> keys;
  for (const auto& [key, value] : *rates) keys.push_back(key);
  const std::vector<std::string> expected = {"c_WeeklyExemption",
                                             "c_BiweeklyExemption",
                                             "c_SemimonthlyExemption",
                                             "c_MonthlyExemption",
                                             "c_QuarterlyExemption",
                                             "c_SemiannuallyExemption",
                                             "c_AnnuallyExemption",
                                             "c_DailyExemption",
                                             "c_SSBase",
                                             "c_SSEmployeeRate",
                                             "c_SSEmployerRate",
                                             "c_SSRate",
                                             "c_MedicareEmployeeRate",
                                             "c_MedicareEmployerRate",
                                             "c_MedicareRate",
                                             "c_MedicareBase",
                                             "c_EICWageLimit",
                                             "c_EICWageLimitMarried",
                                             "c_EICLimit",
                                             "c_FUTABase",
                                             "c_FUTARate",
                                             "c_FUTAStateCredit",
                                             "c_FUTARateWithCredit"};
  EXPECT_EQ(keys, expected);
}

TEST_F(RateTable, ValuesKeepTheirStoredTypes) {
  const auto rates = rules_.GetDictionaryOfTaxRates();
  ASSERT_NE(rates, nullptr);
  EXPECT_EQ(std::get<double>(rates->At("c_WeeklyExemption")), 59.62);
  EXPECT_EQ(std::get<double>(rates->At("c_DailyExemption")), 11.92);
  EXPECT_EQ(std::get<std::int16_t>(rates->At("c_QuarterlyExemption")), 775);
  EXPECT_EQ(std::get<std::int16_t>(rates->At("c_AnnuallyExemption")), 3100);
  EXPECT_EQ(std::get<Money>(rates->At("c_SSBase")), Money::Dollars(87'900));
  EXPECT_EQ(std::get<Money>(rates->At("c_EICLimit")), Money::Dollars(1'563));
  EXPECT_EQ(std::get<Money>(rates->At("c_FUTABase")), Money::Dollars(7'000));
  EXPECT_EQ(std::get<float>(rates->At("c_SSRate")), 0.124f);
  EXPECT_EQ(std::get<float>(rates->At("c_FUTARateWithCredit")), 0.008f);
}

TEST_F(RateTable, FloatRateReadsBackWidenedNotAsTheDecimal) {
  const auto rates = rules_.GetDictionaryOfTaxRates();
  ASSERT_NE(rates, nullptr);
  EXPECT_EQ(rates->GetDouble("c_SSRate"), 0.12399999797344208);
  EXPECT_EQ(rates->GetDouble("c_MedicareEmployeeRate"), 0.014499999582767487);
}

TEST_F(RateTable, MedicareBaseIsExactToTheTenThousandth) {
  const auto rates = rules_.GetDictionaryOfTaxRates();
  ASSERT_NE(rates, nullptr);
  EXPECT_EQ(rates->GetMoney("c_MedicareBase").ticks(), 100'000'000'000'010'000);
}

TEST_F(RateTable, KeysAreCaseSensitive) {
  const auto rates = rules_.GetDictionaryOfTaxRates();
  ASSERT_NE(rates, nullptr);
  EXPECT_FALSE(rates->Contains("c_ssrate"));
  EXPECT_THROW(rates->At("C_SSRATE"), std::out_of_range);
}

TEST_F(RateTable, EachCallBuildsAnIndependentDictionary) {
  const auto first = rules_.GetDictionaryOfTaxRates();
  first->Set("c_SSRate", 0.5);
  first->Set("c_Extra", std::int16_t{1});
  const auto second = rules_.GetDictionaryOfTaxRates();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(second->size(), 23u);
  EXPECT_EQ(std::get<float>(second->At("c_SSRate")), 0.124f);
  // The computations do not read the handed-out dictionary either.
  EXPECT_EQ(rules_.GetSocialSecurityWithholding(Money::Dollars(1000), Money()), Money::Dollars(62));
}

TEST(RateDictionary, AddRefusesADuplicateAndKeepsTheFirstValue) {
  RateDictionary d;
  d.Add("c_X", 1.5);
  EXPECT_THROW(d.Add("c_X", 2.5), std::invalid_argument);
  EXPECT_EQ(d.size(), 1u);
  EXPECT_EQ(d.GetDouble("c_X"), 1.5);
}

TEST(RateDictionary, ConvertsEachTypeToMoneyAndDouble) {
  RateDictionary d;
  d.Add("i", std::int16_t{775});
  d.Add("f", 0.062f);
  d.Add("m", Money::FromTicks(12'345));
  EXPECT_EQ(d.GetMoney("i"), Money::Dollars(775));
  EXPECT_EQ(d.GetMoney("f").ticks(), 620);
  EXPECT_EQ(d.GetDouble("m"), 1.2345);
}

}  // namespace
}  // namespace veltrane
