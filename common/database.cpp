#include "common/database.h"

namespace veltrane {

std::string QuoteName(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  for (char c : name) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  return out;
}

}  // namespace veltrane
