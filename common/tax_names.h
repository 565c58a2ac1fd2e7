// Tax names, filing statuses and pay periods, compared without regard to
// letter case.
#pragma once

#include <optional>
#include <string_view>

namespace veltrane {

inline constexpr std::string_view kTaxFIT = "FIT";
inline constexpr std::string_view kTaxSocSec = "Soc. Sec.";
inline constexpr std::string_view kTaxMedicare = "Medicare";
inline constexpr std::string_view kTaxFUTA = "FUTA";
inline constexpr std::string_view kTaxEIC = "EIC";
inline constexpr std::string_view kTaxSIT = "SIT";
inline constexpr std::string_view kTaxSDI = "SDI";
inline constexpr std::string_view kTaxSUI = "SUI";

inline constexpr std::string_view kFilingSingle = "Single";
inline constexpr std::string_view kFilingMarried = "Married";
inline constexpr std::string_view kFilingHeadOfHousehold = "Head of Household";

// The attendant name that stands for every attendant.
inline constexpr std::string_view kAllAssistants = "All Assistants";

// Pay periods in the order of their stored codes 0-7.
enum class PayPeriod {
  kWeekly = 0,
  kBiweekly = 1,
  kSemimonthly = 2,
  kMonthly = 3,
  kQuarterly = 4,
  kSemiannually = 5,
  kAnnually = 6,
  kDaily = 7,
};

inline constexpr int kPayPeriodCount = 8;

// "Weekly" ... "Daily"; the empty text for a code outside 0-7.
std::string_view PayPeriodName(int code);
// The code of a pay-period name (letter case ignored), if it is one.
std::optional<int> PayPeriodCode(std::string_view name);

}  // namespace veltrane
