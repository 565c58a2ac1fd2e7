// Statements as pages: the HTML read back with a real parser, the year-end
// package, the hand-over to docbrowse, and the pages in a real browser.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "cli/html_reading.h"
#include "cli/program_runner.h"
#include "host/html/escape.h"
#include "host/html/statement_page.h"

namespace veltrane::host::testing {
namespace {

namespace fs = std::filesystem;
using namespace veltrane::html;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using Cells = std::vector<std::vector<std::string>>;

TEST(StatementPageTest, TheTableHoldsTheRowsAsWrittenAndEveryTextIsEscaped) {
  StatementPage page;
  page.title = "Summary <&>";
  page.employer = "Dana & Co";
  page.assistant = "<b>Ann & \"Bo\"</b>";
  page.period = "1/1/2004 to 3/31/2004";
  page.made_on = "4/1/2004";
  page.rows = {{"SUMMARY STATEMENT", " "},       {"1/1/2004 to 3/31/2004", " "}, {"", " "},
               {"Gross Wages", "$1.00"},         {"     Regular", "$1.00"},      {" ", " "},
               {"<script>x</script>", "($2.00)"}};
  page.notes = {"a <note> & more"};
  const std::string html = RenderStatementPage(page);
  const ReadPage read = ReadHtml(html);
  ASSERT_TRUE(read.parsed);
  EXPECT_EQ(read.lang, "en");
  EXPECT_EQ(read.title, "Summary <&> - 1/1/2004 to 3/31/2004");
  EXPECT_EQ(read.rows, (Cells{{"SUMMARY STATEMENT", " "},
                              {"1/1/2004 to 3/31/2004", " "},
                              {"", " "},
                              {"Gross Wages", "$1.00"},
                              {"     Regular", "$1.00"},
                              {" ", " "},
                              {"<script>x</script>", "($2.00)"}}));
  EXPECT_THAT(read.row_classes, ElementsAre("heading", "", "spacer", "", "", "spacer", ""));
  EXPECT_THAT(read.outside, IsEmpty());
  EXPECT_THAT(read.text, HasSubstr("<b>Ann & \"Bo\"</b>"));
  EXPECT_THAT(read.text, HasSubstr("Dana & Co"));
  EXPECT_THAT(read.text, HasSubstr("a <note> & more"));
  EXPECT_THAT(html, HasSubstr("@media print"));
  EXPECT_THAT(html, HasSubstr("<meta charset=\"utf-8\">"));
  // The web shows the written section inside its own page.
  const auto section = ReadWrittenSection(html);
  ASSERT_TRUE(section.has_value());
  EXPECT_EQ(section->heading, "Summary <&>");
  EXPECT_EQ(ReadHtml(section->html).rows, read.rows);
  EXPECT_FALSE(ReadWrittenSection("<html><body><h1>Other</h1></body></html>").has_value());
}

class StatementPagesProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    MakeHousehold();
    Ok({"assistant", "add", "<b>Ann & \"Bo\"</b>", "--rate", "12", "--ss", "--medicare", "--futa"});
    for (const auto& [from, to] : {std::pair{"1/5/2004", "1/11/2004"}, {"4/5/2004", "4/11/2004"}}) {
      for (const char* name : {"Ann Lee", "<b>Ann & \"Bo\"</b>"}) {
        Ok({"paycheck", name, "--from", from, "--to", to, "--hours", "40,0", "--today", to,
            "--pay"});
      }
    }
  }

  // The rows of a statement as tsv prints them.
  Cells TsvRows(const std::vector<std::string>& statement) {
    std::vector<std::string> args = {"statement"};
    args.insert(args.end(), statement.begin(), statement.end());
    args.insert(args.end(), {"--format", "tsv"});
    Cells rows;
    std::istringstream in(Ok(args));
    for (std::string line; std::getline(in, line);) {
      const auto tab = line.find('\t');
      rows.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return rows;
  }

  // A docbrowse that records how it was called.
  std::string StubDocbrowse() const {
    fs::create_directories(Path("bin"));
    const std::string stub = Path("bin/docbrowse");
    std::ofstream(stub) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$RECORD\"\n";
    ::chmod(stub.c_str(), 0755);
    return Path("bin");
  }
};

TEST_F(StatementPagesProgramTest, APageHasExactlyTheRowsOfTheStatement) {
  for (const std::vector<std::string>& statement :
       {std::vector<std::string>{"Summary", "--from", "1/1/2004", "--to", "3/31/2004"},
        {"Soc. Sec.", "--assistant", "<b>Ann & \"Bo\"</b>", "--from", "1/1/2004", "--to",
         "12/31/2004"},
        {"Form 941", "--from", "1/1/2004", "--to", "3/31/2004"}}) {
    std::vector<std::string> args = {"statement"};
    args.insert(args.end(), statement.begin(), statement.end());
    args.insert(args.end(), {"--format", "html", "--output", Path("page.html")});
    EXPECT_THAT(Ok(args), HasSubstr("Wrote the " + statement[0] + " statement to '"));
    const ReadPage page = ReadHtml(ReadFile(Path("page.html")));
    EXPECT_EQ(page.rows, TsvRows(statement)) << statement[0];
    EXPECT_THAT(page.outside, IsEmpty());
  }
  const ReadPage ss = ReadHtml(ReadFile(Path("page.html")));
  EXPECT_THAT(ReadHtml(ReadFile(Path("page.html"))).text, HasSubstr("36-4417520"));
}

TEST_F(StatementPagesProgramTest, AnAssistantsNameShowsAsWritten) {
  Ok({"statement", "Summary", "--assistant", "<b>Ann & \"Bo\"</b>", "--format", "html", "--output",
      Path("bo.html")});
  const std::string html = ReadFile(Path("bo.html"));
  EXPECT_THAT(html, Not(HasSubstr("<b>Ann")));
  EXPECT_THAT(ReadHtml(html).text, HasSubstr("<b>Ann & \"Bo\"</b>"));
}

TEST_F(StatementPagesProgramTest, WithoutOutputThePageGoesToTheCacheFolder) {
  const ProgramResult r =
      Run({"statement", "FIT", "--from", "1/1/2004", "--to", "3/31/2004", "--format", "html"},
          {"XDG_CACHE_HOME=" + Path("cache")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(fs::exists(Path("cache/paystead/fit_2004-01-01_2004-03-31.html")));
}

TEST_F(StatementPagesProgramTest, OpenHandsThePageToDocbrowseAsOneArgument) {
  const std::string bin = StubDocbrowse();
  const std::string page = Path("my page.html");
  const ProgramResult r =
      Run({"statement", "Summary", "--format", "html", "--output", page, "--open"},
          {"PATH=" + bin + ":/usr/bin:/bin", "RECORD=" + Path("record")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(Path("record")), "1\n" + page + "\n");
}

// A name that begins with "-" would reach the browser as an option.
TEST_F(StatementPagesProgramTest, AnOutputThatReadsAsAnOptionIsRefusedBeforeAnythingIsWritten) {
  const std::string bin = StubDocbrowse();
  const std::vector<std::string> env = {"PATH=" + bin + ":/usr/bin:/bin",
                                        "RECORD=" + Path("record")};
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"statement", "Summary", "--format", "html",
                                 "--output=--user-data-dir=X", "--open"},
        std::vector<std::string>{"year-end", "--year", "2004", "--output", "-x", "--open"}}) {
    const ProgramResult r = Run(args, env);
    EXPECT_EQ(r.exit_code, 1) << args[0];
    EXPECT_THAT(r.err, ::testing::StartsWith("paystead: --output: '-"));
    EXPECT_THAT(r.err, HasSubstr("begins with \"-\", which reads as an option; write './-"));
  }
  EXPECT_FALSE(fs::exists(Path("record")));
  EXPECT_FALSE(fs::exists(Path("-x")));
  EXPECT_FALSE(fs::exists(Path("--user-data-dir=X")));
  // Written as a path, the same name is a file like any other.
  Ok({"statement", "Summary", "--format", "html", "--output", "./-x"});
  EXPECT_TRUE(fs::exists(Path("-x")));
}

TEST_F(StatementPagesProgramTest, AMissingDocbrowseIsOneLineAfterThePageIsWritten) {
  const ProgramResult r =
      Run({"statement", "Summary", "--format", "html", "--output", Path("p.html"), "--open"},
          {"PATH=" + Path("nowhere")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
  EXPECT_THAT(r.err, HasSubstr("docbrowse"));
  EXPECT_TRUE(fs::exists(Path("p.html")));
}

TEST_F(StatementPagesProgramTest, YearEndWritesEveryStatementAnIndexAndOneTsv) {
  const std::string out = Ok({"year-end", "--year", "2004", "--output", Path("ye")});
  EXPECT_THAT(out, HasSubstr("open '" + Path("ye") + "/index.html'"));

  std::vector<std::string> statements;
  std::istringstream catalogue(Ok({"statements"}));
  for (std::string line; std::getline(catalogue, line);) {
    if (line != "------------" && line != "Tax Forms" && line != "Federal Taxes" &&
        line != "Other Taxes" && line != "Supplemental Payments") {
      statements.push_back(line);
    }
  }
  const ReadPage index = ReadHtml(ReadFile(Path("ye/index.html")));
  EXPECT_THAT(index.outside, IsEmpty());
  // Form 941 for each quarter, the W-2 for each of the two assistants.
  ASSERT_EQ(index.links.size(), statements.size() + 3 + 1);
  std::size_t tsv_rows = 0;
  for (const std::string& link : index.links) {
    ASSERT_TRUE(fs::exists(Path("ye/" + link))) << link;
    tsv_rows += ReadHtml(ReadFile(Path("ye/" + link))).rows.size();
  }
  EXPECT_EQ(index.links.front(), "summary_2004-01-01_2004-12-31.html");
  EXPECT_THAT(index.links, ::testing::Contains(::testing::MatchesRegex(
                               "form-w-2-ann-lee_2004-01-01_2004-12-31_[0-9a-f]{8}\\.html")));
  EXPECT_THAT(index.links, ::testing::Contains("form-w-3_2004-01-01_2004-12-31.html"));
  // Ann earned 800 in the year, Bo 960: neither reached $1,400; the first
  // quarter's 880 did not reach $1,000, nor the second's.
  EXPECT_THAT(index.text, HasSubstr("Ann Lee: cash wages of 2004 were $800.00, under $1,400"));
  EXPECT_THAT(index.text, HasSubstr("No calendar quarter of 2004 reached $1,000"));
  const std::string tsv = ReadFile(Path("ye/statements.tsv"));
  EXPECT_EQ(LineCount(tsv), static_cast<int>(tsv_rows) + 1);
  EXPECT_THAT(tsv, HasSubstr("statement\tdescription\tamount\nSummary, 1/1/2004 to 12/31/2004\t"
                             "SUMMARY STATEMENT\t \n"));
  const ReadPage schedule_h =
      ReadHtml(ReadFile(Path("ye/form-1040-schedule-h_2004-01-01_2004-12-31.html")));
  EXPECT_THAT(schedule_h.text, HasSubstr("under $1,400"));
}

TEST_F(StatementPagesProgramTest, YearEndOpensItsIndex) {
  const std::string bin = StubDocbrowse();
  const ProgramResult r = Run({"year-end", "--year", "2004", "--output", Path("ye"), "--open"},
                              {"PATH=" + bin + ":/usr/bin:/bin", "RECORD=" + Path("record")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(Path("record")), "1\n" + Path("ye") + "/index.html\n");
  EXPECT_EQ(Run({"year-end"}).exit_code, 2);
  EXPECT_EQ(Run({"year-end", "--year", "1999"}).exit_code, 1);
}

// Headless Chromium, when the machine has it.
std::string Chromium() {
  for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
    if (::access(path, X_OK) == 0) return path;
  }
  return "";
}

// What a command prints on its standard output.
std::string Output(const std::string& command) {
  std::string text;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) text.append(buffer, n);
    ::pclose(p);
  }
  return text;
}

// Headless Chromium on a file, with `what` to do: "--dump-dom", or
// "--print-to-pdf=FILE".
std::string Headless(const std::string& chromium, const std::string& what, const std::string& file,
                     const std::string& dir) {
  return Output(chromium +
                " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                "--disable-background-networking --disable-component-update --disable-sync "
                "--no-pdf-header-footer --user-data-dir='" +
                dir + "/chromium' " + what + " 'file://" + file + "' 2>/dev/null");
}

// The document as the browser built it from the file.
std::string DumpDom(const std::string& chromium, const std::string& file, const std::string& dir) {
  return Headless(chromium, "--dump-dom", file, dir);
}

TEST_F(StatementPagesProgramTest, ThePagesInARealBrowser) {
  const std::string chromium = Chromium();
  if (chromium.empty()) GTEST_SKIP() << "Chromium is not installed; .ci/run installs it";
  Ok({"year-end", "--year", "2004", "--output", Path("ye")});
  const std::string index = DumpDom(chromium, Path("ye/index.html"), dir_);
  if (index.empty()) GTEST_SKIP() << "Chromium cannot start here";
  const ReadPage shown = ReadHtml(index);
  ASSERT_FALSE(shown.links.empty());
  for (const std::string& link : shown.links) EXPECT_TRUE(fs::exists(Path("ye/" + link))) << link;
  const std::string page = Path("ye/form-941_2004-01-01_2004-03-31.html");
  const ReadPage built = ReadHtml(DumpDom(chromium, page, dir_));
  EXPECT_EQ(built.rows, ReadHtml(ReadFile(page)).rows);
  EXPECT_EQ(built.title, "Form 941 - 1/1/2004 to 3/31/2004");
}

// The stub printed by the browser is one sheet holding every figure the
// terminal shows of the check, the Social Security number by its last four
// digits only, and nothing of the pages' navigation.
TEST_F(StatementPagesProgramTest, APayStubPrintsOnOneSheet) {
  const std::string chromium = Chromium();
  if (chromium.empty()) GTEST_SKIP() << "Chromium is not installed; .ci/run installs it";
  Ok({"check", "1", "--format", "html", "--output", Path("stub.html")});
  Headless(chromium, "--print-to-pdf='" + Path("stub.pdf") + "'", Path("stub.html"), dir_);
  if (!fs::exists(Path("stub.pdf"))) GTEST_SKIP() << "Chromium cannot start here";
  EXPECT_THAT(Output("pdfinfo '" + Path("stub.pdf") + "'"),
              ::testing::ContainsRegex("Pages: +1\n"));
  const std::string printed = Output("pdftotext -layout '" + Path("stub.pdf") + "' -");
  const std::string terminal = Ok({"check", "1"});
  std::smatch m;
  for (auto it = terminal.cbegin();
       std::regex_search(it, terminal.cend(), m, std::regex("\\$[0-9,]+\\.[0-9]{2}"));
       it = m.suffix().first)
    EXPECT_THAT(printed, HasSubstr(m.str())) << "the stub lacks " << m.str();
  for (const char* figure :
       {"XXX-XX-6780", "1/5/2004 to 1/11/2004", "No. 1", "Date 1/11/2004", "40"})
    EXPECT_THAT(printed, HasSubstr(figure));
  EXPECT_THAT(printed, Not(HasSubstr("123-45")));
  EXPECT_THAT(printed, Not(HasSubstr("Journal")));
}

}  // namespace
}  // namespace veltrane::host::testing
