// Finding a program the way a shell would, without running a shell.
#pragma once

#include <string>

#include "docbrowse/browser_platform.h"

namespace veltrane {

// The full path of the executable `name` names: `name` itself when it is an
// absolute path to an executable file, else the first executable file called
// `name` in a folder of PATH. Relative paths and relative PATH entries are
// never used, so the answer does not depend on the current folder. "" when
// nothing is found. `platform` is borrowed for the call.
std::string FindExecutable(BrowserPlatform& platform, const std::string& name);

}  // namespace veltrane
