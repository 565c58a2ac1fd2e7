// The Form W-2 and Form W-3 worksheets over a real journal, with the 2004
// rates: Social Security 6.2 % from the employee on wages up to $87,900 a
// year, Medicare 1.45 %.
#include <gmock/gmock.h>

#include "common/display.h"
#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class FormW2Test : public StatementsTest {
 protected:
  Rows W2(const std::string& attendant, const std::string& start = "1/1/2004",
          const std::string& end = "12/31/2004") {
    return Run("Form W-2", attendant, start, end);
  }
  Rows W3(const std::string& attendant = "All Assistants") {
    return Run("Form W-3", attendant, "1/1/2004", "12/31/2004");
  }
  // Pays `p` with the blocks its paycheck showed.
  void PayShown(const Paycheck& p, const std::string& employer, const std::string& employee) {
    Pay(p);
    db->Execute("UPDATE [Payment Journal] SET employer_info='" + employer + "', employee_info='" +
                employee + "' WHERE ID=(SELECT MAX(ID) FROM [Payment Journal])");
  }
  void Employer(const std::string& state) {
    auto rs = db->OpenRecordset("Employer", RecordsetType::kTable);
    rs->AddNew();
    rs->SetField("first_name", "Pat");
    rs->SetField("last_name", "Home");
    rs->SetField("state", state);
    rs->Update();
  }
  // The rows of the W-2 page that starts with the heading `payee`, up to
  // the next spacer.
  static Rows Page(const Rows& rows, const std::string& payee) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].description != payee) continue;
      std::size_t end = i + 1;
      while (end < rows.size() && rows[end].description != " ") ++end;
      return Rows(rows.begin() + i, rows.begin() + end);
    }
    return {};
  }
  // The money of a currency text.
  static Money Amount(std::string text) {
    std::erase(text, '$');
    std::erase(text, ',');
    return M(text.c_str());
  }
  static std::vector<std::string> Notes(const Rows& rows) {
    std::vector<std::string> notes;
    for (const StatementRow& r : rows) {
      if (r.description.rfind("Note:", 0) == 0) notes.push_back(r.description);
    }
    return notes;
  }
};

const std::string kEmployer = "Pat Home\r\n1 Elm St\r\nSpringfield, IL 62701\r\nEmployer ID: 12-3456789";

// Ann, below the base, asked for in March: the W-2 still covers the whole
// of 2004. Her January check of 1,000 (FIT 100) and her February check of
// 520 with 20 of advance EIC (500 taxable, FIT 40); a December 2003 check
// and a void March check count nowhere. Box 1 1,500; box 2 140; boxes 3
// and 5 1,500; box 4 62 + 31 = 93 = 6.2 % of 1,500; box 6 14.50 + 7.25 =
// 21.75 = 1.45 % of 1,500; box 9 20. The blocks are the February
// paycheck's, the latest non-void one: the void check's address is not.
TEST_P(FormW2Test, OneAssistantBelowTheBaseWithAdvanceEICAndAVoidCheck) {
  Pay({.payee = "Ann Lee", .date = "12/31/2003", .gross = "999",
       .withholding = "FIT|99|0|Soc. Sec.|61.94|61.94|Medicare|14.49|14.49|"});
  PayShown({.payee = "Ann Lee", .date = "1/9/2004", .gross = "1000",
            .withholding = "FIT|100|0|Soc. Sec.|62|62|Medicare|14.5|14.5|"},
           kEmployer, "Ann Lee\r\n9 Old Rd\r\nSpringfield, IL 62702\r\n123-45-6789");
  PayShown({.payee = "Ann Lee", .date = "2/6/2004", .gross = "520", .eic = "20",
            .withholding = "FIT|40|0|Soc. Sec.|31|31|Medicare|7.25|7.25|EIC|0|0|"},
           kEmployer, "Ann Lee\r\n4 New Ave\r\nSpringfield, IL 62704\r\n123-45-6789");
  PayShown({.payee = "Ann Lee", .date = "3/19/2004", .gross = "5000",
            .withholding = "FIT|500|0|Soc. Sec.|310|310|Medicare|72.5|72.5|", .void_check = true},
           kEmployer, "Ann Lee\r\nVoid St\r\nNowhere, IL 60000\r\n123-45-6789");
  Pay({.payee = "Bo Park", .date = "2/6/2004", .gross = "300", .withholding = "FIT|30|0|"});

  EXPECT_THAT(W2("Ann Lee", "3/1/2004", "3/31/2004"),
              ElementsAreArray(Rows{
                  {"FORM W-2", " "},
                  {"1/1/2004 TO 12/31/2004", " "},
                  {" ", " "},
                  {"Ann Lee", " "},
                  {"Employer", " "},
                  {"     Pat Home", " "},
                  {"     1 Elm St", " "},
                  {"     Springfield, IL 62701", " "},
                  {"     Employer ID: 12-3456789", " "},
                  {"Employee", " "},
                  {"     Ann Lee", " "},
                  {"     4 New Ave", " "},
                  {"     Springfield, IL 62704", " "},
                  {"     123-45-6789", " "},
                  {"Box 1  Wages, tips, other compensation", "$1,500.00"},
                  {"Box 2  Federal income tax withheld", "$140.00"},
                  {"Box 3  Social security wages", "$1,500.00"},
                  {"Box 4  Social security tax withheld", "$93.00"},
                  {"Box 5  Medicare wages and tips", "$1,500.00"},
                  {"Box 6  Medicare tax withheld", "$21.75"},
                  {"Box 7  Social security tips", "$0.00"},
                  {"Box 9  Advance EIC payment", "$20.00"},
              }));
}

// Bo crosses $87,900 in December. June 80,000; on 12/15 a 7,000 check and
// then (a higher ID, the same day) a 5,000 bonus check: 80,000 + 7,000 =
// 87,000 fit, so the bonus adds only 900 and box 3 is 87,900. He was
// withheld 6.2 % of every check, 4,960 + 434 + 310 = 5,704, against
// 6.2 % x 87,900 = 5,449.80: 254.20 too much, far beyond a cent a check.
// Medicare has no base: 92,000, 1,334 withheld = 1.45 %, no note.
TEST_P(FormW2Test, CrossingTheBaseWithASameDayBonusCapsBoxThreeAndNotesBoxFour) {
  const auto fica = [](const char* ss, const char* medicare) {
    return std::string("FIT|0|0|Soc. Sec.|") + ss + "|" + ss + "|Medicare|" + medicare + "|" +
           medicare + "|";
  };
  Pay({.payee = "Bo Park", .date = "6/30/2004", .gross = "80000", .withholding = fica("4960", "1160")});
  Pay({.payee = "Bo Park", .date = "12/15/2004", .gross = "7000", .withholding = fica("434", "101.5")});
  Pay({.payee = "Bo Park", .date = "12/15/2004", .gross = "5000", .withholding = fica("310", "72.5")});
  const Rows rows = W2("Bo Park");
  EXPECT_EQ(AmountOf(rows, "Box 1  Wages, tips, other compensation"), "$92,000.00");
  EXPECT_EQ(AmountOf(rows, "Box 3  Social security wages"), "$87,900.00");
  EXPECT_EQ(AmountOf(rows, "Box 4  Social security tax withheld"), "$5,704.00");
  EXPECT_EQ(AmountOf(rows, "Box 5  Medicare wages and tips"), "$92,000.00");
  EXPECT_EQ(AmountOf(rows, "Box 6  Medicare tax withheld"), "$1,334.00");
  EXPECT_THAT(Notes(rows), ElementsAreArray({
                               "Note: box 4 differs from 6.20% of boxes 3 and 7 by $254.20;",
                           }));
  EXPECT_EQ(rows.back().description, "correct it before filing.");
}

// Rounding by a cent on each check is no error: three checks of 33.33
// each withheld 2.07 (6.2 % is 2.06646): 6.21 against 6.2 % x 99.99 =
// 6.1994 is 0.0106 apart, within the three cents of three checks. A
// single check 0.02 off is noted.
TEST_P(FormW2Test, ACentPerCheckIsNoError) {
  for (const char* date : {"1/9/2004", "2/6/2004", "3/5/2004"}) {
    Pay({.payee = "Cy Dunn", .date = date, .gross = "33.33",
         .withholding = "Soc. Sec.|2.07|2.07|Medicare|0.48|0.48|"});
  }
  EXPECT_THAT(Notes(W2("Cy Dunn")), IsEmpty());
  Pay({.payee = "Di Roe", .date = "1/9/2004", .gross = "100",
       .withholding = "Soc. Sec.|6.2|6.2|Medicare|1.47|1.47|"});
  EXPECT_THAT(Notes(W2("Di Roe")),
              ElementsAreArray({"Note: box 6 differs from 1.45% of box 5 by $0.02;"}));
}

// Tips: Eve had 87,000 of wages by June; her July check of 1,000 carries
// 300 of "Tips": its 700 of wages fit under the base first (87,700), then
// 200 of the tips. Box 3 87,700 + box 7 200 = the base; Medicare counts all
// 88,000. Box 4 withheld 5,449.80 = 6.2 % of 87,900: no note.
TEST_P(FormW2Test, TipsFillWhatTheWagesLeaveOfTheBase) {
  Pay({.payee = "Eve Ash", .date = "6/4/2004", .gross = "87000",
       .withholding = "Soc. Sec.|5394|5394|Medicare|1261.5|1261.5|"});
  Pay({.payee = "Eve Ash", .date = "7/2/2004", .gross = "1000",
       .withholding = "Soc. Sec.|55.8|55.8|Medicare|14.5|14.5|",
       .supplemental = "Tips'300'Soc. Sec.|18.6|18.6|'"});
  const Rows rows = W2("Eve Ash");
  EXPECT_EQ(AmountOf(rows, "Box 3  Social security wages"), "$87,700.00");
  EXPECT_EQ(AmountOf(rows, "Box 7  Social security tips"), "$200.00");
  EXPECT_EQ(AmountOf(rows, "Box 5  Medicare wages and tips"), "$88,000.00");
  EXPECT_EQ(AmountOf(rows, "Box 4  Social security tax withheld"), "$5,449.80");
  EXPECT_THAT(Notes(rows), IsEmpty());
}

// An assistant without FIT: box 2 is 0 and box 1 still counts the pay.
TEST_P(FormW2Test, AnAssistantWithoutFIT) {
  Pay({.payee = "Flo Hart", .date = "4/2/2004", .gross = "400",
       .withholding = "Soc. Sec.|24.8|24.8|Medicare|5.8|5.8|"});
  const Rows rows = W2("Flo Hart");
  EXPECT_EQ(AmountOf(rows, "Box 1  Wages, tips, other compensation"), "$400.00");
  EXPECT_EQ(AmountOf(rows, "Box 2  Federal income tax withheld"), "$0.00");
  EXPECT_EQ(AmountOf(rows, "Box 16  State wages, tips, etc."), "<no row 'Box 16  State wages, tips, etc.'>");
}

// With SIT configured the state boxes follow: the employer's state, the
// pay of the checks carrying SIT (700 less 20 EIC; the 300 check without
// SIT is not state wages) and the SIT withheld.
TEST_P(FormW2Test, StateBoxesWhenSITIsConfigured) {
  Settings({{"SITRate", "3"}});
  Employer("IL");
  Pay({.payee = "Gus Kim", .date = "5/7/2004", .gross = "700", .eic = "20",
       .withholding = "SIT|20.4|0|EIC|0|0|"});
  Pay({.payee = "Gus Kim", .date = "5/14/2004", .gross = "300", .withholding = "FIT|10|0|"});
  const Rows rows = W2("Gus Kim");
  const Rows tail(rows.end() - 3, rows.end());
  EXPECT_THAT(tail, ElementsAreArray(Rows{
                        {"Box 15  State", "IL"},
                        {"Box 16  State wages, tips, etc.", "$680.00"},
                        {"Box 17  State income tax", "$20.40"},
                    }));
  EXPECT_EQ(AmountOf(rows, "Box 1  Wages, tips, other compensation"), "$980.00");
}

TEST_P(FormW2Test, WithoutAStartDateSaysAW2IsOneYear) {
  Pay({.payee = "Ann Lee", .date = "1/9/2004", .gross = "100"});
  EXPECT_THAT(W2("Ann Lee", "", ""),
              ElementsAreArray(Rows{
                  {"FORM W-2", " "},
                  {" TO ", " "},
                  {"A W-2 covers one calendar year: choose its dates.", " "},
              }));
}

// Three assistants, one with an apostrophe; Hal's pay is all void and
// 2003, so he has no W-2 page and is not counted.
class AllAssistantsTest : public FormW2Test {
 protected:
  void SetUpHousehold() override {
    Pay({.payee = "Zoe Quinn", .date = "3/5/2004", .gross = "1000", .eic = "50",
         .withholding = "FIT|80|0|Soc. Sec.|58.9|58.9|Medicare|13.78|13.78|EIC|0|0|"});
    Pay({.payee = "Dee O'Hara", .date = "2/6/2004", .gross = "2000",
         .withholding = "FIT|200|0|Soc. Sec.|124|124|Medicare|29|29|",
         .supplemental = "Tip'200'Soc. Sec.|12.4|12.4|'"});
    PayShown({.payee = "Dee O'Hara", .date = "9/3/2004", .gross = "500",
              .withholding = "Soc. Sec.|31|31|Medicare|7.25|7.25|"},
             kEmployer, "Dee O''Hara\r\n2 Oak St\r\nSpringfield, IL 62703\r\n987-65-4321");
    Pay({.payee = "Hal Vo", .date = "5/5/2004", .gross = "900",
         .withholding = "FIT|90|0|", .void_check = true});
    Pay({.payee = "Hal Vo", .date = "5/5/2003", .gross = "900", .withholding = "FIT|90|0|"});
  }
};

// Dee (wages and tips withheld on the whole check): box 1 2,500, box 3 2,300, box 7 200, box 2 200, box 4 155, box 5
// 2,500, box 6 36.25. Zoe: box 1 950, box 2 80, boxes 3 and 5 950, box 4
// 58.90, box 6 13.78, box 9 50.
TEST_P(AllAssistantsTest, OnePagePerAssistantInTheSortListsOrder) {
  const Rows rows = W2("All Assistants");
  std::vector<std::string> headings;
  for (const StatementRow& r : rows) {
    if (r.description == "Dee O'Hara" || r.description == "Zoe Quinn" || r.description == "Hal Vo") {
      headings.push_back(r.description);
    }
  }
  EXPECT_THAT(headings, ElementsAreArray({"Dee O'Hara", "Zoe Quinn"}));
  const Rows dee = Page(rows, "Dee O'Hara");
  EXPECT_EQ(AmountOf(dee, "Box 1  Wages, tips, other compensation"), "$2,500.00");
  EXPECT_EQ(AmountOf(dee, "Box 3  Social security wages"), "$2,300.00");
  EXPECT_EQ(AmountOf(dee, "Box 7  Social security tips"), "$200.00");
  EXPECT_EQ(AmountOf(Page(rows, "Zoe Quinn"), "Box 9  Advance EIC payment"), "$50.00");
  // The same page as the assistant's own W-2.
  const Rows own = W2("Dee O'Hara");
  EXPECT_EQ(Rows(own.begin() + 3, own.end()), dee);
}

// The employer block is that of the year's latest check, Dee's in
// September.
TEST_P(AllAssistantsTest, TheW3TotalsTheW2s) {
  EXPECT_THAT(W3(), ElementsAreArray(Rows{
                        {"FORM W-3", " "},
                        {"1/1/2004 TO 12/31/2004", " "},
                        {" ", " "},
                        {"Employer", " "},
                        {"     Pat Home", " "},
                        {"     1 Elm St", " "},
                        {"     Springfield, IL 62701", " "},
                        {"     Employer ID: 12-3456789", " "},
                        {"Kind of employer", "Household"},
                        {"Number of Forms W-2", "2"},
                        {"Box 1  Wages, tips, other compensation", "$3,450.00"},
                        {"Box 2  Federal income tax withheld", "$280.00"},
                        {"Box 3  Social security wages", "$3,250.00"},
                        {"Box 4  Social security tax withheld", "$213.90"},
                        {"Box 5  Medicare wages and tips", "$3,450.00"},
                        {"Box 6  Medicare tax withheld", "$50.03"},
                        {"Box 7  Social security tips", "$200.00"},
                        {"Box 9  Advance EIC payment", "$50.00"},
                    }));
  // Each total is the sum of the W-2 boxes.
  const Rows w2 = W2("All Assistants");
  for (const char* box : {"Box 1  Wages, tips, other compensation", "Box 3  Social security wages",
                          "Box 6  Medicare tax withheld", "Box 7  Social security tips"}) {
    const Money sum =
        Amount(AmountOf(Page(w2, "Dee O'Hara"), box)) + Amount(AmountOf(Page(w2, "Zoe Quinn"), box));
    EXPECT_EQ(FormatCurrency(sum), AmountOf(W3(), box)) << box;
  }
}

// The boxes agree with the federal statements of the same assistant and
// year.
TEST_P(AllAssistantsTest, BoxesAgreeWithTheFederalStatements) {
  for (const std::string name : {"Dee O'Hara", "Zoe Quinn"}) {
    const Rows w2 = W2(name);
    const auto statement = [&](const char* type, const char* row) {
      return AmountOf(Run(type, name, "1/1/2004", "12/31/2004"), row);
    };
    EXPECT_EQ(AmountOf(w2, "Box 2  Federal income tax withheld"), statement("FIT", "Total withholdings"));
    EXPECT_EQ(AmountOf(w2, "Box 5  Medicare wages and tips"),
              statement("Medicare", "Medicare wages and tips"));
    EXPECT_EQ(AmountOf(w2, "Box 9  Advance EIC payment"), statement("EIC", "Total amount of EIC paid"));
    const Money ss = Amount(AmountOf(w2, "Box 3  Social security wages")) +
                     Amount(AmountOf(w2, "Box 7  Social security tips"));
    EXPECT_EQ(FormatCurrency(ss), statement("Soc. Sec.", "Total Social Security payments")) << name;
  }
}

VELTRANE_ON_BOTH_BACKENDS(FormW2Test);
VELTRANE_ON_BOTH_BACKENDS(AllAssistantsTest);

}  // namespace
}  // namespace veltrane::testing
