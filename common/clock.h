// "Today" for the components, from a clock a host or test can set.
#pragma once

#include "common/date.h"

namespace veltrane {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() const = 0;
};

// The local calendar date of the machine.
class SystemClock final : public Clock {
 public:
  Date Today() const override;
};

class FixedClock final : public Clock {
 public:
  explicit FixedClock(Date today) : today_(today) {}
  Date Today() const override { return today_; }
  void Set(Date today) { today_ = today; }

 private:
  Date today_;
};

// The process-wide system clock; it lives for the whole program.
const Clock& DefaultClock();

}  // namespace veltrane
