// The statements' message table: captions, labels and message texts by
// entry number, in one place.
#pragma once

#include <string_view>

namespace veltrane {

inline constexpr int kMessageEntries = 45;

// The text of `entry` (0 to 44); the empty text for any other number.
std::string_view MessageEntry(int entry);

}  // namespace veltrane
