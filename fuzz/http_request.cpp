// The web application's request reader: any bytes a client sends give a
// head that holds only what was checked, or a refusal; a reply's headers
// never carry a line break from what was put into them.
//
// Input: the request's bytes; the last line is also put into a reply's
// header value.
#include <string>

#include "fuzz/fuzz_target.h"
#include "host/web/http.h"

namespace veltrane::fuzz {

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = AsText(data, size);
  constexpr std::size_t kMaxBody = 65536;
  const std::size_t end = web::HeadEnd(text);
  if (end != std::string_view::npos) {
    Require(end <= text.size(), "the head ends inside the text", text);
    const web::HeadReading reading = web::ReadHead(text.substr(0, end), 100, kMaxBody);
    if (reading.status == 0) {
      const web::HttpHead& head = reading.head;
      Require(!head.target.empty() && head.target[0] == '/', "an address begins with /", text);
      Require(head.content_length <= kMaxBody, "a body is at most the limit", text);
      Require(head.headers.size() <= 100, "at most the limit of header lines", text);
      for (const auto& [name, value] : head.headers)
        Require(value.find_first_of("\r\n") == std::string::npos, "a value is one line", text);
      const web::WebRequest request = web::ToWebRequest(head, text.substr(end));
      Require(!request.path.empty() && request.path[0] == '/', "a path begins with /", text);
    } else {
      Require(reading.status >= 400 && reading.status < 600, "a refusal is an error status", text);
    }
  }

  web::WebReply reply = web::WebReply::Page("<p>page</p>");
  const std::size_t last = text.rfind('\n');
  reply.headers.emplace_back("X-Given", std::string(text.substr(last == text.npos ? 0 : last + 1)));
  reply.headers.emplace_back(std::string(text.substr(0, std::min<std::size_t>(text.size(), 8))),
                             "value");
  const std::string bytes = web::ReplyBytes(reply, true, false);
  const std::string head = bytes.substr(0, bytes.find("\r\n\r\n"));
  std::size_t from = 0;
  for (std::size_t at; (at = head.find("\r\n", from)) != std::string::npos; from = at + 2) {
    const std::string line = head.substr(from, at - from);
    Require(line.find_first_of("\r\n") == std::string::npos, "a reply's line holds no break", text);
  }
  return 0;
}

}  // namespace veltrane::fuzz
