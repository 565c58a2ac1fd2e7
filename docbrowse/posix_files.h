// Reading a whole file through the POSIX calls.
#pragma once

#include <optional>
#include <string>

namespace veltrane {

// The file's content; nullopt when it does not exist. Throws
// std::system_error when it exists but cannot be read, so that a caller
// rewriting the file never drops content it could not see.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace veltrane
