#include "host/household/fault.h"

namespace veltrane::household {
namespace {

constexpr char kOpen = '\x01';
constexpr char kClose = '\x02';

// The text with each reference written as the input's household name; what
// a fault says where no front end words it.
std::string Plain(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != kOpen && c != kClose) out.push_back(c);
  }
  return out;
}

}  // namespace

Fault::Fault(std::string field, std::string text, Remedy remedy, std::int64_t check_id)
    : std::runtime_error(Plain(text)),
      field_(std::move(field)),
      text_(std::move(text)),
      remedy_(remedy),
      check_id_(check_id) {}

bool Fault::NamesFields() const { return text_.find(kOpen) != std::string::npos; }

std::string Fault::TextNaming(const std::function<std::string(std::string_view)>& name_of) const {
  std::string out;
  std::size_t at = 0;
  for (;;) {
    const std::size_t open = text_.find(kOpen, at);
    const std::size_t close = open == std::string::npos ? open : text_.find(kClose, open);
    if (close == std::string::npos) break;
    out.append(text_, at, open - at);
    out += name_of(std::string_view(text_).substr(open + 1, close - open - 1));
    at = close + 1;
  }
  return out + text_.substr(at);
}

std::string FieldRef(std::string_view name) { return kOpen + std::string(name) + kClose; }

}  // namespace veltrane::household
