#include "fedtaxrules/fed_tax_rules.h"

#include <array>
#include <string_view>

#include "common/step.h"
#include "fedtaxrules/federal_rates.h"

namespace veltrane {
namespace {

using namespace federal2004;

struct RateEntry {
  std::string_view key;
  RateValue value;
};

// The rate table in the order the dictionary hands it out.
const std::array<RateEntry, 23> kRateTable = {{
    {"c_WeeklyExemption", kWeeklyExemption},
    {"c_BiweeklyExemption", kBiweeklyExemption},
    {"c_SemimonthlyExemption", kSemimonthlyExemption},
    {"c_MonthlyExemption", kMonthlyExemption},
    {"c_QuarterlyExemption", kQuarterlyExemption},
    {"c_SemiannuallyExemption", kSemiannuallyExemption},
    {"c_AnnuallyExemption", kAnnuallyExemption},
    {"c_DailyExemption", kDailyExemption},
    {"c_SSBase", kSSBase},
    {"c_SSEmployeeRate", kSSEmployeeRate},
    {"c_SSEmployerRate", kSSEmployerRate},
    {"c_SSRate", kSSRate},
    {"c_MedicareEmployeeRate", kMedicareEmployeeRate},
    {"c_MedicareEmployerRate", kMedicareEmployerRate},
    {"c_MedicareRate", kMedicareRate},
    {"c_MedicareBase", kMedicareBase},
    {"c_EICWageLimit", kEICWageLimit},
    {"c_EICWageLimitMarried", kEICWageLimitMarried},
    {"c_EICLimit", kEICLimit},
    {"c_FUTABase", kFUTABase},
    {"c_FUTARate", kFUTARate},
    {"c_FUTAStateCredit", kFUTAStateCredit},
    {"c_FUTARateWithCredit", kFUTARateWithCredit},
}};

}  // namespace

clsFedTaxRules::clsFedTaxRules(const LocaleProvider& locale) noexcept {
  // A provider that cannot answer leaves the locale unknown, which disables
  // every computation rather than guessing.
  RunStep([&] { locale_ = locale.UserDefaultLocale(); });
}

std::unique_ptr<RateDictionary> clsFedTaxRules::GetDictionaryOfTaxRates() const noexcept {
  std::unique_ptr<RateDictionary> rates;
  if (!Enabled()) return rates;
  RunStep([&] { rates = std::make_unique<RateDictionary>(); });
  if (!rates) return rates;
  for (const RateEntry& entry : kRateTable) {
    RunStep([&] { rates->Add(std::string(entry.key), entry.value); });
  }
  return rates;
}

}  // namespace veltrane
