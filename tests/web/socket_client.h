// A client of a server on 127.0.0.1 over a real socket, as exact as a test
// of the server needs: bytes sent as given, a reply read by its
// Content-Length, and every wait bounded.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace veltrane::host::testing {

struct HttpReply {
  int status = -1;   // -1: no whole reply came
  std::string head;  // the status line and the headers
  std::string body;
  // The value of the first header of that name (letter case ignored), or "".
  std::string Header(std::string_view name) const;
};

class SocketClient {
 public:
  explicit SocketClient(int port);  // connects, or fails the test
  ~SocketClient();
  SocketClient(const SocketClient&) = delete;
  SocketClient& operator=(const SocketClient&) = delete;

  bool connected() const { return fd_ >= 0; }
  // Sends all of `bytes`; false when the connection failed.
  bool Send(std::string_view bytes);
  // The next reply, within `within`.
  HttpReply Read(std::chrono::milliseconds within = std::chrono::seconds(5));
  // Whether the server closed the connection within `within`; what it
  // sends meanwhile is dropped.
  bool ClosedWithin(std::chrono::milliseconds within);

 private:
  // Reads what has come, waiting until `until`; false at the end of the
  // connection or when the time is up.
  bool Fill(std::chrono::steady_clock::time_point until);

  int fd_ = -1;
  std::string pending_;  // bytes read and not yet part of a reply
  bool ended_ = false;
};

// A request's text: "METHOD PATH HTTP/1.1", Host 127.0.0.1:PORT, the
// `headers` lines ("Name: value\r\n"), and the body with its length.
std::string RequestText(std::string_view method, int port, std::string_view path,
                        std::string_view headers = "", std::string_view body = "");

// A GET on a connection of its own.
HttpReply Get(int port, std::string_view path, std::string_view headers = "");

}  // namespace veltrane::host::testing
