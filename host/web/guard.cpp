#include "host/web/guard.h"

#include <cstdio>
#include <random>

#include "common/text.h"

namespace veltrane::web {

std::string MakeToken() {
  std::random_device source;
  std::string token;
  for (int i = 0; i < 4; ++i) {
    char part[9];
    std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(source()));
    token += part;
  }
  return token;
}

bool IsOwnHost(std::string_view host_header, int port) {
  const std::string p = ":" + std::to_string(port);
  return host_header == "127.0.0.1" + p || IEquals(host_header, "localhost" + p);
}

std::optional<std::string> TokenFromCookies(std::string_view cookies) {
  while (!cookies.empty()) {
    const std::size_t end = cookies.find(';');
    const std::string pair = Trim(cookies.substr(0, end));
    const std::size_t equals = pair.find('=');
    if (equals != std::string::npos && pair.substr(0, equals) == kTokenCookie)
      return pair.substr(equals + 1);
    if (end == std::string_view::npos) break;
    cookies.remove_prefix(end + 1);
  }
  return std::nullopt;
}

bool SameToken(std::string_view given, std::string_view token) {
  if (given.size() != token.size() || token.empty()) return false;
  unsigned char differ = 0;
  for (std::size_t i = 0; i < token.size(); ++i)
    differ |= static_cast<unsigned char>(given[i] ^ token[i]);
  return differ == 0;
}

std::string TokenCookie(std::string_view token) {
  return std::string(kTokenCookie) + "=" + std::string(token) +
         "; Path=/; HttpOnly; SameSite=Strict";
}

}  // namespace veltrane::web
