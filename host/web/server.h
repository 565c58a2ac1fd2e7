// The local web application on the network: an HTTP/1.1 server that
// listens on 127.0.0.1 only and hands every complete request to a WebApp.
//
// One thread serves every connection from one poll loop: a connection is
// read only as far as its bytes have come, so a client that sends slowly,
// or not at all, holds no thread and no one else waits for it. Each
// connection is bounded in memory (ServerLimits::max_head,
// ServerLimits::max_body) and in time (a deadline for its request line and
// headers, one for its whole request, one for sending the reply, and an
// idle time between requests); the connections are capped, and when the cap
// is reached a new one takes the place of the oldest idle one, else of the
// oldest one still sending its request. The application's pages run one at
// a time on the same thread.
//
// Ownership: the server borrows the application; Run blocks until Stop,
// which any thread (or a signal handler) may call. Stop closes every
// connection at once; a page in progress ends first.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "host/web/app.h"

namespace veltrane::web {

struct ServerLimits {
  std::size_t max_head = 32 * 1024;                // request line and headers; beyond: 431
  std::size_t max_headers = 100;                   // header lines; beyond: 431
  std::size_t max_body = 64 * 1024;                // a form's body; beyond: 413
  std::chrono::milliseconds head_time{10'000};     // from its first byte to its empty line
  std::chrono::milliseconds request_time{20'000};  // from its first byte to its body's last
  std::chrono::milliseconds reply_time{30'000};    // to send a reply
  std::chrono::milliseconds idle_time{5'000};      // a connection without a request, or between two
  std::size_t max_idle = 16;                       // idle connections kept
  std::size_t max_connections = 128;  // every connection (fewer when file descriptors are)
};

class WebServer {
 public:
  // Binds 127.0.0.1:`port` (0: a free port the system picks). Raises
  // a household Fault of "port" when the port cannot be had.
  WebServer(WebApp& app, int port, ServerLimits limits = {});
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT/?token=TOKEN", the address to open.
  std::string Address() const;

  // Serves until Stop; returns with every connection closed. A Stop that
  // came before Run makes it return at once.
  void Run();
  // Async-signal-safe.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  WebApp& app_;
  int port_ = 0;
};

}  // namespace veltrane::web
