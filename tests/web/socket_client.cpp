#include "web/socket_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace veltrane::host::testing {
namespace {

using SteadyClock = std::chrono::steady_clock;

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string HttpReply::Header(std::string_view name) const {
  std::size_t at = head.find("\r\n");
  while (at != std::string::npos && at + 2 < head.size()) {
    const std::size_t end = head.find("\r\n", at + 2);
    const std::string_view line =
        std::string_view(head).substr(at + 2, end == std::string::npos ? end : end - at - 2);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && SameLetters(line.substr(0, colon), name)) {
      std::string_view value = line.substr(colon + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      return std::string(value);
    }
    at = end;
  }
  return "";
}

SocketClient::SocketClient(int port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ADD_FAILURE() << "cannot connect to 127.0.0.1:" << port << ": " << std::strerror(errno);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
}

SocketClient::~SocketClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool SocketClient::Send(std::string_view bytes) {
  while (fd_ >= 0 && !bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return fd_ >= 0;
}

bool SocketClient::Fill(SteadyClock::time_point until) {
  if (fd_ < 0 || ended_) return false;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - SteadyClock::now());
  if (left.count() <= 0) return false;
  pollfd polled{fd_, POLLIN, 0};
  if (::poll(&polled, 1, static_cast<int>(left.count())) <= 0) return false;
  char buffer[16384];
  const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
  if (n <= 0) {
    ended_ = true;
    return false;
  }
  pending_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

HttpReply SocketClient::Read(std::chrono::milliseconds within) {
  const auto until = SteadyClock::now() + within;
  std::size_t end = std::string::npos;
  while ((end = pending_.find("\r\n\r\n")) == std::string::npos) {
    if (!Fill(until)) return {};
  }
  HttpReply reply;
  reply.head = pending_.substr(0, end);
  if (reply.head.size() < 12 || !reply.head.starts_with("HTTP/1.")) return {};
  const std::string length_text = reply.Header("Content-Length");
  const std::size_t length = length_text.empty() ? 0 : std::stoul(length_text);
  while (pending_.size() < end + 4 + length) {
    if (!Fill(until)) return {};
  }
  reply.body = pending_.substr(end + 4, length);
  pending_.erase(0, end + 4 + length);
  reply.status = std::stoi(reply.head.substr(9, 3));
  return reply;
}

bool SocketClient::ClosedWithin(std::chrono::milliseconds within) {
  const auto until = SteadyClock::now() + within;
  while (Fill(until)) pending_.clear();
  return ended_;
}

std::string RequestText(std::string_view method, int port, std::string_view path,
                        std::string_view headers, std::string_view body) {
  std::string text = std::string(method) + " " + std::string(path) +
                     " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n" +
                     std::string(headers);
  if (!body.empty() || method == "POST")
    text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return text + "\r\n" + std::string(body);
}

HttpReply Get(int port, std::string_view path, std::string_view headers) {
  SocketClient client(port);
  if (!client.Send(RequestText("GET", port, path, headers))) return {};
  return client.Read();
}

}  // namespace veltrane::host::testing
