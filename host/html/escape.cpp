#include "host/html/escape.h"

#include <utility>

namespace veltrane::html {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string UnescapeHtml(std::string_view html) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
  std::string out;
  out.reserve(html.size());
  for (std::size_t i = 0; i < html.size(); ++i) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (html.substr(i, entity.size()) == entity) {
        out.push_back(c);
        i += entity.size() - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(html[i]);
  }
  return out;
}

}  // namespace veltrane::html
