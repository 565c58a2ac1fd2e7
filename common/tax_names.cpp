#include "common/tax_names.h"

#include "common/text.h"

namespace veltrane {
namespace {
constexpr std::string_view kPeriodNames[kPayPeriodCount] = {
    "Weekly", "Biweekly", "Semimonthly", "Monthly", "Quarterly", "Semiannually", "Annually", "Daily"};
}

std::string_view PayPeriodName(int code) {
  return code >= 0 && code < kPayPeriodCount ? kPeriodNames[code] : std::string_view();
}

std::optional<int> PayPeriodCode(std::string_view name) {
  for (int i = 0; i < kPayPeriodCount; ++i) {
    if (IEquals(kPeriodNames[i], name)) return i;
  }
  return std::nullopt;
}

}  // namespace veltrane
