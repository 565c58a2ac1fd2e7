// Every text put on a page goes through here.
#pragma once

#include <string>
#include <string_view>

namespace veltrane::html {

// Text made safe inside an HTML element or a quoted attribute.
std::string EscapeHtml(std::string_view text);
// The text EscapeHtml was given, from what it made.
std::string UnescapeHtml(std::string_view html);

}  // namespace veltrane::html
