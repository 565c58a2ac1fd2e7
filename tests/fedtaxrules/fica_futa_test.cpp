// Social Security, Medicare and FUTA liability: the float rates, the wage
// bases and the rounding to the ten-thousandth.
#include <gtest/gtest.h>

#include "common/amount_text.h"
#include "common/locale.h"
#include "fedtaxrules/fed_tax_rules.h"

namespace veltrane {
namespace {

Money Usd(std::string_view text) { return ParseAmount(text); }

class CappedTaxes : public ::testing::Test {
 protected:
  FixedLocaleProvider us_{kLocaleEnUs};
  clsFedTaxRules rules_{us_};
};

TEST_F(CappedTaxes, SocialSecurityTaxesOnlyTheWagesUnderTheBase) {
  EXPECT_EQ(FormatAmount(rules_.GetSocialSecurityWithholding(Usd("1000"), Usd("87000"))), "55.8");
  EXPECT_EQ(FormatAmount(rules_.GetSocialSecurityLiability(Usd("1000"), Usd("87000"))), "55.8");
}

TEST_F(CappedTaxes, SocialSecurityUsesTheWidenedFloatRate) {
  // 87,900 x 0.0619999989867... = 5,449.79991..., not 5,449.80.
  EXPECT_EQ(FormatAmount(rules_.GetSocialSecurityWithholding(Usd("87900"), Money())), "5449.7999");
  EXPECT_EQ(FormatAmount(rules_.GetSocialSecurityLiability(Usd("87900"), Money())), "5449.7999");
}

TEST_F(CappedTaxes, SocialSecurityKeepsFractionsOfACent) {
  EXPECT_EQ(FormatAmount(rules_.GetSocialSecurityWithholding(Usd("100"), Usd("87899.99"))),
            "0.0006");
}

TEST_F(CappedTaxes, SocialSecurityIsZeroOnceTheBaseIsReached) {
  EXPECT_EQ(rules_.GetSocialSecurityWithholding(Usd("500"), Usd("87900")), Money());
  EXPECT_EQ(rules_.GetSocialSecurityLiability(Usd("0.01"), Usd("90000")), Money());
}

TEST_F(CappedTaxes, NegativeWagesUnderTheBaseGiveANegativeTax) {
  EXPECT_EQ(FormatAmount(rules_.GetSocialSecurityWithholding(Usd("-100"), Usd("1000"))), "-6.2");
}

TEST_F(CappedTaxes, MedicareHasNoPracticalCap) {
  EXPECT_EQ(FormatAmount(rules_.GetMedicareWithholding(Usd("1000"), Usd("5000000"))), "14.5");
  EXPECT_EQ(FormatAmount(rules_.GetMedicareLiability(Usd("1000"), Money())), "14.5");
  EXPECT_EQ(FormatAmount(rules_.GetMedicareWithholding(Usd("123.45"), Money())), "1.79");
}

TEST_F(CappedTaxes, AnOverflowingSumIsAbsorbedAsZero) {
  const Money huge = Money::FromTicks(INT64_MAX - 1);
  EXPECT_EQ(rules_.GetMedicareWithholding(huge, huge), Money());
}

TEST_F(CappedTaxes, FUTATaxesUpToTheBaseExactly) {
  // The sum equals the base: the whole paycheck is taxed.
  EXPECT_EQ(FormatAmount(rules_.GetFUTALiability(Usd("200"), Value(Usd("6800")))), "12.4");
  // Over the base: only the 200 left under it.
  EXPECT_EQ(FormatAmount(rules_.GetFUTALiability(Usd("500"), Value(Usd("6800")))), "12.4");
  EXPECT_EQ(rules_.GetFUTALiability(Usd("500"), Value(Usd("7000"))), Money());
}

TEST_F(CappedTaxes, FUTAYearToDateMayBeAnyNumber) {
  EXPECT_EQ(FormatAmount(rules_.GetFUTALiability(Usd("500"), Value(6800.0))), "12.4");
  EXPECT_EQ(FormatAmount(rules_.GetFUTALiability(Usd("500"), Value(6800))), "12.4");
  // A Null year-to-date cannot be compared: the step is lost.
  EXPECT_EQ(rules_.GetFUTALiability(Usd("500"), Value()), Money());
}

}  // namespace
}  // namespace veltrane
