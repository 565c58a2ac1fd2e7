// Social Security, Medicare and FUTA: taxes at a flat rate on the wages up to
// a yearly base.
#include "common/step.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "fedtaxrules/federal_rates.h"

namespace veltrane {
namespace {

using namespace federal2004;

// The tax on the part of `wages` that still lies under `base` after the
// year-to-date amount `ytd`. Negative wages give a negative tax (a
// correction) as long as the year stays under the base.
Money CappedTax(Money wages, Money ytd, Money base, float rate) {
  if (ytd + wages <= base) return wages.Times(rate);
  if (ytd < base) return (base - ytd).Times(rate);
  return Money();
}

Money CappedTaxStep(bool enabled, Money wages, Money ytd, Money base, float rate) {
  Money tax;
  if (enabled) RunStep([&] { tax = CappedTax(wages, ytd, base, rate); });
  return tax;
}

}  // namespace

Money clsFedTaxRules::GetSocialSecurityWithholding(Money GrossWages,
                                                   Money curYTDPayments) const noexcept {
  return CappedTaxStep(Enabled(), GrossWages, curYTDPayments, kSSBase, kSSEmployeeRate);
}

Money clsFedTaxRules::GetSocialSecurityLiability(Money GrossWages,
                                                 Money curGrossWagesYTD) const noexcept {
  return CappedTaxStep(Enabled(), GrossWages, curGrossWagesYTD, kSSBase, kSSEmployerRate);
}

Money clsFedTaxRules::GetMedicareWithholding(Money GrossWages,
                                             Money curYTDPayments) const noexcept {
  return CappedTaxStep(Enabled(), GrossWages, curYTDPayments, kMedicareBase, kMedicareEmployeeRate);
}

Money clsFedTaxRules::GetMedicareLiability(Money GrossWages,
                                           Money curGrossWagesYTD) const noexcept {
  return CappedTaxStep(Enabled(), GrossWages, curGrossWagesYTD, kMedicareBase,
                       kMedicareEmployerRate);
}

Money clsFedTaxRules::GetFUTALiability(Money curGrossWages,
                                       const Value& curGrossWagesYTD) const noexcept {
  Money tax;
  if (!Enabled()) return tax;
  RunStep(
      [&] { tax = CappedTax(curGrossWages, curGrossWagesYTD.ToMoney(), kFUTABase, kFUTARate); });
  return tax;
}

}  // namespace veltrane
