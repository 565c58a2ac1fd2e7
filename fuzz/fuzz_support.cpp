#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {

void Require(bool holds, std::string_view property, std::string_view input) {
  if (holds) return;
  std::string shown;
  for (const char c : input.substr(0, 300)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
      shown.push_back(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    }
  }
  if (input.size() > 300) shown += "...";
  std::fprintf(stderr, "fuzz property broken: %.*s\n  input: \"%s\" (%zu bytes)\n",
               static_cast<int>(property.size()), property.data(), shown.c_str(), input.size());
  std::abort();
}

std::vector<std::string_view> SplitFields(std::string_view input, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t end = input.find('\n');
    if (end == std::string_view::npos) break;
    fields.push_back(input.substr(0, end));
    input.remove_prefix(end + 1);
  }
  fields.push_back(input);
  fields.resize(count);
  return fields;
}

}  // namespace veltrane::fuzz
