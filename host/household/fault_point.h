// A crash switch for tests: when the environment variable PAYSTEAD_FAULT
// names a point, the process ends there at once, as a crash or power loss
// would, without unwinding, flushing or committing anything.
#pragma once

#include <string_view>

namespace veltrane::household {

inline constexpr int kFaultExitStatus = 86;

void FaultPoint(std::string_view point) noexcept;

}  // namespace veltrane::household
