// Starting programs through the POSIX calls, never through a shell.
#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace veltrane {

struct ProgramOutput {
  int exit_status = 0;
  std::string output;  // what the program wrote to its standard output
};

// Runs the program at the absolute path argv[0] with argv, no input and its
// error output discarded, and waits for it. nullopt when it could not start
// or did not exit normally.
std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& argv);

// Starts the program at `path` with `argument` as its one argument, in a
// session of its own with no input, and does not wait for it: the program
// outlives this process and never becomes its child. Answers nullopt once
// the program is running, else the system's error.
std::optional<std::error_code> StartDetached(const std::string& path, const std::string& argument);

}  // namespace veltrane
