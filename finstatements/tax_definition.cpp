#include "finstatements/tax_definition.h"

#include <cmath>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/step.h"

namespace veltrane {

bool HasAllowances(const TaxDefinition& definition) {
  for (const std::size_t field : {kDefMarried, kDefSingle, kDefHousehold}) {
    if (field < definition.size() && !definition[field].empty()) return true;
  }
  return false;
}

double RateFraction(std::string_view percent) noexcept {
  float rate = 0;
  RunStep([&] {
    if (!percent.empty()) rate = static_cast<float>(ParseNumber(percent));
  });
  if (!std::isfinite(rate)) return 0;
  return static_cast<double>(rate) / 100.0;
}

std::string PercentText(std::string_view percent) { return FormatPercent(RateFraction(percent)); }

Money RateTimes(std::string_view percent, Money base) { return base.Times(RateFraction(percent)); }

}  // namespace veltrane
