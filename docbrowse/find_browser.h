// The search for an installed web browser.
#pragma once

#include <string>

#include "docbrowse/browser_platform.h"

namespace veltrane {

// Tries, in order, the registry's records of Internet Explorer (setup path,
// then the class root's open command), Netscape (4.x, 6, Navigator) and
// Opera, then the desktop's choices: the first entry of $BROWSER, the
// desktop's default web browser, and firefox, chromium, google-chrome and
// opera on PATH. Answers the first path a source accepts, trimmed of
// surrounding blanks, or "" when none does. A platform without a registry
// answers no registry read, so only the desktop's choices count there.
// `platform` is borrowed for the call. Never throws.
std::string FindBrowser(BrowserPlatform& platform);

}  // namespace veltrane
