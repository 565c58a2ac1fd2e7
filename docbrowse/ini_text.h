// The text of a small INI file: "[section]" lines, each followed by its
// "key=value" lines. Section and key names are compared without regard to
// letter case; a value is everything after the first "=" of its line.
// Lines starting with ";" or "#" are comments and are kept when writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrane {

// The value of `key` in `section`; nullopt when absent.
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// `text` with `key` of `section` set to `value`: the key's line replaced, or
// added at the end of its section, or a new section added at the end. Every
// other line is kept. Throws std::invalid_argument when a name is empty or
// breaks the format, or the value holds a line break.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace veltrane
