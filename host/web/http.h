// The part of HTTP/1.1 the local web application speaks, without the
// network: a request's head read from its text, the address and a form's
// fields decoded, and a reply written as its bytes. The server (server.h)
// carries these over sockets.
//
// Only what a browser sends to an origin server is read: a request line of
// a method, an address that begins with "/" and HTTP/1.0 or HTTP/1.1, then
// header lines; a body only by Content-Length (no transfer coding). Anything
// else is refused with the status that says why.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/web/app.h"

namespace veltrane::web {

struct HttpHead {
  std::string method;     // as sent: "GET"
  std::string target;     // the address as sent: "/hours?week=3%2F1%2F2004"
  int minor_version = 1;  // HTTP/1.minor_version
  NamedValues headers;    // as sent, in order
  std::size_t content_length = 0;

  // The first header of that name, letter case ignored.
  std::optional<std::string> Header(std::string_view name) const;
  // Whether the connection stays open after the reply (HTTP/1.1 unless
  // "Connection: close"; HTTP/1.0 only with "Connection: keep-alive").
  bool KeepAlive() const;
  // Whether the client waits for "100 Continue" before it sends the body.
  bool ExpectsContinue() const;
};

// A head read, or the status to refuse it with and why.
struct HeadReading {
  int status = 0;  // 0: read; otherwise 400, 411, 413, 431, 501 or 505
  std::string why;
  HttpHead head;
};

// Reads a request head: the text before the empty line that ends it, the
// line ends "\r\n" or "\n". At most `max_headers` header lines, and a body
// of at most `max_body` bytes.
HeadReading ReadHead(std::string_view text, std::size_t max_headers, std::size_t max_body);

// Where the head ends in `text` (after the empty line; empty lines before
// the request line are skipped as part of it); npos when it has not ended.
std::size_t HeadEnd(std::string_view text);

// "%XX" decoded, and "+" as a blank when `plus_is_blank` (a form's fields);
// a "%" that is not followed by two hexadecimal digits stays as it is.
std::string DecodePercent(std::string_view text, bool plus_is_blank);
// The fields of a query or an application/x-www-form-urlencoded body, in
// order; a field without a name is left out.
NamedValues DecodeFields(std::string_view text);

// The request the application reads: the decoded path, the query's and
// (for a POST of a form) the body's fields, the Host and Cookie headers.
WebRequest ToWebRequest(const HttpHead& head, std::string_view body);

// The reply's bytes: status line, the reply's headers (a header whose name
// or value holds a line break is left out), Content-Type, Content-Length,
// Date and Connection; the body unless `head_only` (a HEAD request).
std::string ReplyBytes(const WebReply& reply, bool keep_alive, bool head_only);

// A short plain reply of the server itself: a request refused before it
// reached the application.
WebReply PlainReply(int status, std::string_view why);

// "Not Found" for 404, and the like.
std::string_view ReasonPhrase(int status);

}  // namespace veltrane::web
