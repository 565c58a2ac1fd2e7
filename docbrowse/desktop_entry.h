// Reading the program a desktop entry (a ".desktop" file) starts.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrane {

// The words of the "Exec" key of the [Desktop Entry] group, unquoted and
// unescaped, with the field codes (%u, %F and the like) removed; nullopt when
// the entry has no such key or its quoting is broken.
std::optional<std::vector<std::string>> DesktopEntryExec(const std::string& entry_text);

}  // namespace veltrane
