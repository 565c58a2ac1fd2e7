// One registry read with the rules the browser search relies on.
#pragma once

#include <string>

#include "docbrowse/browser_platform.h"

namespace veltrane {

// Values longer than this count as unreadable.
inline constexpr std::size_t kRegistryBufferSize = 1024;

// Reads `value_name` of `key_path` under `root` through `platform` (borrowed
// for the call). Answers false and sets `text` to "" when the key or value
// cannot be read. A string value gives its text up to the first NUL; a
// double word gives its number in decimal; any other type counts as found
// and leaves `text` as it was. Never throws.
bool ReadRegistryValue(BrowserPlatform& platform, RegistryRoot root, const std::string& key_path,
                       const std::string& value_name, std::string& text);

}  // namespace veltrane
