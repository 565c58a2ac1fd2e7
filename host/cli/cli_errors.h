// The command line's own failures. Both end the command before anything is
// written, or inside a database transaction that is then rolled back.
#pragma once

#include <stdexcept>
#include <string>

namespace veltrane::cli {

// Something the command line itself could not do (start the browser, make
// a temporary file): exit status 1 and one line saying why.
class UserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line that cannot be understood (an unknown command or flag, a
// missing argument or flag): exit status 2 and the command's usage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace veltrane::cli
