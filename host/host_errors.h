// The two kinds of failure a person at the terminal is told about. Both end
// the command before anything is written, or inside a database transaction
// that is then rolled back.
#pragma once

#include <stdexcept>
#include <string>

namespace veltrane::host {

// Input that is well formed as a command but wrong in value (an unknown
// assistant, a bad date, a negative rate): exit status 1 and one line
// saying what to fix.
class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line that cannot be understood (an unknown command or flag, a
// missing argument): exit status 2 and the command's usage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace veltrane::host
