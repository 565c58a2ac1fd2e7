// Opening a page in the user's web browser through docbrowse, the
// system's browser launcher.
#pragma once

#include <string>

namespace veltrane::cli {

// Starts docbrowse, found next to this program first and on PATH otherwise,
// with `path` as its one argument, and waits for it. Raises UserError when
// docbrowse is missing, cannot start or reports a failure.
void OpenInBrowser(const std::string& path);

}  // namespace veltrane::cli
