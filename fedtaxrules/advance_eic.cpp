// Advance earned income credit: one table of three bands per pay period and
// spouse-filing code.
#include <array>

#include "common/step.h"
#include "common/tax_names.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "fedtaxrules/federal_rates.h"

namespace veltrane {
namespace {

using federal2004::kEICLimit;
using federal2004::kEICWageLimit;
using federal2004::WholeDollars;

constexpr double kPhaseInRate = 0.204;
constexpr double kPhaseOutRate = 0.09588;

// Wages up to `phase_in_top` earn kPhaseInRate of themselves; wages up to
// `flat_top` earn `flat`; above it the flat amount shrinks by kPhaseOutRate
// of the excess, never below 0.
struct EICBands {
  Money phase_in_top;
  Money flat_top;
  double flat;
  consteval EICBands(std::int64_t a, std::int64_t b, int f)
      : phase_in_top(WholeDollars(a)), flat_top(WholeDollars(b)), flat(f) {}
};

constexpr int kSpouseFilingCodes = 3;

// Per pay period (PayPeriod order), per spouse-filing code 0 (single or head
// of household), 1 (married, spouse without a certificate), 2 (married, both
// certified): top of phase-in / top of flat band / flat amount.
constexpr std::array<std::array<EICBands, kSpouseFilingCodes>, kPayPeriodCount> kEICTable = {{
    /* Weekly       */ {{{147, 270, 30}, {147, 289, 30}, {73, 144, 15}}},
    /* Biweekly     */ {{{294, 540, 60}, {294, 578, 60}, {147, 289, 30}}},
    /* Semimonthly  */ {{{319, 585, 65}, {319, 626, 65}, {159, 313, 32}}},
    /* Monthly      */ {{{638, 1170, 130}, {638, 1253, 130}, {319, 626, 65}}},
    /* Quarterly    */ {{{1915, 3510, 391}, {1915, 3760, 391}, {957, 1880, 195}}},
    /* Semiannually */ {{{3830, 7020, 781}, {3830, 7520, 781}, {1915, 3760, 391}}},
    /* Annually     */ {{{7660, 14040, 1563}, {7660, 15040, 1563}, {3830, 7520, 781}}},
    /* Daily        */ {{{29, 54, 6}, {29, 57, 6}, {14, 28, 3}}},
}};

Money EICAmount(const EICBands& bands, Money wages) {
  Money amount;
  if (wages < Money()) return amount;  // negative wages earn nothing
  if (wages <= bands.phase_in_top) {
    amount = wages.Times(kPhaseInRate);
  } else if (wages <= bands.flat_top) {
    amount = Money::FromDouble(bands.flat);
  } else {
    amount = Money::FromDouble(bands.flat - (wages - bands.flat_top).ToDouble() * kPhaseOutRate);
  }
  return Max(amount, Money());
}

using EICOperation = Money (clsFedTaxRules::*)(Money, std::uint8_t) const noexcept;

}  // namespace

Money clsFedTaxRules::EICPaymentOf(int period, Money wages,
                                   std::uint8_t spouse_filing) const noexcept {
  Money amount;
  if (!Enabled() || spouse_filing >= kSpouseFilingCodes) return amount;
  RunStep([&] { amount = EICAmount(kEICTable[period][spouse_filing], wages); });
  return amount;
}

// Wages past the wage limit alone do not stop payments, so Base is not read.
Money clsFedTaxRules::GetEICPayment(Money GrossWages, [[maybe_unused]] Money Base,
                                    Money YTDEICPayments,
                                    std::string_view strPayPeriod,
                                    std::uint8_t bytSpouseFiling) const noexcept {
  static constexpr std::array<EICOperation, kPayPeriodCount> kByPeriod = {
      &clsFedTaxRules::GetWeeklyEICPayment,      &clsFedTaxRules::GetBiweeklyEICPayment,
      &clsFedTaxRules::GetSemimonthlyEICPayment, &clsFedTaxRules::GetMonthlyEICPayment,
      &clsFedTaxRules::GetQuarterlyEICPayment,   &clsFedTaxRules::GetSemiannualEICPayment,
      &clsFedTaxRules::GetAnnualEICPayment,      &clsFedTaxRules::GetDailyEICPayment};
  if (!Enabled()) return Money();
  // A year's advance payments never pass the maximum: once it is paid
  // nothing more is, and the last payment is what is left of it.
  if (YTDEICPayments >= kEICLimit) return Money();
  const std::optional<int> period = PayPeriodCode(strPayPeriod);
  if (!period) return Money();
  Money amount = (this->*kByPeriod[*period])(GrossWages, bytSpouseFiling);
  RunStep([&] { amount = Min(amount, kEICLimit - YTDEICPayments); });
  return amount;
}

Money clsFedTaxRules::GetWeeklyEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kWeekly), wages, code);
}
Money clsFedTaxRules::GetBiweeklyEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kBiweekly), wages, code);
}
Money clsFedTaxRules::GetSemimonthlyEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kSemimonthly), wages, code);
}
Money clsFedTaxRules::GetMonthlyEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kMonthly), wages, code);
}
Money clsFedTaxRules::GetQuarterlyEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kQuarterly), wages, code);
}
Money clsFedTaxRules::GetSemiannualEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kSemiannually), wages, code);
}
Money clsFedTaxRules::GetAnnualEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kAnnually), wages, code);
}
Money clsFedTaxRules::GetDailyEICPayment(Money wages, std::uint8_t code) const noexcept {
  return EICPaymentOf(static_cast<int>(PayPeriod::kDaily), wages, code);
}

}  // namespace veltrane
