// The local web application on the network: an HTTP server (cpp-httplib)
// that listens on 127.0.0.1 only and hands every request to a WebApp.
//
// Ownership: the server borrows the application; Run blocks until Stop,
// which any thread may call.
#pragma once

#include <memory>
#include <string>

#include "host/web/app.h"

namespace veltrane::web {

class WebServer {
 public:
  // Binds 127.0.0.1:`port` (0: a free port the system picks). Raises
  // a household Fault of "port" when the port cannot be had.
  WebServer(WebApp& app, int port);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT/?token=TOKEN", the address to open.
  std::string Address() const;

  // Serves until Stop.
  void Run();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  WebApp& app_;
  int port_ = 0;
};

}  // namespace veltrane::web
