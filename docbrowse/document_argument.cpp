#include "docbrowse/document_argument.h"

#include <algorithm>

#include "common/step.h"
#include "common/text.h"

namespace veltrane {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A scheme begins with a letter, so a URL is never an option. A drive path
// ("C:\Help\index.htm") reads as one too, and may stand as well.
bool HasUrlScheme(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || !IsAsciiLetter(text.front())) return false;
  return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
  });
}

}  // namespace

std::optional<std::string> DocumentArgument(BrowserPlatform& platform,
                                            const std::string& document) {
  if (HasUrlScheme(document)) return document;
  // An absolute path begins with the root, never with "-": a file called
  // "-private" reaches the browser as /its/folder/-private.
  std::string argument = document;
  RunStep([&] {
    if (platform.FileExists(document)) argument = platform.AbsolutePath(document);
  });
  // Whatever is left beginning with "-" is an option to every browser; blanks
  // in front do not stop a browser that reads its command line as one text.
  if (Trim(argument).starts_with('-')) return std::nullopt;
  return argument;
}

}  // namespace veltrane
