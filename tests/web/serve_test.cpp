// The local web application's guard and pages, over a real database: the
// requests it must refuse, bad input that stores nothing, a payment sent
// twice, escaping, the hot-key map of a page, and the served program
// stopping on SIGTERM.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "cli/program_runner.h"
#include "support/test_databases.h"
#include "common/clock.h"
#include "common/sqlite_database.h"
#include "host/household/database_file.h"
#include "host/web/app.h"
#include "host/web/guard.h"
#include "host/web/page.h"
#include "host/web/routes.h"
#include "host/web/server.h"
#include "web/socket_client.h"

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

TEST_F(WebAppTest, BadInputShowsTheMessageBesideTheFieldAndInASummaryAndStoresNothing) {
  const WebReply reply = Post("/assistants/add", {{"name", "Bob"}, {"rate", "ten"}});
  EXPECT_EQ(reply.status, 200);
  EXPECT_THAT(reply.body, HasSubstr("<title>Error: New assistant - paystead</title>"));
  std::smatch field;
  ASSERT_TRUE(std::regex_search(
      reply.body, field,
      std::regex("id=\"(c[0-9]+)\" name=\"rate\" value=\"ten\"[^>]*aria-invalid=\"true\">.*"
                 "class=\"fault\" id=\"c[0-9]+-fault\">&#39;ten&#39; is not an amount")));
  // The summary before the form, which takes the focus, links the field.
  const std::size_t summary = reply.body.find(
      "<div class=\"errors\" id=\"errors\" tabindex=\"-1\" "
      "autofocus role=\"alert\"");
  EXPECT_LT(summary, reply.body.find("<form"));
  EXPECT_NE(reply.body.find("<li><a href=\"#" + field[1].str() +
                                "\">Regular hourly rate: &#39;ten&#39; is not an amount",
                            summary),
            std::string::npos);
  EXPECT_EQ(Count("Assistants"), 1);

  const WebReply zip = Post("/employer", {{"first", "Dana"}, {"zip", "abc"}});
  EXPECT_TRUE(std::regex_search(
      zip.body,
      std::regex("name=\"zip\" value=\"abc\"[^>]*aria-invalid=\"true\">.*"
                 "class=\"fault\" id=\"c[0-9]+-fault\">&#39;abc&#39; is not a ZIP code")));
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM Employer WHERE zip='abc'"), 0);
  // A page without a fault has neither.
  const std::string clean = Get("/assistant").body;
  EXPECT_THAT(clean, Not(HasSubstr("Error:")));
  EXPECT_THAT(clean, Not(HasSubstr("role=\"alert\"")));
}

TEST_F(WebAppTest, TheWeekGridSetsEachDayAndOneBadDaySavesNone) {
  const WebReply reply = Post(
      "/hours",
      {{"week", "3/1/2004"}, {"name0", "Ann Lee"}, {"r0-0", "8"}, {"r0-1", "8"}, {"o0-1", "20"}});
  EXPECT_EQ(reply.status, 200);
  EXPECT_THAT(reply.body, HasSubstr("add up to more than the 24 hours of a day"));
  EXPECT_THAT(reply.body, HasSubstr("Nothing was saved"));
  EXPECT_EQ(Count("Work Journal"), 0);

  // The same grid sent twice (a double click) records the week once.
  RecordWeek();
  const long long first_id = QueryNumber("SELECT Max(ID) AS n FROM [Work Journal]");
  RecordWeek();
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM [Work Journal] WHERE PaidFor=0"), 5);
  EXPECT_EQ(QueryNumber("SELECT Max(ID) AS n FROM [Work Journal]"), first_id);
  // Each input is described by what its day holds, and shows it.
  const std::string grid = Get("/hours", {{"week", "3/1/2004"}}).body;
  EXPECT_TRUE(std::regex_search(
      grid, std::regex("id=\"(day-0-0)\">recorded 8 regular, 0 overtime</div>.*"
                       "name=\"r0-0\" value=\"8\"[^>]*aria-describedby=\"day-0-0\"")));
  // A day cleared is a day without hours; a day changed holds the new ones only.
  Post("/hours", {{"week", "3/1/2004"},
                  {"name0", "Ann Lee"},
                  {"r0-0", ""},
                  {"r0-1", "6"},
                  {"o0-1", "1"},
                  {"r0-2", "8"},
                  {"r0-3", "8"},
                  {"r0-4", "8"}});
  EXPECT_EQ(QueryNumber("SELECT Sum(RegHours) AS n FROM [Work Journal]"), 30);
  EXPECT_EQ(QueryNumber("SELECT Sum(OTHours) AS n FROM [Work Journal]"), 1);
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

TEST_F(WebAppTest, AVoidIsConfirmedFirstAndDoneOnce) {
  RecordWeek();
  const NamedValues period = {{"assistant", "Ann Lee"}, {"from", "3/1/2004"}, {"to", "3/7/2004"}};
  NamedValues pay = period;
  pay.emplace_back("fingerprint", Fingerprint(Get("/paycheck", period).body));
  ASSERT_EQ(Post("/paycheck/pay", pay).status, 303);
  // The paid week's grid has no inputs left.
  EXPECT_THAT(Get("/hours", {{"week", "3/1/2004"}}).body, Not(HasSubstr("name=\"r0-0\"")));
  // A void asks first, saying which days become payable again.
  EXPECT_THAT(Get("/check/void", {{"id", "1"}}).body,
              HasSubstr("become payable again: 3/1/2004, 3/2/2004, 3/3/2004, 3/4/2004, 3/5/2004."));
  EXPECT_EQ(Header(Post("/check/void", {{"id", "1"}}), "Location"), "/check/void?id=1");
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM [Payment Journal] WHERE [Void]=True"), 0);
  EXPECT_EQ(Header(Post("/check/void", {{"id", "1"}, {"confirm", "yes"}}), "Location"),
            "/check?id=1&voided=5");
  EXPECT_EQ(Header(Post("/check/void", {{"id", "1"}, {"confirm", "yes"}}), "Location"),
            "/check?id=1");
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

TEST_F(WebAppTest, StatementPagesKeepTheNavigationAndLeadBackWhereTheyCameFrom) {
  EXPECT_THAT(Get("/statements").body, HasSubstr("<option value=\"Form 941\""));
  const WebReply page = Get("/statement", {{"type", "form 941"},
                                           {"assistant", "All Assistants"},
                                           {"from", "1/1/2004"},
                                           {"to", "3/31/2004"}});
  EXPECT_EQ(page.status, 200);
  EXPECT_THAT(page.body, HasSubstr("<h1>Form 941</h1>"));
  EXPECT_THAT(page.body, HasSubstr("<nav aria-label=\"Pages\">"));
  EXPECT_THAT(page.body, HasSubstr("href=\"/statements?type=form%20941&amp;assistant=All%20"
                                   "Assistants&amp;from=1%2F1%2F2004&amp;to=3%2F31%2F2004\""));
  const WebReply bad = Get("/statement", {{"type", "Summary"}, {"from", "1/1/2004"}});
  EXPECT_THAT(bad.body, HasSubstr("class=\"fault\""));

  // The year-end package's pages, written as files, are shown inside the
  // application's page; an index leads back to the year-end page, a
  // statement to its index.
  ASSERT_EQ(setenv("XDG_CACHE_HOME", Path("cache").c_str(), 1), 0);
  ASSERT_EQ(Post("/year-end", {{"year", "2004"}}).status, 303);
  const std::string index = Get("/year-end/2004/index.html").body;
  EXPECT_THAT(index, HasSubstr("<title>Payroll statements of 2004 - paystead</title>"));
  EXPECT_THAT(index, HasSubstr("<nav aria-label=\"Pages\">"));
  EXPECT_THAT(index, HasSubstr("href=\"/year-end?year=2004\""));
  EXPECT_THAT(index, HasSubstr("<a href=\"form-941_2004-01-01_2004-03-31.html\">"));
  const std::string statement = Get("/year-end/2004/form-941_2004-01-01_2004-03-31.html").body;
  EXPECT_THAT(statement, HasSubstr("<nav aria-label=\"Pages\">"));
  EXPECT_THAT(statement, HasSubstr("href=\"index.html\""));
  // The file itself leads back to its index without the server.
  EXPECT_THAT(ReadFile(Path("cache/paystead/year-end-2004/form-941_2004-01-01_2004-03-31.html")),
              HasSubstr("<a href=\"index.html\">Back to the index of the statements of 2004</a>"));
  // A page that is not there still has the navigation.
  const WebReply missing = Get("/nowhere");
  EXPECT_EQ(missing.status, 404);
  EXPECT_THAT(missing.body, HasSubstr("<nav aria-label=\"Pages\">"));
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

  // A table's caption hands its letter on to the table's first field.
  const std::string hours = Get("/hours", {{"week", "3/1/2004"}}).body;
  ASSERT_TRUE(std::regex_search(hours, m, std::regex("id=\"(c[0-9]+)\" name=\"r0-0\"")));
  EXPECT_THAT(hours, HasSubstr("\"U\":\"" + m[1].str() + "\""));
  EXPECT_THAT(hours, HasSubstr("Ho<u>u</u>rs of the week of 3/1/2004"));
  EXPECT_THAT(hours, HasSubstr("name=\"r0-0\" value=\"\" accesskey=\"u\""));
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

// ---- the server's limits, with short times, over real sockets

class ServedApp : public WebAppTest {
 protected:
  void Serve(ServerLimits limits) {
    server_.emplace(*app_, 0, limits);
    port_ = server_->port();
    thread_ = std::thread([this] { server_->Run(); });
  }
  void TearDown() override {
    if (server_) {
      server_->Stop();
      thread_.join();
      server_.reset();
    }
    WebAppTest::TearDown();
  }
  std::string Cookie() const { return std::string("Cookie: paystead_token=") + kToken + "\r\n"; }
  std::string PartialHead() const {
    return "GET /employer HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) + "\r\nX-Slow: ";
  }

  std::optional<WebServer> server_;
  std::thread thread_;
  int port_ = 0;
};

TEST_F(ServedApp, ARequestThatComesTooSlowlyIsCutOffAtItsDeadline) {
  ServerLimits limits;
  limits.head_time = std::chrono::milliseconds(300);
  limits.request_time = std::chrono::milliseconds(600);
  Serve(limits);
  SocketClient head(port_), body(port_);
  ASSERT_TRUE(head.Send(PartialHead()));
  ASSERT_TRUE(body.Send("POST /employer HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
                        "\r\nContent-Length: 10\r\n\r\nfirst="));
  HttpReply cut;
  for (int i = 0; i < 100 && cut.status < 0; ++i) {  // a byte each 50 ms, 5 s at most
    head.Send("a");
    cut = head.Read(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(cut.status, 408);
  EXPECT_TRUE(head.ClosedWithin(std::chrono::seconds(5)));
  EXPECT_EQ(body.Read().status, 408);
  EXPECT_EQ(Count("Employer"), 1);
}

TEST_F(ServedApp, TheOldestIdleOrSlowConnectionGivesWayToANewOne) {
  ServerLimits limits;
  limits.max_idle = 2;
  limits.max_connections = 4;
  Serve(limits);
  {
    SocketClient first(port_), second(port_), third(port_);
    EXPECT_TRUE(first.ClosedWithin(std::chrono::seconds(5)));
    EXPECT_FALSE(second.ClosedWithin(std::chrono::milliseconds(100)));
    EXPECT_FALSE(third.ClosedWithin(std::chrono::milliseconds(100)));
  }
  std::vector<std::unique_ptr<SocketClient>> slow;
  for (int i = 0; i < 4; ++i) {
    slow.push_back(std::make_unique<SocketClient>(port_));
    ASSERT_TRUE(slow.back()->Send(PartialHead()));
  }
  // Until the server has read a slow client's first bytes, that client
  // counts as idle, and idle ones give way first: let it read them.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // The cap is full of slow requests; a new one still gets its page.
  SocketClient browser(port_);
  browser.Send(RequestText("GET", port_, "/employer", Cookie()));
  EXPECT_EQ(browser.Read().status, 200);
  EXPECT_TRUE(slow[0]->ClosedWithin(std::chrono::seconds(5)));
  EXPECT_FALSE(slow[3]->ClosedWithin(std::chrono::milliseconds(100)));
}

TEST_F(ServedApp, AnswersRequestsInOrderAndRefusesWhatItDoesNotRead) {
  Serve({});
  SocketClient kept(port_);
  kept.Send(RequestText("GET", port_, "/employer", Cookie()) +
            RequestText("GET", port_, "/nowhere", Cookie()));
  const HttpReply first = kept.Read();
  EXPECT_EQ(first.status, 200);
  EXPECT_EQ(first.Header("Connection"), "keep-alive");
  EXPECT_EQ(kept.Read().status, 404);
  // Waiting for "100 Continue" before the body, as some clients do.
  const std::string form = std::string("first=Dana&token=") + kToken;
  kept.Send("POST /employer HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) + "\r\n" +
            Cookie() + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
            std::to_string(form.size()) + "\r\nExpect: 100-continue\r\n\r\n");
  EXPECT_EQ(kept.Read().status, 100);
  kept.Send(form);
  EXPECT_EQ(kept.Read().status, 303);
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM Employer WHERE first_name='Dana'"), 1);

  SocketClient old(port_);
  old.Send("GET /employer HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port_) + "\r\n" +
           Cookie() + "\r\n");
  EXPECT_EQ(old.Read().Header("Connection"), "close");
  EXPECT_TRUE(old.ClosedWithin(std::chrono::seconds(5)));

  const auto refused = [&](const std::string& head_lines, const std::string& request_line) {
    SocketClient client(port_);
    client.Send(request_line + "\r\nHost: 127.0.0.1:" + std::to_string(port_) + "\r\n" +
                head_lines + "\r\n");
    const HttpReply reply = client.Read();
    EXPECT_TRUE(client.ClosedWithin(std::chrono::seconds(5))) << request_line;
    return reply;
  };
  EXPECT_EQ(refused("Content-Length: 100000\r\n", "POST /employer HTTP/1.1").status, 413);
  EXPECT_EQ(refused("", "GET /" + std::string(40000, 'a') + " HTTP/1.1").status, 414);
  SocketClient other(port_);
  other.Send(RequestText("DELETE", port_, "/employer", Cookie()));
  const HttpReply deleted = other.Read();
  EXPECT_EQ(deleted.status, 405);
  EXPECT_EQ(deleted.Header("Allow"), "GET, HEAD, POST");
}

// ---- the program

// paystead serve started as a user starts it, reached over real sockets.
class ServeProgram : public ProgramTest {
 protected:
  void TearDown() override {
    if (served_.pid > 0) {
      kill(served_.pid, SIGKILL);
      waitpid(served_.pid, nullptr, 0);
    }
    ProgramTest::TearDown();
  }

  // Starts paystead serve on a household (in the file, or copied to the
  // database `location` names) and reads the address it prints.
  void Serve(const std::string& location = "") {
    MakeHousehold();
    if (location.empty()) {
      served_ = Start({"serve"});
    } else {
      Ok({"copy", DbPath(), location});
      served_ = Start({"--db", location, "serve"});
    }
    std::smatch m;
    for (int i = 0; i < 1000; ++i) {  // at most 10 s
      output_ = ReadFile(served_.out_path);
      if (std::regex_search(
              output_, m,
              std::regex("at http://127\\.0\\.0\\.1:([0-9]+)/\\?token=([0-9a-f]{32})\n")))
        break;
      usleep(10'000);
    }
    ASSERT_FALSE(m.empty()) << output_ << ReadFile(served_.err_path);
    port_ = std::stoi(m[1]);
    token_ = m[2];
  }
  std::string Cookie() const { return "Cookie: paystead_token=" + token_ + "\r\n"; }

  struct Ending {
    bool exited = false;  // of itself, with exit_code
    int exit_code = -1;
    std::chrono::milliseconds took{};
    std::string out;
  };
  // Sends the signals one after the other and waits, 5 s at most, for the
  // program to end.
  Ending Signal(std::initializer_list<int> signals) {
    Ending ending;
    const auto start = std::chrono::steady_clock::now();
    for (const int s : signals) kill(served_.pid, s);
    int status = 0;
    for (int i = 0; i < 5000 && !ending.exited; ++i) {
      if (waitpid(served_.pid, &status, WNOHANG) == served_.pid) {
        ending.took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        ending.exited = WIFEXITED(status);
        ending.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        served_.pid = -1;
        break;
      }
      usleep(1000);
    }
    ending.out = ReadFile(served_.out_path);
    return ending;
  }
  // The program's resident memory, in kB (VmRSS of /proc/PID/status).
  long ResidentKb() const {
    const std::string status = ReadFile("/proc/" + std::to_string(served_.pid) + "/status");
    const std::size_t at = status.find("VmRSS:");
    return at == std::string::npos ? -1 : std::stol(status.substr(at + 6));
  }

  Running served_;
  std::string output_;
  int port_ = 0;
  std::string token_;
};

TEST_F(ServeProgram, GuardsItsPagesOverTheNetworkAndStopsCleanlyOnSigterm) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  EXPECT_EQ(Get(port_, "/employer").status, 403);
  const HttpReply entry = Get(port_, "/?token=" + token_);
  EXPECT_EQ(entry.status, 303);
  EXPECT_THAT(entry.Header("Set-Cookie"), HasSubstr("HttpOnly; SameSite=Strict"));
  EXPECT_EQ(Get(port_, "/employer", Cookie()).status, 200);
  {
    SocketClient other_host(port_);
    other_host.Send("GET /employer HTTP/1.1\r\nHost: paystead.evil.example:" +
                    std::to_string(port_) + "\r\n" + Cookie() + "\r\n");
    EXPECT_EQ(other_host.Read().status, 403);
  }
  for (const char* method : {"POST", "PUT"}) {
    SocketClient client(port_);
    client.Send(RequestText(method, port_, "/employer",
                            Cookie() + "Content-Type: application/x-www-form-urlencoded\r\n",
                            "first=Mallory"));
    EXPECT_EQ(client.Read().status, std::string_view(method) == "POST" ? 403 : 405) << method;
  }

  const Ending ending = Signal({SIGTERM});
  EXPECT_TRUE(ending.exited && ending.exit_code == 0) << ending.exit_code;
  EXPECT_THAT(ending.out, HasSubstr("Stopped; the database is closed."));
  EXPECT_EQ(QueryNumber("SELECT count(*) AS n FROM Employer WHERE first_name='Mallory'"), 0);
}

// The same pages from a household on a database server, and a change
// made there.
TEST_F(ServeProgram, ServesAHouseholdOnADatabaseServer) {
  const std::string uri = veltrane::testing::NewServerSchema();
  if (uri.empty()) GTEST_SKIP();
  ASSERT_NO_FATAL_FAILURE(Serve(uri));
  EXPECT_THAT(output_, HasSubstr("Serving the payroll of 'postgresql://"));
  EXPECT_THAT(Get(port_, "/assistants", Cookie()).body, HasSubstr("Ann Lee"));
  SocketClient client(port_);
  client.Send(RequestText("POST", port_, "/employer",
                          Cookie() + "Content-Type: application/x-www-form-urlencoded\r\n",
                          "token=" + token_ + "&first=Dana&last=Whitfield&state=IL"));
  EXPECT_EQ(client.Read().status, 303);
  EXPECT_THAT(Get(port_, "/employer", Cookie()).body, HasSubstr("Whitfield"));
  EXPECT_TRUE(Signal({SIGTERM}).exited);
}

// Eight clients that send their headers a byte at a time hold no one up:
// another is answered at once, and SIGTERM ends the program at once.
TEST_F(ServeProgram, SlowClientsKeepNoOneWaitingNorTheStop) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  std::vector<std::unique_ptr<SocketClient>> slow;
  for (int i = 0; i < 8; ++i) {
    slow.push_back(std::make_unique<SocketClient>(port_));
    ASSERT_TRUE(slow.back()->Send(
        "GET /employer HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) + "\r\nX-Slow: "));
  }
  for (int round = 0; round < 5; ++round) {
    for (auto& client : slow) EXPECT_TRUE(client->Send("a"));
    if (round == 2) {
      SocketClient browser(port_);
      browser.Send(RequestText("GET", port_, "/employer", Cookie()));
      EXPECT_EQ(browser.Read(std::chrono::seconds(1)).status, 200);
    }
    usleep(100'000);
  }
  const Ending ending = Signal({SIGTERM});
  EXPECT_TRUE(ending.exited && ending.exit_code == 0) << ending.exit_code;
  EXPECT_LT(ending.took.count(), 500);
  EXPECT_THAT(ending.out, HasSubstr("Stopped; the database is closed."));
}

// A megabyte of header lines is refused once the limit is read, the memory
// as it was; a second signal while stopping ends the program the same way.
TEST_F(ServeProgram, AMegabyteOfHeadersIsRefusedWithoutGrowingAndTwoSignalsStopOnce) {
  ASSERT_NO_FATAL_FAILURE(Serve());
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Get(port_, "/employer", Cookie()).status, 200);
  const long before = ResidentKb();

  std::string headers = Cookie();
  for (int i = 0; headers.size() < (1 << 20); ++i)
    headers += "X-Filler-" + std::to_string(i) + ": " + std::string(1000, 'a') + "\r\n";
  SocketClient client(port_);
  client.Send(RequestText("GET", port_, "/employer", headers));  // may be cut short
  const HttpReply refused = client.Read();
  EXPECT_EQ(refused.status, 431);
  EXPECT_TRUE(client.ClosedWithin(std::chrono::seconds(5)));
  const long after = ResidentKb();
  EXPECT_GT(before, 0);
  // Half the megabyte, as allocators (AddressSanitizer's above all) keep some
  // of what was freed.
  EXPECT_LT(after - before, 512) << "kB before " << before << ", after " << after;
  EXPECT_EQ(Get(port_, "/employer", Cookie()).status, 200);

  const Ending ending = Signal({SIGTERM, SIGINT});
  EXPECT_TRUE(ending.exited && ending.exit_code == 0) << ending.exit_code;
  EXPECT_THAT(ending.out, HasSubstr("Stopped; the database is closed."));
}

}  // namespace
}  // namespace veltrane::host::testing
