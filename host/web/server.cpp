#include "host/web/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "host/household/fault.h"
#include "host/web/http.h"

namespace veltrane::web {
namespace {

using SteadyClock = std::chrono::steady_clock;
using TimePoint = SteadyClock::time_point;

constexpr const char* kLoopback = "127.0.0.1";
constexpr std::size_t kReadChunk = 16 * 1024;
// New connections taken in one round of the loop, so that a flood of them
// does not keep the loop from the others.
constexpr int kAcceptsPerRound = 64;
// After a refusal the server reads, and drops, what the client still sends
// for a moment before it closes, so that the client reads the refusal
// rather than a reset connection.
constexpr auto kLingerTime = std::chrono::milliseconds(1000);
constexpr std::size_t kLingerBytes = 4 << 20;
// File descriptors kept for the database and the year-end files.
constexpr rlim_t kSpareDescriptors = 32;

enum class Phase {
  kIdle,     // no byte of a request yet
  kRequest,  // reading a request
  kReply,    // sending a reply
  kLinger,   // a refusal sent: dropping what the client still sends, then closing
  kClosed,
};

struct Connection {
  int fd = -1;
  Phase phase = Phase::kIdle;
  std::uint64_t serial = 0;  // the order of arrival
  TimePoint since;           // when the phase began
  TimePoint deadline;        // when the phase ends the connection
  TimePoint head_deadline;   // kRequest: when its request line and headers must have come
  std::string in;            // the request's bytes (once its head is read: its body's), and after
  std::size_t scanned = 0;   // bytes of `in` searched for the end of the head
  bool head_read = false;
  HttpHead head;
  bool ready = false;  // `in` may hold a request to go on with in the next round
  std::string out;     // the reply, from `sent` on not yet sent
  std::size_t sent = 0;
  bool close_after = false;
  std::size_t lingered = 0;
};

std::string Seconds(std::chrono::milliseconds time) {
  return std::to_string((time.count() + 999) / 1000);
}

}  // namespace

struct WebServer::Impl {
  Impl(WebApp& a, ServerLimits l) : app(a), limits(l) {}
  ~Impl() {
    for (Connection& c : connections) Close(c);
    if (listener >= 0) ::close(listener);
    if (wake >= 0) ::close(wake);
  }

  void Run();

  void Enter(Connection& c, Phase phase, TimePoint now);
  void Close(Connection& c);
  void Read(Connection& c, TimePoint now);
  void Linger(Connection& c);
  void Go(Connection& c, TimePoint now);
  void Answer(Connection& c, TimePoint now);
  void Refuse(Connection& c, int status, const std::string& why, TimePoint now);
  void Send(Connection& c, TimePoint now);
  void Accept(TimePoint now);
  void Evict();
  void KeepIdleCap();
  void Expire(TimePoint now);
  int Timeout(TimePoint now) const;

  WebApp& app;
  ServerLimits limits;
  std::size_t cap = 0;  // connections at most
  int listener = -1;
  int wake = -1;  // an eventfd that Stop writes
  std::vector<Connection> connections;
  std::uint64_t arrivals = 0;
};

namespace {

// Whether `a` has been in its phase longer than `b`.
bool Older(const Connection& a, const Connection& b) {
  return a.since != b.since ? a.since < b.since : a.serial < b.serial;
}

}  // namespace

void WebServer::Impl::Enter(Connection& c, Phase phase, TimePoint now) {
  c.phase = phase;
  c.since = now;
  switch (phase) {
    case Phase::kIdle:
      c.deadline = now + limits.idle_time;
      break;
    case Phase::kRequest:
      c.head_deadline = now + limits.head_time;
      c.deadline = now + limits.request_time;
      break;
    case Phase::kReply:
      c.deadline = now + limits.reply_time;
      break;
    case Phase::kLinger:
      c.deadline = now + kLingerTime;
      c.lingered = 0;
      ::shutdown(c.fd, SHUT_WR);
      break;
    case Phase::kClosed:
      break;
  }
}

void WebServer::Impl::Close(Connection& c) {
  if (c.fd >= 0) ::close(c.fd);
  c.fd = -1;
  c.phase = Phase::kClosed;
  std::string().swap(c.in);
  std::string().swap(c.out);
  c.head = {};
}

void WebServer::Impl::Read(Connection& c, TimePoint now) {
  // Never more than the head may be, or than the body lacks.
  const std::size_t want =
      c.head_read ? c.head.content_length - std::min(c.in.size(), c.head.content_length)
                  : limits.max_head + 1 - std::min(c.in.size(), limits.max_head + 1);
  if (want == 0) return;
  const std::size_t had = c.in.size();
  c.in.resize(had + std::min(want, kReadChunk));
  const ssize_t n = ::recv(c.fd, c.in.data() + had, c.in.size() - had, 0);
  c.in.resize(had + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
    Close(c);  // the client went away, or its connection failed
    return;
  }
  if (n < 0) return;
  if (c.phase == Phase::kIdle) Enter(c, Phase::kRequest, now);
  Go(c, now);
}

void WebServer::Impl::Linger(Connection& c) {
  char dropped[kReadChunk];
  const ssize_t n = ::recv(c.fd, dropped, sizeof dropped, 0);
  if (n > 0) c.lingered += static_cast<std::size_t>(n);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
      c.lingered > kLingerBytes)
    Close(c);
}

// Goes on with the bytes read: the head once it has ended, then the body,
// then the application.
void WebServer::Impl::Go(Connection& c, TimePoint now) {
  c.ready = false;
  if (!c.head_read) {
    // Empty lines before a request line are passed over.
    const std::size_t text = c.in.find_first_not_of("\r\n");
    const std::size_t blank = text == std::string::npos ? c.in.size() : text;
    c.in.erase(0, blank);
    c.scanned -= std::min(c.scanned, blank);
    const std::size_t from = c.scanned > 2 ? c.scanned - 2 : 0;
    const std::size_t end = HeadEnd(std::string_view(c.in).substr(from));
    if (end == std::string_view::npos) {
      c.scanned = c.in.size();
      if (c.in.size() > limits.max_head) {
        if (c.in.find('\n') == std::string::npos) {
          Refuse(c, 414,
                 "The request line is longer than " + std::to_string(limits.max_head) + " bytes.",
                 now);
        } else {
          Refuse(c, 431,
                 "The request's header lines are longer than " + std::to_string(limits.max_head) +
                     " bytes.",
                 now);
        }
      }
      return;
    }
    const std::size_t head_end = from + end;
    if (head_end > limits.max_head) {
      Refuse(c, 431,
             "The request's header lines are longer than " + std::to_string(limits.max_head) +
                 " bytes.",
             now);
      return;
    }
    HeadReading reading =
        ReadHead(std::string_view(c.in).substr(0, head_end), limits.max_headers, limits.max_body);
    if (reading.status != 0) {
      Refuse(c, reading.status, reading.why, now);
      return;
    }
    c.head = std::move(reading.head);
    c.head_read = true;
    c.in.erase(0, head_end);
    c.scanned = 0;
    if (c.in.size() < c.head.content_length && c.head.ExpectsContinue()) {
      // Nothing else is being sent on the connection now, so these few
      // bytes go at once.
      static constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
      if (::send(c.fd, kContinue.data(), kContinue.size(), MSG_NOSIGNAL) !=
          static_cast<ssize_t>(kContinue.size())) {
        Close(c);
        return;
      }
    }
  }
  if (c.in.size() < c.head.content_length) return;
  Answer(c, now);
}

void WebServer::Impl::Answer(Connection& c, TimePoint now) {
  const HttpHead head = std::move(c.head);
  const std::string body = c.in.substr(0, head.content_length);
  c.in.erase(0, head.content_length);
  c.head = {};
  c.head_read = false;
  const bool head_only = head.method == "HEAD";
  WebReply reply;
  if (head.method == "GET" || head.method == "POST" || head_only) {
    try {
      reply = app.Handle(ToWebRequest(head, body));
    } catch (...) {
      reply = PlainReply(500, "The page failed.");
    }
  } else {
    reply = PlainReply(405, "Only GET and POST are answered.");
    reply.headers.emplace_back("Allow", "GET, HEAD, POST");
  }
  const bool keep = head.KeepAlive();
  c.out = ReplyBytes(reply, keep, head_only);
  c.sent = 0;
  c.close_after = !keep;
  Enter(c, Phase::kReply, now);
  Send(c, now);
}

void WebServer::Impl::Refuse(Connection& c, int status, const std::string& why, TimePoint now) {
  std::string().swap(c.in);
  c.head = {};
  c.head_read = false;
  c.out = ReplyBytes(PlainReply(status, why), false, false);
  c.sent = 0;
  c.close_after = true;
  Enter(c, Phase::kReply, now);
  Send(c, now);
}

void WebServer::Impl::Send(Connection& c, TimePoint now) {
  while (c.sent < c.out.size()) {
    const ssize_t n = ::send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
    if (n > 0) {
      c.sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return;
    } else {
      Close(c);
      return;
    }
  }
  std::string().swap(c.out);
  c.sent = 0;
  if (c.close_after) {
    Enter(c, Phase::kLinger, now);
    return;
  }
  Enter(c, Phase::kIdle, now);
  if (!c.in.empty()) {  // the next request came with this one
    Enter(c, Phase::kRequest, now);
    c.ready = true;
  }
}

void WebServer::Impl::Accept(TimePoint now) {
  for (int i = 0; i < kAcceptsPerRound; ++i) {
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == ECONNABORTED || errno == EINTR) continue;
      if (errno == EMFILE || errno == ENFILE) Evict();  // room for the next round
      return;
    }
    const std::size_t open = static_cast<std::size_t>(
        std::count_if(connections.begin(), connections.end(),
                      [](const Connection& c) { return c.phase != Phase::kClosed; }));
    if (open >= cap) Evict();
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    Connection& c = connections.emplace_back();
    c.fd = fd;
    c.serial = ++arrivals;
    Enter(c, Phase::kIdle, now);
  }
}

// Closes one connection to make room: the oldest idle one, else the oldest
// that is lingering, still sending its request, or being answered.
void WebServer::Impl::Evict() {
  for (const Phase phase : {Phase::kIdle, Phase::kLinger, Phase::kRequest, Phase::kReply}) {
    Connection* oldest = nullptr;
    for (Connection& c : connections) {
      if (c.phase == phase && (oldest == nullptr || Older(c, *oldest))) oldest = &c;
    }
    if (oldest != nullptr) {
      Close(*oldest);
      return;
    }
  }
}

void WebServer::Impl::KeepIdleCap() {
  std::vector<Connection*> idle;
  for (Connection& c : connections) {
    if (c.phase == Phase::kIdle) idle.push_back(&c);
  }
  if (idle.size() <= limits.max_idle) return;
  std::sort(idle.begin(), idle.end(),
            [](const Connection* a, const Connection* b) { return Older(*a, *b); });
  for (std::size_t i = 0; i < idle.size() - limits.max_idle; ++i) Close(*idle[i]);
}

void WebServer::Impl::Expire(TimePoint now) {
  for (Connection& c : connections) {
    if (c.phase == Phase::kRequest && !c.head_read && now >= c.head_deadline) {
      Refuse(c, 408,
             "The request line and headers did not come within " + Seconds(limits.head_time) +
                 " seconds.",
             now);
    } else if (c.phase == Phase::kRequest && now >= c.deadline) {
      Refuse(c, 408,
             "The request did not come within " + Seconds(limits.request_time) + " seconds.", now);
    } else if (c.phase != Phase::kClosed && c.phase != Phase::kRequest && now >= c.deadline) {
      Close(c);
    }
  }
}

// Milliseconds until the nearest deadline; 0 when a connection is ready.
int WebServer::Impl::Timeout(TimePoint now) const {
  TimePoint nearest = now + std::chrono::seconds(60);
  for (const Connection& c : connections) {
    if (c.phase == Phase::kClosed) continue;
    if (c.ready) return 0;
    nearest = std::min(nearest, c.deadline);
    if (c.phase == Phase::kRequest && !c.head_read) nearest = std::min(nearest, c.head_deadline);
  }
  if (nearest <= now) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(nearest - now).count());
}

void WebServer::Impl::Run() {
  std::vector<pollfd> polled;
  for (;;) {
    polled.clear();
    polled.push_back({wake, POLLIN, 0});
    polled.push_back({listener, POLLIN, 0});
    for (const Connection& c : connections) {
      const short events = c.phase == Phase::kReply ? POLLOUT : POLLIN;
      polled.push_back({c.fd, events, 0});
    }
    const int ready = ::poll(polled.data(), polled.size(), Timeout(SteadyClock::now()));
    if (ready < 0 && errno == ENOMEM) ::usleep(10'000);  // for a moment; then again
    if (ready < 0 && errno != EINTR && errno != ENOMEM) break;
    if (ready > 0 && (polled[0].revents & POLLIN) != 0) break;  // Stop
    const TimePoint now = SteadyClock::now();

    // One step of each connection a round, so that none waits for another
    // longer than a page takes.
    for (std::size_t i = 0; ready > 0 && i < connections.size(); ++i) {
      Connection& c = connections[i];
      const short revents = polled[i + 2].revents;
      if (revents == 0) continue;
      if ((revents & POLLNVAL) != 0) {
        Close(c);
      } else if (c.phase == Phase::kReply) {
        Send(c, now);
      } else if (c.phase == Phase::kLinger) {
        Linger(c);
      } else if (c.phase == Phase::kIdle || c.phase == Phase::kRequest) {
        Read(c, now);
      }
    }
    for (Connection& c : connections) {
      if (c.ready && c.phase == Phase::kRequest) Go(c, now);
    }
    Expire(SteadyClock::now());
    KeepIdleCap();
    std::erase_if(connections, [](const Connection& c) { return c.phase == Phase::kClosed; });
    if (ready > 0 && (polled[1].revents & POLLIN) != 0) Accept(SteadyClock::now());
    KeepIdleCap();
  }
  // Stopped: a reply being sent gets what the socket takes at once.
  for (Connection& c : connections) {
    if (c.phase == Phase::kReply)
      ::send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    Close(c);
  }
  connections.clear();
  ::close(listener);
  listener = -1;
}

WebServer::WebServer(WebApp& app, int port, ServerLimits limits)
    : impl_(std::make_unique<Impl>(app, limits)), app_(app) {
  rlimit files{};
  impl_->cap = limits.max_connections;
  if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY) {
    const rlim_t room = files.rlim_cur > 2 * kSpareDescriptors ? files.rlim_cur - kSpareDescriptors
                                                               : kSpareDescriptors;
    impl_->cap = std::min<std::size_t>(impl_->cap, static_cast<std::size_t>(room));
  }
  impl_->wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  impl_->listener = fd;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, kLoopback, &address.sin_addr);
  const int one = 1;
  socklen_t length = sizeof address;
  const bool listening =
      impl_->wake >= 0 && fd >= 0 && port >= 0 && port <= 65535 &&
      ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == 0 &&
      ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      ::listen(fd, SOMAXCONN) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  if (!listening)
    throw household::Fault("port", "cannot listen on 127.0.0.1:" + std::to_string(port) +
                                       "; is the port in use? choose another with " +
                                       household::FieldRef("port"));
  port_ = ntohs(address.sin_port);
  app_.set_port(port_);
}

WebServer::~WebServer() = default;

std::string WebServer::Address() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + app_.token();
}

void WebServer::Run() { impl_->Run(); }

void WebServer::Stop() {
  const std::uint64_t one = 1;
  const ssize_t written = ::write(impl_->wake, &one, sizeof one);
  static_cast<void>(written);
}

}  // namespace veltrane::web
