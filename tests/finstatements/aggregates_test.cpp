// The sums of the payment journal that the per-tax statements use.
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAre;

class AggregatesTest : public StatementsTest {
 protected:
  const clsFinStmnts& S() { return stmts ? *stmts : Statements(); }
  Money Taxable(std::string_view tax, const std::string& who = "All Assistants",
                const std::string& from = "1/1/2004", const std::string& to = "12/31/2004") {
    return FinStmntsProbe::Taxable(S(), tax, who, from, to);
  }
  Money Within(std::string_view tax, const char* base, const std::string& who,
               const std::string& from, const std::string& to) {
    return FinStmntsProbe::WithinBase(S(), tax, M(base), who, from, to);
  }
};

TEST_P(AggregatesTest, TaxablePaymentsAreGrossLessEicOncePerTripleOfTheTax) {
  Pay({.gross = "110", .eic = "10", .withholding = "FIT|5|0|Soc. Sec.|6.2|6.2|"});
  Pay({.gross = "50", .withholding = "Soc. Sec.|1|1|soc. sec.|2|2|"});  // named twice: counts twice
  Pay({.gross = "70", .withholding = "State FIT|3|0|"});  // passes the text search, adds nothing
  Pay({.gross = "20", .withholding = ""});
  EXPECT_EQ(Taxable(""), M("240"));
  EXPECT_EQ(Taxable("FIT"), M("100"));
  EXPECT_EQ(Taxable("Soc. Sec."), M("200"));
  EXPECT_EQ(FinStmntsProbe::Withheld(S(), "Soc. Sec.", "All Assistants", "", ""), M("9.2"));
  EXPECT_EQ(FinStmntsProbe::Withheld(S(), "", "All Assistants", "", ""), M("17.2"));
}

TEST_P(AggregatesTest, EicPaymentsCountOnlyWhenAboveZero) {
  Pay({.gross = "110", .eic = "10"});
  Pay({.gross = "90", .eic = "-4"});
  Pay({.gross = "90", .eic = "0"});
  EXPECT_EQ(Taxable("EIC"), M("10"));
  // The payments subject to EIC are all taxable payments, whatever the kind.
  EXPECT_EQ(FinStmntsProbe::Supplemental(S(), "any", "EIC", "All Assistants", "", ""), M("284"));
}

TEST_P(AggregatesTest, SupplementalPayOfAKindWithOrWithoutATax) {
  Pay({.gross = "120", .withholding = "Soc. Sec.|1|1|", .supplemental = "Tip'20'Soc. Sec.|1|1|'"});
  Pay({.gross = "75", .withholding = "FIT|1|0|", .supplemental = "tip'5''Tips'50''Tip''x'"});
  EXPECT_EQ(FinStmntsProbe::Supplemental(S(), "Tip", "", "All Assistants", "", ""), M("25"));
  EXPECT_EQ(FinStmntsProbe::Supplemental(S(), "Tip", "Soc. Sec.", "All Assistants", "", ""),
            M("20"));
  EXPECT_EQ(FinStmntsProbe::Supplemental(S(), "Tips", "FIT", "All Assistants", "", ""), M("50"));
}

TEST_P(AggregatesTest, PayeeListIsSortedOnceEachIgnoringCaseWithASpareSlot) {
  Pay({.payee = "bo park", .date = "3/1/2004"});
  Pay({.payee = "Ann Lee", .date = "3/2/2004"});
  Pay({.payee = "Bo Park", .date = "3/3/2004"});
  Pay({.payee = "Cy Ode", .date = "4/3/2004"});
  EXPECT_THAT(FinStmntsProbe::Payees(S(), "3/1/2004", "3/31/2004"), ElementsAre("Ann Lee", "bo park", ""));
  EXPECT_THAT(FinStmntsProbe::Payees(S(), "1/1/2003", "1/31/2003"), ElementsAre(""));
  EXPECT_EQ(Taxable("", "All Assistants", "1/1/2003", "1/31/2003"), Money());
}

// Base 87,900: 80,000 before the period and 10,000 in it adds 7,900.
TEST_P(AggregatesTest, TheBaseCountsWhatThePayeeHadEarlierInTheYear) {
  const std::string ss = "Soc. Sec.|1|1|";
  Pay({.payee = "Ann Lee", .date = "12/31/2003", .gross = "50000", .withholding = ss});
  Pay({.payee = "Ann Lee", .date = "1/1/2004", .gross = "80000", .withholding = ss});
  Pay({.payee = "Ann Lee", .date = "7/1/2004", .gross = "10000", .withholding = ss});
  Pay({.payee = "Bo Park", .date = "6/30/2004", .gross = "90000", .withholding = ss});
  Pay({.payee = "Bo Park", .date = "7/2/2004", .gross = "10000", .withholding = ss});
  Pay({.payee = "Cy Ode", .date = "7/3/2004", .gross = "10000", .withholding = ss});
  EXPECT_EQ(Within("Soc. Sec.", "87900", "Ann Lee", "7/1/2004", "9/30/2004"), M("7900"));
  EXPECT_EQ(Within("Soc. Sec.", "87900", "bo park", "7/1/2004", "9/30/2004"), Money());
  EXPECT_EQ(Within("Soc. Sec.", "87900", "All Assistants", "7/1/2004", "9/30/2004"), M("17900"));
  // From 1 January nothing earlier counts: Ann's 90,000 of the year are capped.
  EXPECT_EQ(Within("Soc. Sec.", "87900", "Ann Lee", "1/1/2004", "12/31/2004"), M("87900"));
  EXPECT_EQ(Within("Soc. Sec.", "87900", "Cy Ode", "1/1/2004", "12/31/2004"), M("10000"));
  EXPECT_EQ(FinStmntsProbe::YearToDate(S(), "Soc. Sec.", "ann lee", "6/30/2004"), M("80000"));
}

TEST_P(AggregatesTest, EachPayeeHasABaseOfTheirOwn) {
  Pay({.payee = "Ann Lee", .date = "2/1/2004", .gross = "5000", .withholding = "FUTA|0|40|"});
  Pay({.payee = "Bo Park", .date = "2/1/2004", .gross = "5000", .withholding = "FUTA|0|40|"});
  EXPECT_EQ(Within("FUTA", "7000", "All Assistants", "1/1/2004", "3/31/2004"), M("10000"));
  EXPECT_EQ(Within("FUTA", "7000", "All Assistants", "2/1/2004", "3/31/2004"), M("10000"));
}

TEST_P(AggregatesTest, TipsUnderTheBaseCountOnlyTheKindTip) {
  const std::string ss = "Soc. Sec.|1|1|";
  Pay({.date = "2/1/2004", .gross = "500", .withholding = ss, .supplemental = "Tip'300''"});
  Pay({.date = "3/1/2004", .gross = "500", .withholding = ss, .supplemental = "Tip'300''Tips'9''"});
  EXPECT_EQ(FinStmntsProbe::SupplementalWithinBase(S(), "Tip", "Soc. Sec.", M("500"),
                                                   "All Assistants", "3/1/2004", "3/31/2004"),
            M("200"));
}

TEST_P(AggregatesTest, AnEmptyStartMeansEveryDateWithNothingBefore) {
  Pay({.date = "2/1/2003", .gross = "6000", .withholding = "FUTA|0|1|"});
  Pay({.date = "2/1/2004", .gross = "6000", .withholding = "FUTA|0|1|"});
  EXPECT_EQ(Within("FUTA", "7000", "All Assistants", "", ""), M("7000"));
}

VELTRANE_ON_BOTH_BACKENDS(AggregatesTest);

}  // namespace
}  // namespace veltrane::testing
