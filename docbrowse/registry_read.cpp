#include "docbrowse/registry_read.h"

#include <cstdint>
#include <optional>

#include "common/step.h"

namespace veltrane {
namespace {

std::string UpToFirstNul(const std::string& data) { return data.substr(0, data.find('\0')); }

// A double word is four bytes, least significant first; fewer bytes are
// the low-order ones of a shorter value.
std::string DwordText(const std::string& data) {
  std::uint32_t number = 0;
  for (std::size_t i = data.size() < 4 ? data.size() : 4; i > 0; --i) {
    number = (number << 8) | static_cast<unsigned char>(data[i - 1]);
  }
  return std::to_string(number);
}

}  // namespace

bool ReadRegistryValue(BrowserPlatform& platform, RegistryRoot root, const std::string& key_path,
                       const std::string& value_name, std::string& text) {
  std::optional<RegistryValue> value;
  RunStep([&] { value = platform.ReadRegistry(root, key_path, value_name); });
  if (!value || value->data.size() > kRegistryBufferSize) {
    text.clear();
    return false;
  }
  switch (value->type) {
    case RegistryValueType::kString:
      text = UpToFirstNul(value->data);
      break;
    case RegistryValueType::kDword:
      text = DwordText(value->data);
      break;
    case RegistryValueType::kOther:
      break;
  }
  return true;
}

}  // namespace veltrane
