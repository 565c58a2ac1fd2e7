// The local web application without its network: a request as the server
// read it, the guard every request passes, and the table of pages. Page
// families add their routes (web_routes.h); the server (web_server.h) only
// carries requests and replies.
//
// Ownership: the application borrows the held database and the clock for
// its whole life.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "common/database.h"
#include "host/household/database_file.h"

namespace veltrane::web {

using NamedValues = std::vector<std::pair<std::string, std::string>>;

struct WebRequest {
  bool post = false;
  std::string path;
  std::string host;     // the Host header
  std::string cookies;  // the Cookie header
  NamedValues query;    // of the address
  NamedValues form;     // of a POST body

  // The value of a query or form field; nullopt when it was not sent.
  std::optional<std::string> Value(std::string_view name) const;
  std::string ValueOr(std::string_view name, std::string fallback = "") const;
};

struct WebReply {
  int status = 200;
  std::string content_type = "text/html; charset=utf-8";
  std::string body;
  NamedValues headers;

  static WebReply Page(std::string html) {
    return {200, "text/html; charset=utf-8", std::move(html), {}};
  }
  // A 303 to `location`: after a change, so that a reload asks again
  // rather than sending the form twice.
  static WebReply SeeOther(std::string location);
  // A short page that says why the request was refused.
  static WebReply Refused(int status, std::string_view why);
};

// What a page handler works with.
struct WebContext {
  Database& db;
  const Clock& clock;
  const std::string& token;
};

struct WebRoute {
  std::string path;   // ending in "*": every path that begins with the rest
  bool post = false;  // a route that changes data answers POST only
  std::function<WebReply(WebContext&, const WebRequest&)> handler;
};

class WebApp {
 public:
  WebApp(household::HeldDatabase& household, const Clock& clock, std::string token, int port);

  // Every request, guarded: the Host header, then the token (from the
  // address, which sets the cookie and sends the browser on without it,
  // or from the cookie), then the method, then for a POST the form's
  // token. Pages run one at a time; a failure becomes a page, never an
  // exception. A database file removed or replaced since it was opened, or
  // held locked by another program, gives a 503 page that says so; any
  // other failure of the database a 500 page in the person's words.
  WebReply Handle(const WebRequest& request);

  const std::string& token() const { return token_; }
  void set_port(int port) { port_ = port; }

 private:
  WebReply Route(const WebRequest& request);

  household::HeldDatabase& household_;
  const Clock& clock_;
  std::string token_;
  int port_;
  std::vector<WebRoute> routes_;
  std::mutex mutex_;
};

}  // namespace veltrane::web
