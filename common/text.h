// Small text helpers. Names, tax names and pay periods are compared without
// regard to letter case everywhere in the system (ASCII folding).
#pragma once

#include <string>
#include <string_view>

namespace veltrane {

bool IEquals(std::string_view a, std::string_view b);
// True when `needle` occurs in `haystack`, letter case ignored.
bool IContains(std::string_view haystack, std::string_view needle);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
std::string Trim(std::string_view s);

}  // namespace veltrane
