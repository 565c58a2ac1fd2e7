// Reading a whole file through the POSIX calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace veltrane {

// The content of the regular file at `path` (a symbolic link to one is
// followed); nullopt when nothing is there. Throws std::system_error when
// something is there but cannot be read: a folder, a FIFO, a device, a file
// over `max_bytes`, or a read error. It never waits on a FIFO or a device
// and never reads more than `max_bytes` + 1 bytes, and a caller rewriting
// the file never drops content it could not see.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes);

}  // namespace veltrane
