#include "host/web/server.h"

#include <httplib.h>

#include "host/household/fault.h"

namespace veltrane::web {
namespace {

constexpr const char* kLoopback = "127.0.0.1";

NamedValues Pairs(const std::string& text) {
  httplib::Params params;
  httplib::detail::parse_query_text(text, params);
  return {params.begin(), params.end()};
}

WebRequest ToRequest(const httplib::Request& req) {
  WebRequest r;
  r.post = req.method == "POST";
  r.path = req.path;
  r.host = req.get_header_value("Host");
  r.cookies = req.get_header_value("Cookie");
  const std::size_t question = req.target.find('?');
  if (question != std::string::npos) r.query = Pairs(req.target.substr(question + 1));
  if (r.post &&
      req.get_header_value("Content-Type").starts_with("application/x-www-form-urlencoded"))
    r.form = Pairs(req.body);
  return r;
}

}  // namespace

struct WebServer::Impl {
  httplib::Server server;
};

WebServer::WebServer(WebApp& app, int port) : impl_(std::make_unique<Impl>()), app_(app) {
  httplib::Server& s = impl_->server;
  const auto handle = [this](const httplib::Request& req, httplib::Response& res) {
    const WebReply reply = app_.Handle(ToRequest(req));
    res.status = reply.status;
    for (const auto& [name, value] : reply.headers) res.set_header(name, value);
    res.set_content(reply.body, reply.content_type);
  };
  s.Get(".*", handle);
  s.Post(".*", handle);
  const auto refuse = [](const httplib::Request&, httplib::Response& res) {
    res.status = 405;
    res.set_header("Allow", "GET, POST");
    res.set_content("Only GET and POST are answered.\n", "text/plain; charset=utf-8");
  };
  s.Put(".*", refuse);
  s.Patch(".*", refuse);
  s.Delete(".*", refuse);
  s.Options(".*", refuse);
  s.set_payload_max_length(1 << 20);

  if (port == 0) {
    port_ = s.bind_to_any_port(kLoopback);
  } else if (s.bind_to_port(kLoopback, port)) {
    port_ = port;
  } else {
    port_ = -1;
  }
  if (port_ <= 0)
    throw household::Fault("port", "cannot listen on 127.0.0.1:" + std::to_string(port) +
                                       "; is the port in use? choose another with " +
                                       household::FieldRef("port"));
  app_.set_port(port_);
}

WebServer::~WebServer() = default;

std::string WebServer::Address() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + app_.token();
}

void WebServer::Run() { impl_->server.listen_after_bind(); }

void WebServer::Stop() { impl_->server.stop(); }

}  // namespace veltrane::web
