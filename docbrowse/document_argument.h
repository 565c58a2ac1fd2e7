// The document as the browser receives it.
#pragma once

#include <optional>
#include <string>

#include "docbrowse/browser_platform.h"

namespace veltrane {

// `document` in a form no browser can read as one of its options: a URL (a
// scheme: a letter, then letters, digits, "+", "-" or "."; then ":") as it
// stands; an existing file as its absolute path; anything else as it stands.
// nullopt when the answer would still begin with "-" (blanks before it
// ignored). `platform` is borrowed for the call. Never throws.
std::optional<std::string> DocumentArgument(BrowserPlatform& platform, const std::string& document);

}  // namespace veltrane
