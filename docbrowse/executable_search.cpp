#include "docbrowse/executable_search.h"

#include "common/delimited_list.h"

namespace veltrane {

std::string FindExecutable(BrowserPlatform& platform, const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) {
    return name.front() == '/' && platform.IsExecutableFile(name) ? name : "";
  }
  for (const ListGroup& folder : ReadList(platform.GetEnvironment("PATH"), ':', 1)) {
    if (folder[0].empty() || folder[0].front() != '/') continue;
    std::string candidate = folder[0];
    if (candidate.back() != '/') candidate += '/';
    candidate += name;
    if (platform.IsExecutableFile(candidate)) return candidate;
  }
  return "";
}

}  // namespace veltrane
