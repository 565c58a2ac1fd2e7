#include "common/locale.h"

#include <cstdlib>
#include <string_view>

namespace veltrane {

std::uint32_t PosixLocaleProvider::UserDefaultLocale() const {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v == nullptr || *v == '\0') continue;
    const std::string_view s(v);
    if (s == "C" || s == "POSIX" || s.starts_with("C.") || s.starts_with("en_US")) return kLocaleEnUs;
    return 0;
  }
  return kLocaleEnUs;
}

const LocaleProvider& DefaultLocaleProvider() {
  static const PosixLocaleProvider provider;
  return provider;
}

}  // namespace veltrane
