// The server's HTTP without the network: request heads read or refused with
// the status that says why, addresses and forms decoded, replies written.
#include "host/web/http.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veltrane::web {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::size_t kHeaders = 100;
constexpr std::size_t kBody = 64 * 1024;

int StatusOf(std::string_view head) { return ReadHead(head, kHeaders, kBody).status; }

TEST(HttpHead, ReadsARequestAndItsHeaders) {
  const HeadReading r = ReadHead(
      "POST /hours?week=3%2F1%2F2004 HTTP/1.1\r\nHost: 127.0.0.1:8080\r\ncontent-length: 0012\r\n"
      "X-Empty:\r\nCookie:  a=1 \r\n\r\n",
      kHeaders, kBody);
  ASSERT_EQ(r.status, 0) << r.why;
  EXPECT_EQ(r.head.method, "POST");
  EXPECT_EQ(r.head.target, "/hours?week=3%2F1%2F2004");
  EXPECT_EQ(r.head.content_length, 12u);
  EXPECT_EQ(r.head.Header("HOST"), "127.0.0.1:8080");
  EXPECT_EQ(r.head.Header("x-empty"), "");
  EXPECT_EQ(r.head.Header("Cookie"), "a=1");
  EXPECT_EQ(r.head.Header("Referer"), std::nullopt);
  EXPECT_TRUE(r.head.KeepAlive());
  // Bare line feeds end lines too.
  EXPECT_EQ(StatusOf("GET / HTTP/1.0\nHost: x\n\n"), 0);
}

TEST(HttpHead, RefusesWhatItDoesNotReadWithTheStatusThatSaysWhy) {
  EXPECT_EQ(StatusOf("GET /\r\n\r\n"), 400);                   // no version
  EXPECT_EQ(StatusOf("GET  / HTTP/1.1\r\n\r\n"), 400);         // two blanks
  EXPECT_EQ(StatusOf("GET http://x/ HTTP/1.1\r\n\r\n"), 400);  // not a path
  EXPECT_EQ(StatusOf("G(T / HTTP/1.1\r\n\r\n"), 400);          // not a method
  EXPECT_EQ(StatusOf("GET /\x01 HTTP/1.1\r\n\r\n"), 400);      // a control character
  EXPECT_EQ(StatusOf("GET / HTTP/2.0\r\n\r\n"), 505);
  EXPECT_EQ(StatusOf("GET / HTTP/1.1\r\nNo colon\r\n\r\n"), 400);
  EXPECT_EQ(StatusOf("GET / HTTP/1.1\r\nHost : x\r\n\r\n"), 400);  // a blank before the colon
  EXPECT_EQ(StatusOf("GET / HTTP/1.1\r\nA: b\r\n folded\r\n\r\n"), 400);
  EXPECT_EQ(StatusOf("GET / HTTP/1.1\r\nA: b\x7f\r\n\r\n"), 400);
  EXPECT_EQ(StatusOf("GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n"), 400);
  EXPECT_EQ(StatusOf("POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n"), 400);
  EXPECT_EQ(StatusOf("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n"), 400);
  EXPECT_EQ(StatusOf("POST / HTTP/1.1\r\nContent-Length: 65537\r\n\r\n"), 413);
  EXPECT_EQ(StatusOf("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n"), 413);
  EXPECT_EQ(StatusOf("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"), 501);
  std::string many = "GET / HTTP/1.1\r\n";
  for (std::size_t i = 0; i <= kHeaders; ++i) many += "A" + std::to_string(i) + ": b\r\n";
  EXPECT_EQ(StatusOf(many + "\r\n"), 431);
  // The same length twice is one length.
  EXPECT_EQ(StatusOf("POST / HTTP/1.1\r\nContent-Length: 2\r\nContent-Length: 02\r\n\r\n"), 0);
}

TEST(HttpHead, EndsAtTheFirstEmptyLineAndSaysHowTheConnectionGoesOn) {
  EXPECT_EQ(HeadEnd("GET / HTTP/1.1\r\nA: b\r\n\r\nbody"), 24u);
  EXPECT_EQ(HeadEnd("GET / HTTP/1.1\nA: b\n\nbody"), 21u);
  EXPECT_EQ(HeadEnd("GET / HTTP/1.1\r\nA: b\r\n"), std::string_view::npos);
  EXPECT_EQ(HeadEnd("GET / HTTP/1.1\r\nA: b\r\n\r"), std::string_view::npos);

  const auto head = [](std::string_view text) { return ReadHead(text, kHeaders, kBody).head; };
  EXPECT_FALSE(head("GET / HTTP/1.1\r\nConnection: keep-alive, Close\r\n\r\n").KeepAlive());
  EXPECT_FALSE(head("GET / HTTP/1.0\r\n\r\n").KeepAlive());
  EXPECT_TRUE(head("GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n").KeepAlive());
  EXPECT_TRUE(head("POST / HTTP/1.1\r\nExpect: 100-Continue\r\n\r\n").ExpectsContinue());
  EXPECT_FALSE(head("POST / HTTP/1.0\r\nExpect: 100-continue\r\n\r\n").ExpectsContinue());
}

TEST(HttpFields, AreDecodedInOrderAndAFieldWithoutANameIsLeftOut) {
  EXPECT_EQ(DecodeFields("a=1&b=x+y%2Fz&&=lost&c&a=2&d=%zz%4"),
            (NamedValues{{"a", "1"}, {"b", "x y/z"}, {"c", ""}, {"a", "2"}, {"d", "%zz%4"}}));
  EXPECT_EQ(DecodePercent("/a+b%20c%2f", false), "/a+b c/");
  EXPECT_EQ(DecodeFields(""), NamedValues{});
}

TEST(HttpFields, MakeTheApplicationsRequest) {
  const HttpHead post =
      ReadHead(
          "POST /year-end/2004/a%2Eb?x=1 HTTP/1.1\r\nHost: h\r\nCookie: a=1\r\nCookie: b=2\r\n"
          "Content-Type: Application/X-WWW-Form-Urlencoded; charset=UTF-8\r\nContent-Length: "
          "7\r\n\r\n",
          kHeaders, kBody)
          .head;
  const WebRequest request = ToWebRequest(post, "year=04");
  EXPECT_TRUE(request.post);
  EXPECT_EQ(request.path, "/year-end/2004/a.b");
  EXPECT_EQ(request.query, (NamedValues{{"x", "1"}}));
  EXPECT_EQ(request.form, (NamedValues{{"year", "04"}}));
  EXPECT_EQ(request.host, "h");
  EXPECT_EQ(request.cookies, "a=1; b=2");

  HttpHead other = post;
  for (auto& [name, value] : other.headers) {
    if (name == "Content-Type") value = "text/plain";
  }
  EXPECT_TRUE(ToWebRequest(other, "year=04").form.empty());
}

TEST(HttpReply, CarriesItsLengthAndNoHeaderThatBreaksALine) {
  WebReply reply = WebReply::Page("<p>é</p>");
  reply.headers.emplace_back("Location", "/a\r\nSet-Cookie: x=1");
  reply.headers.emplace_back("Bad Name", "1");
  reply.headers.emplace_back("X-Kept", "yes");
  const std::string bytes = ReplyBytes(reply, true, false);
  EXPECT_TRUE(bytes.starts_with("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"));
  EXPECT_THAT(bytes, HasSubstr("\r\nContent-Length: 9\r\n"));
  EXPECT_THAT(bytes, HasSubstr("\r\nConnection: keep-alive\r\n"));
  EXPECT_THAT(bytes, HasSubstr("\r\nX-Kept: yes\r\n"));
  EXPECT_THAT(bytes, Not(HasSubstr("Set-Cookie")));
  EXPECT_THAT(bytes, Not(HasSubstr("Bad Name")));
  EXPECT_TRUE(bytes.ends_with("\r\n\r\n<p>é</p>"));
  // A HEAD request is told the length without the body.
  const std::string head = ReplyBytes(reply, false, true);
  EXPECT_THAT(head, HasSubstr("\r\nContent-Length: 9\r\n"));
  EXPECT_THAT(head, HasSubstr("\r\nConnection: close\r\n"));
  EXPECT_TRUE(head.ends_with("\r\n\r\n"));
  EXPECT_THAT(ReplyBytes(PlainReply(431, "Too long."), false, false),
              HasSubstr("HTTP/1.1 431 Request Header Fields Too Large\r\n"));
}

}  // namespace
}  // namespace veltrane::web
