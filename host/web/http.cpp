#include "host/web/http.h"

#include <cctype>
#include <cstdio>
#include <ctime>

namespace veltrane::web {
namespace {

bool IsTokenChar(unsigned char c) {
  return std::isalnum(c) != 0 ||
         std::string_view("!#$%&'*+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  if (text.empty()) return false;
  for (unsigned char c : text) {
    if (!IsTokenChar(c)) return false;
  }
  return true;
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Whether a comma-separated header value lists `token`, letter case ignored.
bool Lists(std::string_view value, std::string_view token) {
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    if (SameLetters(TrimBlanks(value.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

HeadReading Refusal(int status, std::string why) {
  HeadReading reading;
  reading.status = status;
  reading.why = std::move(why);
  return reading;
}

// The Date header's form: "Sun, 06 Nov 1994 08:49:37 GMT", in English
// whatever the locale.
std::string HttpDate(std::time_t when) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm utc{};
  gmtime_r(&when, &utc);
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[utc.tm_wday % 7],
                utc.tm_mday, kMonths[utc.tm_mon % 12], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                utc.tm_sec);
  return text;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

std::optional<std::string> HttpHead::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameLetters(key, name)) return value;
  }
  return std::nullopt;
}

bool HttpHead::KeepAlive() const {
  const std::string connection = Header("Connection").value_or("");
  if (minor_version == 0) return Lists(connection, "keep-alive");
  return !Lists(connection, "close");
}

bool HttpHead::ExpectsContinue() const {
  const auto expect = Header("Expect");
  return minor_version == 1 && expect && SameLetters(TrimBlanks(*expect), "100-continue");
}

std::size_t HeadEnd(std::string_view text) {
  for (std::size_t at = text.find('\n'); at != std::string_view::npos;
       at = text.find('\n', at + 1)) {
    if (at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
    if (at + 2 < text.size() && text[at + 1] == '\r' && text[at + 2] == '\n') return at + 3;
  }
  return std::string_view::npos;
}

HeadReading ReadHead(std::string_view text, std::size_t max_headers, std::size_t max_body) {
  HeadReading reading;
  HttpHead& head = reading.head;
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;  // the empty line that ends the head
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  if (lines.empty()) return Refusal(400, "The request has no request line.");

  // METHOD SP TARGET SP HTTP/1.x
  const std::string_view request_line = lines[0];
  const std::size_t first = request_line.find(' ');
  const std::size_t second =
      first == std::string_view::npos ? first : request_line.find(' ', first + 1);
  if (second == std::string_view::npos ||
      request_line.find(' ', second + 1) != std::string_view::npos)
    return Refusal(400, "The request line is not a method, an address and a version.");
  const std::string_view method = request_line.substr(0, first);
  const std::string_view target = request_line.substr(first + 1, second - first - 1);
  const std::string_view version = request_line.substr(second + 1);
  if (!IsToken(method)) return Refusal(400, "The request's method is not a word.");
  if (target.empty() || target[0] != '/')
    return Refusal(400, "The request's address does not begin with /.");
  for (unsigned char c : target) {
    if (c <= 0x20 || c >= 0x7f)
      return Refusal(400, "The request's address holds a blank or a byte that is not plain text.");
  }
  if (version.size() != 8 || !version.starts_with("HTTP/") || version[6] != '.' ||
      std::isdigit(static_cast<unsigned char>(version[5])) == 0 ||
      std::isdigit(static_cast<unsigned char>(version[7])) == 0)
    return Refusal(400, "The request line does not end with the HTTP version.");
  if (version[5] != '1' || (version[7] != '0' && version[7] != '1'))
    return Refusal(505, "Only HTTP/1.0 and HTTP/1.1 are answered.");
  head.method = method;
  head.target = target;
  head.minor_version = version[7] - '0';

  if (lines.size() - 1 > max_headers)
    return Refusal(431,
                   "The request has more than " + std::to_string(max_headers) + " header lines.");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon)))
      return Refusal(400, "A header line is not a name, a colon and a value.");
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    for (unsigned char c : value) {
      if ((c < 0x20 && c != '\t') || c == 0x7f)
        return Refusal(400, "A header's value holds a control character.");
    }
    head.headers.emplace_back(line.substr(0, colon), value);
  }

  bool has_length = false;
  int hosts = 0;
  for (const auto& [name, value] : head.headers) {
    if (SameLetters(name, "Host")) ++hosts;
    if (SameLetters(name, "Transfer-Encoding"))
      return Refusal(501, "A body is read only by its Content-Length, without a transfer coding.");
    if (!SameLetters(name, "Content-Length")) continue;
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
      return Refusal(400, "The Content-Length is not a number.");
    const std::size_t digits = value.find_first_not_of('0');
    const std::string_view number =
        digits == std::string::npos ? "0" : std::string_view(value).substr(digits);
    if (number.size() > 18 || std::stoull(std::string(number)) > max_body)
      return Refusal(413,
                     "The request's body is longer than " + std::to_string(max_body) + " bytes.");
    const std::size_t length = std::stoull(std::string(number));
    if (has_length && length != head.content_length)
      return Refusal(400, "The request gives two different Content-Lengths.");
    has_length = true;
    head.content_length = length;
  }
  if (hosts > 1) return Refusal(400, "The request names its host twice.");
  return reading;
}

std::string DecodePercent(std::string_view text, bool plus_is_blank) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
        HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else if (c == '+' && plus_is_blank) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

NamedValues DecodeFields(std::string_view text) {
  NamedValues fields;
  while (!text.empty()) {
    const std::size_t amp = text.find('&');
    const std::string_view pair = text.substr(0, amp);
    const std::size_t equals = pair.find('=');
    std::string name = DecodePercent(pair.substr(0, equals), true);
    if (!name.empty()) {
      fields.emplace_back(std::move(name), equals == std::string_view::npos
                                               ? std::string()
                                               : DecodePercent(pair.substr(equals + 1), true));
    }
    if (amp == std::string_view::npos) break;
    text.remove_prefix(amp + 1);
  }
  return fields;
}

WebRequest ToWebRequest(const HttpHead& head, std::string_view body) {
  WebRequest request;
  request.post = head.method == "POST";
  const std::string_view target = head.target;
  const std::size_t question = target.find('?');
  request.path = DecodePercent(target.substr(0, question), false);
  if (question != std::string_view::npos) request.query = DecodeFields(target.substr(question + 1));
  request.host = head.Header("Host").value_or("");
  for (const auto& [name, value] : head.headers) {
    if (SameLetters(name, "Cookie"))
      request.cookies += (request.cookies.empty() ? "" : "; ") + value;
  }
  const std::string type = head.Header("Content-Type").value_or("");
  if (request.post && type.size() >= 33 &&
      SameLetters(std::string_view(type).substr(0, 33), "application/x-www-form-urlencoded"))
    request.form = DecodeFields(body);
  return request;
}

std::string_view ReasonPhrase(int status) {
  switch (status) {
    case 100:
      return "Continue";
    case 200:
      return "OK";
    case 303:
      return "See Other";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 413:
      return "Content Too Large";
    case 414:
      return "URI Too Long";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 503:
      return "Service Unavailable";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Unknown";
  }
}

std::string ReplyBytes(const WebReply& reply, bool keep_alive, bool head_only) {
  std::string bytes = "HTTP/1.1 " + std::to_string(reply.status) + " " +
                      std::string(ReasonPhrase(reply.status)) + "\r\n";
  bytes +=
      "Content-Type: " + (HasLineBreak(reply.content_type) ? "text/plain" : reply.content_type) +
      "\r\n";
  bytes += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  bytes += "Date: " + HttpDate(std::time(nullptr)) + "\r\n";
  bytes += keep_alive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
  for (const auto& [name, value] : reply.headers) {
    if (!IsToken(name) || HasLineBreak(value)) continue;
    bytes += name + ": " + value + "\r\n";
  }
  bytes += "\r\n";
  if (!head_only) bytes += reply.body;
  return bytes;
}

WebReply PlainReply(int status, std::string_view why) {
  WebReply reply{status, "text/plain; charset=utf-8", std::string(why) + "\n", {}};
  reply.headers.emplace_back("Content-Security-Policy", "default-src 'none'");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  reply.headers.emplace_back("Cache-Control", "no-store");
  return reply;
}

}  // namespace veltrane::web
