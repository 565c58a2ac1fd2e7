// docbrowse: opens a document in the user's web browser, finding the browser
// first and remembering it in the per-user setting "BrowserPath".
#pragma once

#include <string>

#include "docbrowse/browser_platform.h"

namespace veltrane {

// The application the setting belongs to, and the title of every message.
inline constexpr const char* kApplicationName = "Veltrane 2.0";

// The document: every argument after the program name, joined by one space.
std::string DocumentFromArguments(int argc, const char* const* argv);

// One run for one document: refuses a document a browser would read as an
// option (see DocumentArgument); uses the remembered browser while it is an
// executable file that starts; otherwise searches, then lets the user point
// at one, starts it with the document and remembers it unless it proved
// unable to run. Answers the process exit status: 0 when the browser was
// started, 1 otherwise. `platform` is borrowed for the call. Never throws.
int RunDocBrowse(BrowserPlatform& platform, const std::string& document);

}  // namespace veltrane
