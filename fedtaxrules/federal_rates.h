// The federal payroll rates, wage bases and limits for wages paid in 2004,
// each with the type the rate dictionary hands it out in. Every computation
// of clsFedTaxRules reads its figures from here, so the dictionary and the
// computed amounts can never disagree.
//
// The 32-bit float rates are the nearest single-precision values to the
// decimals (0.062f is 0.0619999989867...); computations widen them to double
// as they are.
#pragma once

#include <array>
#include <cstdint>

#include "common/money.h"
#include "common/tax_names.h"

namespace veltrane::federal2004 {

// Whole dollars as money, at compile time.
consteval Money WholeDollars(std::int64_t dollars) {
  return Money::FromTicks(dollars * Money::kScale);
}

// Value of one withholding allowance per pay period.
inline constexpr double kWeeklyExemption = 59.62;
inline constexpr double kBiweeklyExemption = 119.23;
inline constexpr double kSemimonthlyExemption = 129.17;
inline constexpr double kMonthlyExemption = 258.33;
inline constexpr std::int16_t kQuarterlyExemption = 775;
inline constexpr std::int16_t kSemiannuallyExemption = 1550;
inline constexpr std::int16_t kAnnuallyExemption = 3100;
inline constexpr double kDailyExemption = 11.92;

// The same allowance values indexed by pay-period code (PayPeriod).
inline constexpr std::array<double, kPayPeriodCount> kExemptionByPeriod = {
    kWeeklyExemption,    kBiweeklyExemption,     kSemimonthlyExemption, kMonthlyExemption,
    kQuarterlyExemption, kSemiannuallyExemption, kAnnuallyExemption,    kDailyExemption};

inline constexpr Money kSSBase = WholeDollars(87'900);
inline constexpr float kSSEmployeeRate = 0.062f;
inline constexpr float kSSEmployerRate = 0.062f;
inline constexpr float kSSRate = 0.124f;

inline constexpr float kMedicareEmployeeRate = 0.0145f;
inline constexpr float kMedicareEmployerRate = 0.0145f;
inline constexpr float kMedicareRate = 0.029f;
// A base no wages reach: Medicare has no cap.
inline constexpr Money kMedicareBase = WholeDollars(10'000'000'000'001);

// Advance EIC: the year-to-date wage limits and the annual maximum payment.
inline constexpr Money kEICWageLimit = WholeDollars(30'338);
inline constexpr Money kEICWageLimitMarried = WholeDollars(31'338);
inline constexpr Money kEICLimit = WholeDollars(1'563);

inline constexpr Money kFUTABase = WholeDollars(7'000);
inline constexpr float kFUTARate = 0.062f;
inline constexpr float kFUTAStateCredit = 0.054f;
inline constexpr float kFUTARateWithCredit = 0.008f;

}  // namespace veltrane::federal2004
