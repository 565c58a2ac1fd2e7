#include "host/household/fault_point.h"

#include <cstdlib>

namespace veltrane::household {

void FaultPoint(std::string_view point) noexcept {
  const char* fault = std::getenv("PAYSTEAD_FAULT");
  if (fault != nullptr && point == fault) std::_Exit(kFaultExitStatus);
}

}  // namespace veltrane::household
