// clsFedTaxRules: the federal payroll tax rules for wages paid in 2004 —
// Social Security, Medicare, FUTA, the advance earned income credit (EIC)
// and federal income tax withholding by the percentage method — plus the
// rate table and the FUTA wages of the payment journal.
//
// The object keeps only the user's locale identifier, read once from the
// locale provider at construction; it computes only under 1033 (English,
// United States). Under any other locale every amount is 0 and
// GetDictionaryOfTaxRates returns null.
//
// No operation throws: a step that fails inside one (an overflow, a Null
// field, a failed query) is skipped and the amount keeps what it had, 0 when
// nothing was set. Amounts carry four decimals and are never brought to
// whole cents here. Pay periods ("Weekly" ... "Daily") and filing statuses
// ("Single", "Married", "Head of Household") ignore letter case; any other
// text gives 0.
//
// Ownership: the locale provider is only read during construction. The
// database handed to GetFUTAWages stays the caller's; the record sets opened
// on it are closed before the call returns. The dictionary returned by
// GetDictionaryOfTaxRates belongs to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "common/database.h"
#include "common/locale.h"
#include "common/money.h"
#include "common/value.h"
#include "fedtaxrules/rate_dictionary.h"

namespace veltrane {

class clsFedTaxRules {
 public:
  explicit clsFedTaxRules(const LocaleProvider& locale = DefaultLocaleProvider()) noexcept;

  // FUTA employer liability at the gross rate 0.062 on the wages up to the
  // 7,000 base. `curGrossWagesYTD` may hold any number; it is taken to the
  // nearest ten-thousandth of a dollar.
  Money GetFUTALiability(Money curGrossWages, const Value& curGrossWagesYTD) const noexcept;
  // Advance EIC for this paycheck's wages from the table of the pay period
  // and spouse-filing code (0 single or head of household, 1 married, 2 both
  // spouses certified), never more than what is left of the year's 1,563
  // after YTDEICPayments. Base (the year's wages) does not stop payments.
  Money GetEICPayment(Money GrossWages, Money Base, Money YTDEICPayments,
                      std::string_view strPayPeriod, std::uint8_t bytSpouseFiling) const noexcept;
  // Medicare (0.0145 each side, no wage base) on this paycheck's wages.
  Money GetMedicareLiability(Money GrossWages, Money curGrossWagesYTD) const noexcept;
  Money GetMedicareWithholding(Money GrossWages, Money curYTDPayments) const noexcept;
  // Social Security (0.062 each side) on the wages up to the 87,900 base.
  Money GetSocialSecurityLiability(Money GrossWages, Money curGrossWagesYTD) const noexcept;
  Money GetSocialSecurityWithholding(Money GrossWages, Money curYTDPayments) const noexcept;

  // Income tax to withhold: dispatches to the operation of the pay period.
  Money GetFITWithholding(Money curGrossWages, std::string_view strFilingStatus,
                          std::int16_t intExemptions, std::string_view strPayPeriod) const noexcept;
  // Value of one withholding allowance for the pay period.
  Money GetExemptionAmount(std::string_view strPayPeriod) const noexcept;
  // Each applies its own period's tables, but takes off the allowance value
  // of the period named by `strPayPeriod` (the same one through
  // GetFITWithholding).
  Money GetWeeklyFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                    std::int16_t intExemptions,
                                    std::string_view strPayPeriod) const noexcept;
  Money GetBiweeklyFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                      std::int16_t intExemptions,
                                      std::string_view strPayPeriod) const noexcept;
  Money GetSemimonthlyFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                         std::int16_t intExemptions,
                                         std::string_view strPayPeriod) const noexcept;
  Money GetMonthlyFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                     std::int16_t intExemptions,
                                     std::string_view strPayPeriod) const noexcept;
  Money GetQuarterlyFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                       std::int16_t intExemptions,
                                       std::string_view strPayPeriod) const noexcept;
  Money GetSemiannualFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                        std::int16_t intExemptions,
                                        std::string_view strPayPeriod) const noexcept;
  Money GetAnnualFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                    std::int16_t intExemptions,
                                    std::string_view strPayPeriod) const noexcept;
  Money GetDailyFederalWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                   std::int16_t intExemptions,
                                   std::string_view strPayPeriod) const noexcept;

  // Wages subject to FUTA in the payment journal of `db`: the non-void
  // paychecks that carry FUTA, gross pay less advance EIC, capped at 7,000
  // per attendant. `strAttendant` is a name or "All Assistants"; `strStart`
  // and `strEnd` are the first and last check dates (month/day/year), or
  // both empty for no date limit. An attendant whose rows cannot be read
  // counts as 0.
  Money GetFUTAWages(Database& db, std::string_view strAttendant, std::string_view strStart,
                     std::string_view strEnd) const noexcept;

  // A new dictionary of the 23 rates, bases and limits ("c_SSRate",
  // "c_FUTABase", ...), each keeping its own type; null under a locale other
  // than 1033.
  std::unique_ptr<RateDictionary> GetDictionaryOfTaxRates() const noexcept;

 private:
  bool Enabled() const { return locale_ == kLocaleEnUs; }

  Money GetWeeklyEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetBiweeklyEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetSemimonthlyEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetMonthlyEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetQuarterlyEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetSemiannualEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetAnnualEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;
  Money GetDailyEICPayment(Money wages, std::uint8_t spouse_filing) const noexcept;

  Money EICPaymentOf(int period, Money wages, std::uint8_t spouse_filing) const noexcept;
  Money FederalWithholdingOf(int period, Money gross, std::string_view status,
                             std::int16_t exemptions, std::string_view pay_period) const noexcept;

  std::uint32_t locale_ = 0;
};

}  // namespace veltrane
