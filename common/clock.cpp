#include "common/clock.h"

#include <ctime>

namespace veltrane {

Date SystemClock::Today() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return MakeDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                  static_cast<unsigned>(local.tm_mday));
}

const Clock& DefaultClock() {
  static const SystemClock clock;
  return clock;
}

}  // namespace veltrane
