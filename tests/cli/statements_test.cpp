// A household's quarter paid through paystead, then its statements printed
// as the library wrote them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class StatementsProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Ok({"init"});
    Ok({"employer", "set", "--first", "Dana", "--last", "Whitfield", "--employer-id",
        "36-4417520"});
    Ok({"settings", "set", "--period", "Weekly"});
    Ok({"assistant", "add", "Rosa Delgado", "--rate", "10", "--fit", "Single:1", "--ss",
        "--medicare", "--futa"});
    Ok({"assistant", "add", "Pat O'Brien", "--rate", "12", "--ss", "--medicare", "--futa"});
    // Three weeks of 40 hours each in the first quarter of 2004.
    for (const auto& [from, to] :
         {std::pair{"1/5/2004", "1/11/2004"}, {"2/2/2004", "2/8/2004"}, {"3/1/2004", "3/7/2004"}}) {
      for (const char* name : {"Rosa Delgado", "Pat O'Brien"}) {
        Ok({"paycheck", name, "--from", from, "--to", to, "--hours", "40,0", "--today", to,
            "--pay"});
      }
    }
    // Neither a voided check nor one of the next quarter counts.
    Ok({"paycheck", "Rosa Delgado", "--from", "3/8/2004", "--to", "3/14/2004", "--hours", "40,0",
        "--today", "3/14/2004", "--pay"});
    Ok({"void", "7"});
    Ok({"paycheck", "Pat O'Brien", "--from", "4/5/2004", "--to", "4/11/2004", "--hours", "40,0",
        "--today", "4/11/2004", "--pay"});
  }

  std::vector<std::string> Statement(const std::string& type, const std::string& who = "") {
    std::vector<std::string> args = {"statement", type,        "--from",   "1/1/2004",
                                     "--to",      "3/31/2004", "--format", "tsv"};
    if (!who.empty()) args.insert(args.end(), {"--assistant", who});
    return Lines(Ok(args));
  }
};

// Each Rosa check: $400 gross; FIT on 400 - 59.62 = 340.38, 13.60 + 15% of
// (340.38 - 187) = 36.607; Soc. Sec. 24.80; Medicare 5.80; net 332.793; FUTA
// is the employer's 24.80. Each Pat check: $480; Soc. Sec. 29.76; Medicare
// 6.96; net 443.28; FUTA 29.76. Three checks each:
//   gross 1,200 + 1,440 = 2,640; net 998.379 + 1,329.84 = 2,328.219;
//   withheld 109.821 + 74.40 + 17.40 + 89.28 + 20.88 = 311.781;
//   liabilities 74.40 + 17.40 + 74.40 + 89.28 + 20.88 + 89.28 = 365.64.
TEST_F(StatementsProgramTest, SummaryAndDetailedOfTheQuarter) {
  EXPECT_THAT(Statement("Summary"),
              ::testing::ElementsAre("SUMMARY STATEMENT\t ", "1/1/2004 to 3/31/2004\t ", "\t ",
                                     "Gross Wages\t$2,640.00", "     Regular\t$2,640.00",
                                     "     Overtime\t$0.00", "     Supplemental\t$0.00",
                                     "     EIC\t$0.00", "Net Wages\t$2,328.22",
                                     "Total withholdings\t$311.78", "Total liabilities\t$365.64"));
  EXPECT_THAT(
      Statement("detailed"),
      ::testing::ElementsAre(
          "DETAILED STATEMENT\t ", "1/1/2004 to 3/31/2004\t ", "\t ", "Gross Wages\t$2,640.00",
          "     Regular\t$2,640.00", "     Overtime\t$0.00", "     Supplemental\t$0.00",
          "     EIC\t$0.00", "\t ", "Net Wages\t$2,328.22", "\t ", "Total withholdings\t$311.78",
          "     FIT\t$109.82", "     FUTA\t$0.00", "     Medicare\t$38.28",
          "     Soc. Sec.\t$163.68", "\t ", "Total liabilities\t$365.64", "     FIT\t$0.00",
          "     FUTA\t$163.68", "     Medicare\t$38.28", "     Soc. Sec.\t$163.68"));
}

// O'Brien's name has an apostrophe: her statements are hers alone.
TEST_F(StatementsProgramTest, OneAssistantWithAnApostrophe) {
  const auto summary = Statement("Summary", "pat o'brien");
  EXPECT_EQ(summary[3], "Gross Wages\t$1,440.00");
  EXPECT_EQ(summary[8], "Net Wages\t$1,329.84");
  EXPECT_EQ(summary[9], "Total withholdings\t$110.16");  // 89.28 + 20.88
  EXPECT_EQ(summary[10], "Total liabilities\t$199.44");
  const auto ss = Statement("Soc. Sec.", "Pat O'Brien");
  EXPECT_EQ(ss[13], "Total payments\t$1,440.00");
  EXPECT_EQ(ss[20], "Total withholdings\t$89.28");
  EXPECT_EQ(ss[21], "Employee liability\t$89.28");  // 1,440 x 6.2%
}

TEST_F(StatementsProgramTest, TheFederalStatementsOfTheQuarter) {
  const auto ss = Statement("Soc. Sec.");
  EXPECT_EQ(ss.size(), 23u);
  EXPECT_EQ(ss[0], "SOCIAL SECURITY STATEMENT\t ");
  EXPECT_EQ(ss[1], "1/1/2004 TO 3/31/2004\t ");
  EXPECT_EQ(ss[5], "Wage base limit: \t$87,900.00");
  EXPECT_EQ(ss[13], "Total payments\t$2,640.00");
  EXPECT_EQ(ss[14], "Total Social Security payments\t$2,640.00");
  EXPECT_EQ(ss[15], "     Total Social Security wages\t$2,640.00");
  EXPECT_EQ(ss[16], "     Total Social Security tips\t$0.00");
  EXPECT_EQ(ss[20], "Total withholdings\t$163.68");  // 3 x (24.80 + 29.76)
  EXPECT_EQ(ss[21], "Employee liability\t$163.68");  // 2,640 x 6.2%
  EXPECT_EQ(ss[22], "Employer liability\t$163.68");

  const auto medicare = Statement("Medicare");
  EXPECT_EQ(medicare[13], "Total payments\t$2,640.00");
  EXPECT_EQ(medicare[14], "Medicare wages and tips\t$2,640.00");
  EXPECT_EQ(medicare[18], "Total withholdings\t$38.28");  // 3 x (5.80 + 6.96)
  EXPECT_EQ(medicare[19], "Employer liability\t$38.28");  // 2,640 x 1.45%
  EXPECT_EQ(medicare[20], "Employee liability\t$38.28");

  const auto fit = Statement("FIT");
  EXPECT_EQ(fit[13], "Total taxable payments\t$1,200.00");  // Rosa's checks only
  EXPECT_EQ(fit[17], "Total withholdings\t$109.82");        // 3 x 36.607

  const auto futa = Statement("FUTA");
  EXPECT_EQ(futa[14], "Total taxable payments\t$2,640.00");
  EXPECT_EQ(futa[15], "Payments within base limit\t$2,640.00");
  EXPECT_EQ(futa[16], "Payments in excess of base\t$0.00");
  EXPECT_EQ(futa[20], "Employer liability\t$163.68");          // 2,640 x 6.2%
  EXPECT_EQ(futa[21], "     With full state credit\t$21.12");  // 2,640 x 0.8%

  const auto eic = Statement("EIC");
  EXPECT_EQ(eic[8], "Limit each payment to taxes due\tYes");
  EXPECT_EQ(eic[12], "Total of payments subject to EIC\t$2,640.00");
  EXPECT_EQ(eic[13], "Total amount of EIC paid\t$0.00");
}

TEST_F(StatementsProgramTest, TheCatalogueAndWhatIsRefused) {
  const std::string catalogue = Ok({"statements"});
  EXPECT_THAT(catalogue, StartsWith("Summary\nDetailed\n------------\nTax Forms\n"));
  EXPECT_THAT(catalogue, HasSubstr("\nFUTA\nEIC\n"));

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"statement", "Union dues"},
        {"statement", "Tax Forms"},
        {"statement", "Summary", "--from", "1/1/2004"},
        {"statement", "Summary", "--from", "3/1/2004", "--to", "2/1/2004"},
        {"statement", "Summary", "--from", "3/32/2004", "--to", "4/1/2004"},
        {"statement", "Summary", "--assistant", "Nobody"},
        {"statement", "Summary", "--format", "html5"}}) {
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, 1) << args[1];
    EXPECT_EQ(LineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_THAT(Run({"statement", "Union dues"}).err, HasSubstr("paystead statements"));
}

TEST_F(StatementsProgramTest, TextFormatAlignsTheAmounts) {
  const std::string text = Ok({"statement", "summary"});
  EXPECT_THAT(text, HasSubstr("SUMMARY STATEMENT\n to\n\nGross Wages  "));
  EXPECT_THAT(text, HasRow({"Gross", "Wages", "$3,120.00"}));  // every date: with April's check
}

}  // namespace
}  // namespace veltrane::host::testing
