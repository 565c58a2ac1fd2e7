// The local web application's guard and pages, over a real database: the
// requests it must refuse, bad input that stores nothing, a payment sent
// twice, escaping, the hot-key map of a page, and the served program
// stopping on SIGTERM.
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/program_runner.h"
#include "common/clock.h"
#include "common/sqlite_database.h"
#include "host/household/database_file.h"
#include "host/web/app.h"
#include "host/web/guard.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::host::testing {
namespace {

using namespace veltrane::web;

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kToken = "0123456789abcdef0123456789abcdef";
constexpr int kPort = 8421;

std::string Header(const WebReply& r, const std::string& name) {
  for (const auto& [key, value] : r.headers) {
    if (key == name) return value;
  }
  return "";
}

class WebAppTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeHousehold();
    db_ = household::OpenHousehold(DbPath()).db;
    held_.emplace(DbPath(), *db_);
    app_.emplace(*held_, clock_, kToken, kPort);
  }
  void TearDown() override {
    app_.reset();
    held_.reset();
    db_.reset();
    ProgramTest::TearDown();
  }

  WebRequest Request(const std::string& path, bool post) const {
    WebRequest r;
    r.post = post;
    r.path = path;
    r.host = "127.0.0.1:" + std::to_string(kPort);
    r.cookies = std::string("theme=dark; paystead_token=") + kToken;
    return r;
  }
  WebReply Get(const std::string& path, NamedValues query = {}) {
    WebRequest r = Request(path, false);
    r.query = std::move(query);
    return app_->Handle(r);
  }
  WebReply Post(const std::string& path, NamedValues form) {
    WebRequest r = Request(path, true);
    form.emplace_back("token", kToken);
    r.form = std::move(form);
    return app_->Handle(r);
  }
  long long Count(const std::string& table) const {
    return QueryNumber("SELECT count(*) AS n FROM [" + table + "]");
  }
  // Five days of eight hours for Ann Lee in the week of 3/1/2004.
  void RecordWeek() {
    NamedValues form = {{"week", "3/1/2004"}, {"name0", "Ann Lee"}};
    for (int d = 0; d < 5; ++d) form.emplace_back("r0-" + std::to_string(d), "8");
    ASSERT_EQ(Post("/hours", form).status, 303);
  }
  std::string Fingerprint(const std::string& html) const {
    std::smatch m;
    std::regex_search(html, m, std::regex("name=\"fingerprint\" value=\"([0-9a-f]+)\""));
    return m.size() > 1 ? m[1].str() : "";
  }

  FixedClock clock_{Date(std::chrono::year(2004) / 3 / 8)};
  std::unique_ptr<Database> db_;
  std::optional<household::HeldDatabase> held_;
  std::optional<WebApp> app_;
};

// ---- the guard

TEST_F(WebAppTest, RefusesARequestWithoutTheToken) {
  WebRequest r = Request("/employer", false);
  r.cookies.clear();
  EXPECT_EQ(app_->Handle(r).status, 403);
  r.cookies = "paystead_token=0123456789abcdef0123456789abcdee";  // one digit off
  EXPECT_EQ(app_->Handle(r).status, 403);
  r.cookies = "paystead_token=";
  EXPECT_EQ(app_->Handle(r).status, 403);
}

TEST_F(WebAppTest, TheAddressTokenSetsAStrictCookieAndLeavesTheAddress) {
  WebRequest r = Request("/hours", false);
  r.cookies.clear();
  r.query = {{"week", "3/1/2004"}, {"token", kToken}};
  const WebReply reply = app_->Handle(r);
  EXPECT_EQ(reply.status, 303);
  EXPECT_EQ(Header(reply, "Location"), "/hours?week=3%2F1%2F2004");
  const std::string cookie = Header(reply, "Set-Cookie");
  EXPECT_THAT(cookie, HasSubstr(std::string("paystead_token=") + kToken));
  EXPECT_THAT(cookie, HasSubstr("HttpOnly"));
  EXPECT_THAT(cookie, HasSubstr("SameSite=Strict"));

  r.query = {{"token", "not-the-token"}};
  EXPECT_EQ(app_->Handle(r).status, 403);
}

TEST_F(WebAppTest, RefusesAnotherHost) {
  for (const char* host : {"evil.example:8421", "127.0.0.1:8422", "127.0.0.1", "",
                           "localhost.evil.example:8421", "192.168.1.5:8421"}) {
    WebRequest r = Request("/employer", false);
    r.host = host;
    EXPECT_EQ(app_->Handle(r).status, 403) << host;
  }
  WebRequest r = Request("/employer", false);
  r.host = "localhost:8421";
  EXPECT_EQ(app_->Handle(r).status, 200);
}

TEST_F(WebAppTest, AGetThatWouldChangeDataIsRefusedAndChangesNothing) {
  const WebReply add = Get("/assistants/add", {{"name", "Bob"}, {"rate", "10"}});
  EXPECT_EQ(add.status, 405);
  EXPECT_EQ(Header(add, "Allow"), "POST");
  // With the token in the address, the server only sets the cookie and sends
  // the browser on to the same GET.
  EXPECT_EQ(Get("/assistants/add", {{"name", "Bob"}, {"rate", "10"}, {"token", kToken}}).status,
            303);
  EXPECT_EQ(Get("/employer", {{"first", "Mallory"}}).status, 200);
  EXPECT_EQ(Get("/hours", {{"week", "3/1/2004"}, {"name0", "Ann Lee"}, {"r0-0", "8"}}).status, 200);
  EXPECT_EQ(Get("/check/void", {{"id", "1"}}).status, 405);
  EXPECT_EQ(Count("Assistants"), 1);
  EXPECT_EQ(Count("Work Journal"), 0);
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM Employer WHERE first_name='Mallory'"), 0);
}

TEST_F(WebAppTest, APostWithoutTheFormTokenChangesNothing) {
  WebRequest r = Request("/assistants/add", true);
  r.form = {{"name", "Bob"}, {"rate", "10"}};
  EXPECT_EQ(app_->Handle(r).status, 403);
  r.form.emplace_back("token", "0123456789abcdef0123456789abcdee");
  EXPECT_EQ(app_->Handle(r).status, 403);
  EXPECT_EQ(Count("Assistants"), 1);
}

TEST_F(WebAppTest, EveryReplyForbidsFramingAndOtherScripts) {
  const WebReply reply = Get("/employer");
  EXPECT_THAT(Header(reply, "Content-Security-Policy"), HasSubstr("frame-ancestors 'none'"));
  EXPECT_THAT(Header(reply, "Content-Security-Policy"), HasSubstr("default-src 'none'"));
  EXPECT_EQ(Header(reply, "Cache-Control"), "no-store");
}

// ---- pages

TEST_F(WebAppTest, BadInputShowsTheMessageBesideTheFieldAndStoresNothing) {
  const WebReply reply = Post("/assistants/add", {{"name", "Bob"}, {"rate", "ten"}});
  EXPECT_EQ(reply.status, 200);
  EXPECT_THAT(reply.body, HasSubstr("name=\"rate\" value=\"ten\""));
  EXPECT_TRUE(std::regex_search(
      reply.body,
      std::regex("name=\"rate\" value=\"ten\"[^>]*aria-invalid=\"true\">.*"
                 "class=\"fault\" id=\"c[0-9]+-fault\">&#39;ten&#39; is not an amount")));
  EXPECT_EQ(Count("Assistants"), 1);
}

TEST_F(WebAppTest, AWeekWithOneBadDayRecordsNoDay) {
  const WebReply reply = Post(
      "/hours",
      {{"week", "3/1/2004"}, {"name0", "Ann Lee"}, {"r0-0", "8"}, {"r0-1", "8"}, {"o0-1", "20"}});
  EXPECT_EQ(reply.status, 200);
  EXPECT_THAT(reply.body, HasSubstr("add up to more than the 24 hours of a day"));
  EXPECT_THAT(reply.body, HasSubstr("Nothing was recorded"));
  EXPECT_EQ(Count("Work Journal"), 0);

  RecordWeek();
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM [Work Journal] WHERE PaidFor=0"), 5);
  EXPECT_THAT(Get("/hours", {{"week", "3/1/2004"}}).body, HasSubstr("recorded 8 + 0"));
}

TEST_F(WebAppTest, APaymentPostedTwicePaysOnce) {
  RecordWeek();
  const NamedValues period = {{"assistant", "Ann Lee"}, {"from", "3/1/2004"}, {"to", "3/7/2004"}};
  const WebReply preview = Get("/paycheck", period);
  ASSERT_EQ(preview.status, 200);
  EXPECT_THAT(preview.body, HasSubstr("NOT PAID"));
  const std::string fingerprint = Fingerprint(preview.body);
  ASSERT_FALSE(fingerprint.empty());

  NamedValues pay = period;
  pay.emplace_back("fingerprint", fingerprint);
  const WebReply first = Post("/paycheck/pay", pay);
  EXPECT_EQ(first.status, 303);
  EXPECT_EQ(Header(first, "Location"), "/check?id=1&paid=5");
  const WebReply second = Post("/paycheck/pay", pay);  // a double click or a reload
  EXPECT_EQ(second.status, 200);
  EXPECT_THAT(second.body, HasSubstr("already paid: check ID 1"));
  EXPECT_EQ(Count("Payment Journal"), 1);
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM [Work Journal] WHERE PaidFor=1"), 5);
}

TEST_F(WebAppTest, APaycheckThatChangedSincePreviewIsNotPaid) {
  RecordWeek();
  const NamedValues period = {{"assistant", "Ann Lee"}, {"from", "3/1/2004"}, {"to", "3/7/2004"}};
  const std::string fingerprint = Fingerprint(Get("/paycheck", period).body);
  // More hours arrive between the preview and the payment.
  ASSERT_EQ(Post("/hours", {{"week", "3/1/2004"}, {"name0", "Ann Lee"}, {"r0-5", "4"}}).status,
            303);
  NamedValues pay = period;
  pay.emplace_back("fingerprint", fingerprint);
  const WebReply reply = Post("/paycheck/pay", pay);
  EXPECT_THAT(reply.body, HasSubstr("changed since it was previewed"));
  EXPECT_EQ(Count("Payment Journal"), 0);
}

TEST_F(WebAppTest, HoursAndSupplementalPayGivenOnThePageArePaid) {
  const NamedValues period = {{"assistant", "Ann Lee"},
                              {"from", "3/1/2004"},
                              {"to", "3/7/2004"},
                              {"hours", "10"},
                              {"supp", "Bonus:50; Gift:5"}};
  const WebReply preview = Get("/paycheck", period);
  EXPECT_THAT(preview.body, HasSubstr("Bonus"));
  NamedValues pay = period;
  pay.emplace_back("fingerprint", Fingerprint(preview.body));
  const WebReply paid = Post("/paycheck/pay", pay);
  ASSERT_EQ(paid.status, 303) << paid.body.substr(paid.body.find("<main>"), 600);
  EXPECT_EQ(QueryNumber("SELECT gross_pay AS n FROM [Payment Journal]"),
            155);  // $100 of hours, $55 supplemental

  const WebReply bad =
      Get("/paycheck",
          {{"assistant", "Ann Lee"}, {"from", "3/1/2004"}, {"to", "3/7/2004"}, {"supp", "Bonus"}});
  EXPECT_TRUE(
      std::regex_search(bad.body, std::regex("name=\"supp\"[^>]*aria-invalid=\"true\">"
                                             "[^<]*<span class=\"hint\"[^<]*</span>"
                                             " <span class=\"fault\"[^>]*>[^<]*lacks the amount")));
}

TEST_F(WebAppTest, AVoidSentTwiceVoidsOnce) {
  RecordWeek();
  const NamedValues period = {{"assistant", "Ann Lee"}, {"from", "3/1/2004"}, {"to", "3/7/2004"}};
  NamedValues pay = period;
  pay.emplace_back("fingerprint", Fingerprint(Get("/paycheck", period).body));
  ASSERT_EQ(Post("/paycheck/pay", pay).status, 303);
  EXPECT_EQ(Header(Post("/check/void", {{"id", "1"}}), "Location"), "/check?id=1&voided=5");
  EXPECT_EQ(Header(Post("/check/void", {{"id", "1"}}), "Location"), "/check?id=1");
  EXPECT_THAT(Get("/check", {{"id", "1"}}).body, HasSubstr("VOID"));
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM [Work Journal] WHERE PaidFor=0"), 5);
}

TEST_F(WebAppTest, EveryTextIsEscaped) {
  const std::string name = "<script>alert('x')</script> & \"Co\"";
  ASSERT_EQ(Post("/assistants/add", {{"name", name}, {"rate", "10"}}).status, 303);
  for (const WebReply& page :
       {Get("/assistants"), Get("/assistant", {{"name", name}}), Get("/hours", {{"week", "<b>"}}),
        Get("/paycheck", {{"assistant", name}})}) {
    EXPECT_THAT(page.body, Not(HasSubstr("<script>alert")));
    EXPECT_THAT(page.body, Not(HasSubstr("<b>")));
  }
  EXPECT_THAT(Get("/assistants").body,
              HasSubstr("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;Co&quot;"));
}

TEST_F(WebAppTest, TheWebAndTheCommandLineShareTheirChecks) {
  // The web's employer is the command line's employer, and a name the
  // command line refuses is refused on the page with the same words.
  ASSERT_EQ(Post("/employer", {{"first", "Dana"}, {"last", "O'Brien-Whitfield"}}).status, 303);
  EXPECT_THAT(Ok({"employer", "show"}), HasSubstr("Dana O'Brien-Whitfield"));
  const ProgramResult cli = Run({"assistant", "add", "All Assistants", "--rate", "10"});
  const WebReply web = Post("/assistants/add", {{"name", "All Assistants"}, {"rate", "10"}});
  EXPECT_THAT(web.body, HasSubstr("stands for every assistant in the statements"));
  EXPECT_THAT(cli.err, HasSubstr("stands for every assistant in the statements"));
}

TEST_F(WebAppTest, AssistantElectionsSurviveTheForm) {
  const WebReply shown = Get("/assistant", {{"name", "ann lee"}});
  EXPECT_THAT(shown.body, HasSubstr("<option value=\"Single\" selected>"));
  ASSERT_EQ(Post("/assistants/change", {{"name", "Ann Lee"},
                                        {"rate", "12"},
                                        {"ot-rate", "18"},
                                        {"fit-filing", "Single"},
                                        {"fit-allowances", "1"},
                                        {"ss", "yes"},
                                        {"medicare", "yes"}})
                .status,
            303);
  EXPECT_THAT(Ok({"assistant", "list"}), HasSubstr("FIT Single 1, Soc. Sec., Medicare"));
  // No election chosen is no election, not the old list.
  ASSERT_EQ(Post("/assistants/change",
                 {{"name", "Ann Lee"}, {"rate", "12"}, {"ot-rate", "18"}, {"fit-filing", "none"}})
                .status,
            303);
  EXPECT_THAT(Ok({"assistant", "list"}), HasSubstr("none"));
}

TEST_F(WebAppTest, TheStatementSelectorShowsTheStatementPage) {
  EXPECT_THAT(Get("/statements").body, HasSubstr("<option value=\"Form 941\""));
  const WebReply page = Get("/statement", {{"type", "form 941"},
                                           {"assistant", "All Assistants"},
                                           {"from", "1/1/2004"},
                                           {"to", "3/31/2004"}});
  EXPECT_EQ(page.status, 200);
  EXPECT_THAT(page.body, HasSubstr("Form 941"));
  const WebReply bad = Get("/statement", {{"type", "Summary"}, {"from", "1/1/2004"}});
  EXPECT_THAT(bad.body, HasSubstr("class=\"fault\""));
}

// ---- hot keys

TEST_F(WebAppTest, APageCarriesTheLibrarysHotKeysOnItsControls) {
  const std::string html = Get("/employer").body;
  // The First name label's letter focuses the field after it.
  std::smatch m;
  ASSERT_TRUE(std::regex_search(html, m, std::regex("<label for=\"(c[0-9]+)\"><u>F</u>irst name")));
  const std::string first = m[1];
  EXPECT_THAT(html, HasSubstr("\"F\":\"" + first + "\""));
  EXPECT_THAT(html,
              HasSubstr("id=\"" + first + "\" name=\"first\" value=\"Dana\" accesskey=\"f\""));
  // A letter given twice goes to the first control only: the navigation's
  // Employer link, not a later caption with E.
  EXPECT_EQ(std::regex_search(html, std::regex("accesskey=\"e\"[^>]*>[^<]*<u>E</u>mployer")), true);
  std::ptrdiff_t keys_e = 0;
  for (std::size_t at = html.find("accesskey=\"e\""); at != std::string::npos;
       at = html.find("accesskey=\"e\"", at + 1))
    ++keys_e;
  EXPECT_EQ(keys_e, 1);
}

TEST_F(WebAppTest, AnAmpersandInANameIsShownAsItselfInEveryCaption) {
  ASSERT_EQ(Post("/assistants/add", {{"name", "B&<i>"}, {"rate", "10"}}).status, 303);
  const std::string list = Get("/assistants").body;
  EXPECT_THAT(list, HasSubstr(">Change B&amp;&lt;i&gt;</a>"));
  EXPECT_THAT(list, Not(HasSubstr("accesskey=\"&lt;\"")));
  EXPECT_THAT(list, Not(HasSubstr("\"\\u0026\":")));  // "&" is no hot key
  const std::string preview =
      Get("/paycheck",
          {{"assistant", "B&<i>"}, {"from", "3/1/2004"}, {"to", "3/7/2004"}, {"hours", "10"}})
          .body;
  EXPECT_THAT(preview, HasSubstr(" to B&amp;&lt;i&gt;</button>"));
}

TEST_F(WebAppTest, TheYearEndFilesOfYearsPaysteadNeverWritesAreNotFound) {
  ::setenv("XDG_CACHE_HOME", dir_.c_str(), 1);
  for (const char* year : {"0", "1999", "2100"}) {
    const std::string folder = Path("paystead/year-end-" + std::string(year));
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/index.html") << "<p>not paystead's</p>";
  }
  for (const char* path : {"/year-end/0000/index.html", "/year-end/1999/index.html",
                           "/year-end/2100/index.html", "/year-end/+999/index.html"})
    EXPECT_EQ(Get(path).status, 404) << path;
  ASSERT_EQ(Post("/year-end", {{"year", "2004"}}).status, 303);
  EXPECT_EQ(Get("/year-end/2004/index.html").status, 200);
  ::unsetenv("XDG_CACHE_HOME");
}

// The file the server opened is used only while it is the file at its path.
TEST_F(WebAppTest, ADatabaseFileRemovedOrReplacedIsNeitherReadNorWritten) {
  const NamedValues mallory = {{"first", "Mallory"}};
  std::filesystem::rename(DbPath(), Path("moved.db"));
  const WebReply gone = Get("/journal");
  EXPECT_EQ(gone.status, 503);
  EXPECT_THAT(gone.body, HasSubstr("is no longer there"));
  EXPECT_THAT(gone.body, HasSubstr("stop the server and start it again"));
  EXPECT_EQ(Post("/employer", mallory).status, 503);
  std::filesystem::rename(Path("moved.db"), DbPath());  // back: the same file again
  EXPECT_EQ(Get("/journal").status, 200);

  std::filesystem::copy_file(DbPath(), Path("other.db"));
  std::filesystem::rename(Path("other.db"), DbPath());
  const WebReply replaced = Post("/employer", mallory);
  EXPECT_EQ(replaced.status, 503);
  EXPECT_THAT(replaced.body, HasSubstr("was replaced by another file"));
  EXPECT_EQ(Get("/employer").status, 503);
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM Employer WHERE first_name='Mallory'"), 0);
  EXPECT_THAT(Get("/employer").body, Not(HasSubstr("readonly")));
}

// Another program's lock, held longer than the database waits for it.
TEST_F(WebAppTest, ALockedDatabaseIsInUseNotAFailure) {
  const auto holder = OpenSqliteDatabase(DbPath());
  holder->Execute("BEGIN EXCLUSIVE");
  const WebReply journal = Get("/journal");  // a page that only reads
  EXPECT_EQ(journal.status, 503);
  EXPECT_THAT(journal.body, HasSubstr("is in use by another program; try again"));
  EXPECT_EQ(Header(journal, "Retry-After"), "5");
  holder->Execute("ROLLBACK");
  EXPECT_EQ(Get("/journal").status, 200);
}

// ---- the guard's pieces

TEST(WebGuard, TokensAreLongRandomAndHex) {
  const std::string a = MakeToken(), b = MakeToken();
  EXPECT_TRUE(std::regex_match(a, std::regex("[0-9a-f]{32}")));
  EXPECT_NE(a, b);
}

TEST(WebGuard, FindsTheTokenAmongOtherCookiesOnly) {
  EXPECT_EQ(TokenFromCookies("a=1; paystead_token=abc;b=2"), "abc");
  EXPECT_EQ(TokenFromCookies("paystead_token=abc"), "abc");
  EXPECT_EQ(TokenFromCookies("xpaystead_token=abc; paystead_tokens=def"), std::nullopt);
  EXPECT_EQ(TokenFromCookies(""), std::nullopt);
}

TEST(WebGuard, AHostIsTheLoopbackNameAtThePort) {
  EXPECT_TRUE(IsOwnHost("127.0.0.1:8080", 8080));
  EXPECT_TRUE(IsOwnHost("LocalHost:8080", 8080));
  EXPECT_FALSE(IsOwnHost("127.0.0.1:80800", 8080));
  EXPECT_FALSE(IsOwnHost("[::1]:8080", 8080));
  EXPECT_FALSE(IsOwnHost("127.0.0.2:8080", 8080));
}

TEST(WebGuard, AnEmptyTokenNeverMatches) {
  EXPECT_FALSE(SameToken("", ""));
  EXPECT_FALSE(SameToken("abc", "abd"));
  EXPECT_FALSE(SameToken("ab", "abc"));
  EXPECT_TRUE(SameToken("abc", "abc"));
}

TEST(WebCaptions, UnderlineTheHotKeyAndEscapeTheRest) {
  EXPECT_EQ(CaptionHtml("Sa&ve"), "Sa<u>v</u>e");
  EXPECT_EQ(CaptionHtml("Fish && &Chips <b>"), "Fish &amp; <u>C</u>hips &lt;b&gt;");
  EXPECT_EQ(CaptionHtml("&<"), "<u>&lt;</u>");
  EXPECT_EQ(CaptionText("Fish && &Chips"), "Fish & Chips");
  EXPECT_EQ(CaptionText("trailing &"), "trailing &");
  // A name in a caption is shown as it is.
  EXPECT_EQ(CaptionLiteral("B&<i> && C"), "B&&<i> &&&& C");
  EXPECT_EQ(CaptionText("Change " + CaptionLiteral("B&<i>")), "Change B&<i>");
  EXPECT_EQ(CaptionHtml("Pay &to " + CaptionLiteral("B&<i>")), "Pay <u>t</u>o B&amp;&lt;i&gt;");
}

TEST(WebFaults, AreWordedForThePageWithoutFlagsOrCommands) {
  const household::Fault value("rate", "'x' is not an amount");
  EXPECT_EQ(ForPage(value, {}).field, "rate");
  EXPECT_EQ(ForPage(value, {}).text, "'x' is not an amount");
  const household::Fault order("from", household::FieldRef("from") + " is after " +
                                           household::FieldRef("to") +
                                           "; give the earlier day first");
  EXPECT_EQ(ForPage(order, {{"from", "the first day"}, {"to", "the last day"}}).text,
            "the first day is after the last day; give the earlier day first");
  const household::Fault paid("", "Ann is already paid", household::Remedy::kVoidCheck, 25);
  EXPECT_EQ(
      ForPage(paid, {}).text,
      "Ann is already paid; void check ID 25 on the Journal page first to pay those days again");
}

// ---- the program

class ServeProgram : public ProgramTest {};

TEST_F(ServeProgram, GuardsItsPagesOverTheNetworkAndStopsCleanlyOnSigterm) {
  MakeHousehold();
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    if (chdir(dir_.c_str()) != 0) _exit(126);
    execl(PAYSTEAD_PROGRAM, PAYSTEAD_PROGRAM, "serve", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[512];
  while (text.find("Ctrl-C") == std::string::npos) {
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      text, m, std::regex("at http://127\\.0\\.0\\.1:([0-9]+)/\\?token=([0-9a-f]{32})\n")))
      << text;
  const int port = std::stoi(m[1]);
  const std::string token = m[2];

  httplib::Client client("127.0.0.1", port);
  const auto status = [](const httplib::Result& r) { return r ? r->status : -1; };
  EXPECT_EQ(status(client.Get("/employer")), 403);
  const auto entry = client.Get(("/?token=" + token).c_str());
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->status, 303);
  EXPECT_THAT(entry->get_header_value("Set-Cookie"), HasSubstr("HttpOnly; SameSite=Strict"));
  const httplib::Headers cookie = {{"Cookie", "paystead_token=" + token}};
  EXPECT_EQ(status(client.Get("/employer", cookie)), 200);
  httplib::Headers other_host = cookie;
  other_host.emplace("Host", "paystead.evil.example:" + std::to_string(port));
  EXPECT_EQ(status(client.Get("/employer", other_host)), 403);
  EXPECT_EQ(status(client.Post("/employer", cookie, "first=Mallory",
                               "application/x-www-form-urlencoded")),
            403);
  EXPECT_EQ(
      status(client.Put("/employer", cookie, "first=Mallory", "application/x-www-form-urlencoded")),
      405);

  kill(pid, SIGTERM);
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  EXPECT_TRUE(WIFEXITED(wait_status) && WEXITSTATUS(wait_status) == 0) << wait_status;
  EXPECT_THAT(text, HasSubstr("Stopped; the database is closed."));
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM Employer WHERE first_name='Mallory'"), 0);
}

}  // namespace
}  // namespace veltrane::host::testing
