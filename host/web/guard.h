// The local web application's guard: the start-up token and the requests
// that may reach a page. The token is made from the system's random source
// when the server starts; the browser brings it once in the address and then
// in a cookie that scripts cannot read and other sites cannot send.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrane::web {

inline constexpr std::string_view kTokenCookie = "paystead_token";

// 32 hexadecimal digits from std::random_device.
std::string MakeToken();

// Whether the Host header names this server: 127.0.0.1:PORT or
// localhost:PORT. Any other name may be a page of another site reaching the
// server through a name it made point at this computer.
bool IsOwnHost(std::string_view host_header, int port);

// The token's value in a Cookie header, if it has one.
std::optional<std::string> TokenFromCookies(std::string_view cookie_header);

// Compares two tokens in a time that does not depend on where they differ.
bool SameToken(std::string_view given, std::string_view token);

// The Set-Cookie value that keeps the token for the session.
std::string TokenCookie(std::string_view token);

}  // namespace veltrane::web
