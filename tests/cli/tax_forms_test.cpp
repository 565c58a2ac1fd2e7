// A household's year paid through paystead, then its tax form worksheets
// printed as the library wrote them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/program_runner.h"

namespace veltrane::host::testing {
namespace {

using ::testing::HasSubstr;

// Rosa Delgado, $10 an hour, FIT Single 1, Soc. Sec., Medicare, FUTA and
// 1% SUI withheld; Pat O'Brien, $12 an hour, Soc. Sec., Medicare, FUTA.
// Every check of Rosa is 40 hours: $400, FIT on 400 - 59.62 = 340.38:
// 13.60 + 15% of 153.38 = 36.607, SUI 4. Her February check has a $50 tip:
// $450, FIT on 390.38: 13.60 + 15% of 203.38 = 44.107, SUI 4.50.
//   Rosa: 1/11, 2/8 (with the tip), 3/7, 3/14 (voided), 7/11.
//   Pat:  1/11, 2/8, 3/7 of 40 hours ($480 each); 4/30 of 400 hours
//         ($4,800); 7/31 of 200 hours ($2,400).
class TaxFormsProgramTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Ok({"init"});
    Ok({"employer", "set", "--first", "Dana", "--last", "Whitfield", "--employer-id",
        "36-4417520"});
    Ok({"settings", "set", "--period", "Weekly", "--sui-base", "7000", "--sui-employee-rate", "1",
        "--sui-employer-rate", "2", "--sui-state", "MN", "--sui-reporting-number", "12-345",
        "--sui-withholding-name", "SUI"});
    Ok({"assistant", "add", "Rosa Delgado", "--rate", "10", "--fit", "Single:1", "--ss",
        "--medicare", "--futa", "--sui", "Single:0"});
    Ok({"assistant", "add", "Pat O'Brien", "--rate", "12", "--ss", "--medicare", "--futa"});
    Pay("Rosa Delgado", "1/5/2004", "1/11/2004", "40");
    Pay("Pat O'Brien", "1/5/2004", "1/11/2004", "40");
    Pay("Rosa Delgado", "2/2/2004", "2/8/2004", "40", "Tip:50");
    Pay("Pat O'Brien", "2/2/2004", "2/8/2004", "40");
    Pay("Rosa Delgado", "3/1/2004", "3/7/2004", "40");
    Pay("Pat O'Brien", "3/1/2004", "3/7/2004", "40");
    Pay("Rosa Delgado", "3/8/2004", "3/14/2004", "40");
    Ok({"void", "7"});
    Pay("Pat O'Brien", "4/1/2004", "4/30/2004", "400");
    Pay("Rosa Delgado", "7/5/2004", "7/11/2004", "40");
    Pay("Pat O'Brien", "7/1/2004", "7/31/2004", "200");
  }

  void Pay(const std::string& who, const std::string& from, const std::string& to,
           const std::string& hours, const std::string& supplemental = "") {
    std::vector<std::string> args = {"paycheck", who,          "--from",  from, "--to", to,
                                     "--hours",  hours + ",0", "--today", to,   "--pay"};
    if (!supplemental.empty()) args.insert(args.end(), {"--supp", supplemental});
    Ok(args);
  }

  std::string Statement(const std::string& type, const std::string& from, const std::string& to,
                        const std::string& who = "") {
    std::vector<std::string> args = {"statement", type, "--from",   from,
                                     "--to",      to,   "--format", "tsv"};
    if (!who.empty()) args.insert(args.end(), {"--assistant", who});
    return Ok(args);
  }
  std::string Year(const std::string& type) { return Statement(type, "1/1/2004", "12/31/2004"); }
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The first quarter: Rosa 400 + 450 + 400, Pat 3 x 480; two employees,
// compensation 2,690; FIT 36.607 x 2 + 44.107 = 117.321.
// Social Security wages 2,640 (the tip apart) x 0.124 = 327.36; tips 50 x
// 0.124 = 6.20; Medicare 2,690 x 0.029 = 78.01; line 8 411.57; line 11 and
// 13 528.891.
// January and March: 880 x 0.124 = 109.12, 880 x 0.029 = 25.52, FIT
// 36.607: 171.247. February: 109.12 + 6.20 + 930 x 0.029 = 26.97 + 44.107 =
// 186.397. Together 528.891, as line 13. The voided check counts nowhere.
TEST_F(TaxFormsProgramTest, Form941OfTheFirstQuarter) {
  EXPECT_EQ(Statement("Form 941", "1/1/2004", "3/31/2004"),
            Joined({"FORM 941\t ",
                    "1/1/2004 TO 3/31/2004\t ",
                    " \t ",
                    "1.  Number of employees.\t2",
                    "2.  Total compensation.\t$2,690.00",
                    "3.  Total income tax withheld.\t$117.32",
                    "4.  Withholding adjustment for previous quarter.\t$0.00",
                    "5.  Adjusted total FIT withholding.\t$117.32",
                    "6(a).  Taxable Soc. Sec. wages.\t$2,640.00",
                    "6(b).  6(a) x 0.124.\t$327.36",
                    "6(c).  Taxable Soc. Sec. tips.\t$50.00",
                    "6(d).  6(c) x 0.124.\t$6.20",
                    "7(a).  Taxable Medicare wages and tips.\t$2,690.00",
                    "7(b).  7(a) x 0.029.\t$78.01",
                    "8.  Total Soc. Sec., medicare taxes.\t$411.57",
                    "9.  Adjustment of Soc. Sec. and medicare taxes.\t$0.00",
                    "10.  Line 8 adjusted by line 9.\t$411.57",
                    "11.  Total taxes (add line 5 and line 10).\t$528.89",
                    "12.  EIC Payments to employees.\t$0.00",
                    "13.  Net taxes (line 11 less line 12).\t$528.89",
                    "14.  Total deposits for quarter.\t ",
                    "      Compute separately.\t ",
                    "15.  Balance due (line 13 less line 14).\t ",
                    "      Compute separately.\t ",
                    "16.  Overpayment (line 14 less line 13).\t ",
                    "      Compute separately.\t ",
                    "17.  Monthly summary.\t ",
                    "     January 2004\t$171.25",
                    "     February 2004\t$186.40",
                    "     March 2004\t$171.25",
                    "Total for period\t$528.89",
                    " \t ",
                    "Note: Line 17 monthly summary\t ",
                    "not required with net taxes\t ",
                    "less than $2,500.\t ",
                    " \t ",
                    "Note: See Form 941\t ",
                    "Instructions for\t ",
                    "help.\t "}));
}

// Pat alone in the second quarter: her one check of 4,800; 595.20 + 139.20.
TEST_F(TaxFormsProgramTest, Form941OfOneAssistantWithAnApostrophe) {
  const std::string q2 = Statement("form 941", "4/1/2004", "6/30/2004", "Pat O'Brien");
  EXPECT_THAT(q2, HasSubstr("\n1.  Number of employees.\t1\n"));
  EXPECT_THAT(q2, HasSubstr("\n6(a).  Taxable Soc. Sec. wages.\t$4,800.00\n"));
  EXPECT_THAT(q2, HasSubstr("\n8.  Total Soc. Sec., medicare taxes.\t$734.40\n"));
  EXPECT_THAT(q2, HasSubstr("\n     April 2004\t$734.40\n     May 2004\t$0.00\n"));
}

// FUTA wages of the year: Rosa 1,650, Pat 8,640 (1,640 over the base):
// 10,290, taxable 8,650; 536.30 at 0.062, 467.10 at 0.054.
// Quarters at 0.008: first 1,250 + 1,440 = 2,690: 21.52; second Pat's
// 4,800 (6,240 so far): 38.40; third Rosa's 400 and 760 of Pat's 2,400:
// 9.28; fourth 0; together 69.20 = 8,650 x 0.008.
// SUI withheld from Rosa: 4 + 4.50 + 4 + 4 = 16.50.
TEST_F(TaxFormsProgramTest, Forms940And940EZOfTheYear) {
  const std::string quarters =
      "\nFirst Quarter.\t$21.52\nSecond Quarter.\t$38.40\nThird Quarter.\t$9.28\n"
      "Fourth Quarter.\t$0.00\nTotal for year.\t$69.20\n";
  const std::string f940 = Year("Form 940");
  EXPECT_THAT(f940, HasSubstr("\n1.  Total payments.\t$10,290.00\n2.  Exempt payments.\t$0.00\n"
                              "3.  Pay greater than 7K per employee.\t$1,640.00\n"
                              "4.  Add line 2 and line 3.\t$1,640.00\n"
                              "5.  Taxable wages (line 1 - 4).\t$8,650.00\n"));
  EXPECT_THAT(f940, HasSubstr("\n1.  FUTA tax (line 5 x 0.062).\t$536.30\n"
                              "2.  Maximum credit (line 5 x 0.054).\t$467.10\n"));
  EXPECT_THAT(f940, HasSubstr(quarters));

  const std::string ez = Year("Form 940EZ");
  EXPECT_THAT(ez, HasSubstr("\nA. Contributions to SUI fund.\t$16.50\n"
                            "B(1). The state name where you pay contributions.\tMN\n"
                            "B(2). State reporting number.\t12-345\n"));
  EXPECT_THAT(ez, HasSubstr("\n6.  FUTA tax (line 5 x 0.008).\t$69.20\n"));
  EXPECT_THAT(ez, HasSubstr("\n8.  Balance due ($69.20 - deposits)...\t \n"));
  EXPECT_THAT(ez, HasSubstr(quarters));
  EXPECT_THAT(ez, HasSubstr("\nline 6 is over $100.\t \n"));  // 69.20 is below $100
}

// The year: Social Security and Medicare wages 10,290 (the tip is wages
// here): 1,275.96 and 298.41; FIT 3 x 36.607 + 44.107 = 153.928; line 6 and
// 8 1,728.298. FUTA wages 1,650 + 7,000 = 8,650 at 0.008: 69.20; line 27
// 1,797.498.
TEST_F(TaxFormsProgramTest, ScheduleHOfTheYear) {
  const std::string h = Year("Form 1040 Schedule H");
  EXPECT_THAT(h, HasSubstr("\n1.  Soc. Sec. wages\t$10,290.00\n2.  Soc. Sec. Taxes\t$1,275.96\n"
                           "3.  Medicare wages\t$10,290.00\n4.  Medicare taxes\t$298.41\n"
                           "5.  FIT Withheld\t$153.93\n"
                           "6.  Total Soc. Sec., Medicare, FIT taxes\t$1,728.30\n"
                           "7.  EIC pay\t$0.00\n8.  Net taxes\t$1,728.30\n"));
  EXPECT_THAT(h, HasSubstr("\n13.  SUI state name?\tMN\n14.  State reporting number\t12-345\n"
                           "15.  Contributions paid to SUI fund\t$16.50\n"
                           "16.  Wages subject to FUTA\t$8,650.00\n17.  FUTA tax\t$69.20\n"));
  EXPECT_THAT(h, HasSubstr("\n26.  Amount from line 8.\t$1,728.30\n"
                           "27.  Add lines 17 and 26 (see instructions).\t$1,797.50\n"));
}

// Rosa's W-2 for 2004, asked for by the tsv and the page like any
// statement: 400 + 450 + 400 + 400 = 1,650 (the voided check counts
// nowhere), the 50 tip in box 7 and the rest, 1,600, in box 3; FIT 36.607
// x 3 + 44.107 = 153.928; Social Security 6.2 % of each check, 24.80 x 3 +
// 27.90 = 102.30 = 6.2 % of 1,650; Medicare 5.80 x 3 + 6.525 = 23.925.
// The blocks are those of her July paycheck: she was added without a name
// or an address, so her block has no line to show.
TEST_F(TaxFormsProgramTest, FormW2OfOneAssistantAsTsvAndPage) {
  const std::string w2 = Statement("Form W-2", "1/1/2004", "12/31/2004", "Rosa Delgado");
  EXPECT_THAT(
      w2, HasSubstr(Joined({"FORM W-2\t ", "1/1/2004 TO 12/31/2004\t ", " \t ", "Rosa Delgado\t ",
                            "Employer\t ", "     Dana Whitfield\t ",
                            "     Address Info.: Pending\t ", "     Employer ID: 36-4417520\t ",
                            "Employee\t ", "Box 1  Wages, tips, other compensation\t$1,650.00"})));
  EXPECT_THAT(
      w2,
      HasSubstr(Joined(
          {"Box 1  Wages, tips, other compensation\t$1,650.00",
           "Box 2  Federal income tax withheld\t$153.93", "Box 3  Social security wages\t$1,600.00",
           "Box 4  Social security tax withheld\t$102.30",
           "Box 5  Medicare wages and tips\t$1,650.00", "Box 6  Medicare tax withheld\t$23.93",
           "Box 7  Social security tips\t$50.00", "Box 9  Advance EIC payment\t$0.00"})));
  EXPECT_THAT(w2, ::testing::Not(HasSubstr("Note:")));
  Ok({"statement", "Form W-2", "--assistant", "Rosa Delgado", "--from", "1/1/2004", "--to",
      "12/31/2004", "--format", "html", "--output", Path("w2.html")});
  const std::string page = ReadFile(Path("w2.html"));
  EXPECT_THAT(page, HasSubstr("Box 3  Social security wages"));
  EXPECT_THAT(page, HasSubstr("$1,600.00"));
}

// The W-3 counts both assistants' W-2s; Pat's 3 x 480 + 4,800 + 2,400 =
// 8,640 and Rosa's 1,650 make box 1 10,290.
TEST_F(TaxFormsProgramTest, FormW3OfTheHousehold) {
  const std::string w3 = Year("Form W-3");
  EXPECT_THAT(w3, HasSubstr("Kind of employer\tHousehold\nNumber of Forms W-2\t2\n"
                            "Box 1  Wages, tips, other compensation\t$10,290.00\n"));
}

}  // namespace
}  // namespace veltrane::host::testing
