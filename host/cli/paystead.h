// The paystead program: a household's payroll from the command line over
// one database file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUserError = 1;
inline constexpr int kExitUsage = 2;

// Runs the program with its arguments (without the program name) and
// returns the exit status; nothing escapes as an exception.
int RunPaystead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
