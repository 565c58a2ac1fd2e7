// The tax lists a household employer writes: elections checked and spelled
// canonically, and the taxes named for supplemental pay.
#include "household_fixture.h"

namespace veltrane::household::testing {
namespace {

using ::testing::HasSubstr;

const std::string kAnnsElections = "FIT|Single|1|Soc. Sec.|||Medicare|||";

TEST(SupplementalTaxList, ElectedNamesInTheirElectedSpellingAsTriplesWithoutAmounts) {
  EXPECT_EQ(SupplementalTaxList("supp", " medicare ,FIT", kAnnsElections, "Ann Lee"),
            "Medicare|||FIT|||");
  EXPECT_EQ(SupplementalTaxList("supp", "", kAnnsElections, "Ann Lee"), "");
  EXPECT_EQ(SupplementalTaxList("supp", "  ", kAnnsElections, "Ann Lee"), "");
}

TEST(SupplementalTaxList, NamesNotElectedEmptyOrRepeatedAreRefused) {
  const auto refusal = [](const std::string& names, const std::string& elections = kAnnsElections) {
    return FaultOf([&] { SupplementalTaxList("supp", names, elections, "Ann Lee"); });
  };
  const Fault not_elected = refusal("FIT,SIT");
  EXPECT_EQ(not_elected.field(), "supp");
  EXPECT_EQ(not_elected.text(),
            "Ann Lee does not have SIT among the withholdings (FIT Single 1, Soc. Sec., "
            "Medicare); name only taxes Ann Lee has elected");
  EXPECT_THAT(refusal("FIT,,Medicare").text(), HasSubstr("holds an empty tax name"));
  EXPECT_THAT(refusal("FIT,").text(), HasSubstr("holds an empty tax name"));
  EXPECT_THAT(refusal("fit,FIT").text(), HasSubstr("FIT is named twice"));
  // An elected name may hold an apostrophe, which ends a supplemental field.
  EXPECT_THAT(refusal("Tip's tax", "Tip's tax|||").text(), HasSubstr("holds an apostrophe"));
}

TEST(Elections, AreCheckedSpelledCanonicallyAndFaultsNameTheirInput) {
  EXPECT_EQ(CheckedElectionList(
                ElectionsOfList("fit|single|2|soc. sec.|x|y|EIC|Single|2|", "withholdings")),
            "FIT|Single|2|Soc. Sec.|||EIC||2|");
  EXPECT_EQ(CheckedElectionList({ElectionOfText("sit", "SIT", "married:3"),
                                 ElectionOfText("other", "", "Union dues"),
                                 ElectionOfText("other", "", "Dues2:Single:1")}),
            "SIT|Married|3|Union dues|||Dues2|Single|1|");

  const auto fault = [](std::vector<ElectionInput> elections) {
    return FaultOf([&] { CheckedElectionList(elections); });
  };
  const Fault allowances = fault(ElectionsOfList("FIT|Single|x|", "withholdings"));
  EXPECT_EQ(allowances.field(), "withholdings");
  EXPECT_EQ(allowances.TextNaming([](std::string_view f) { return "<" + std::string(f) + ">"; }),
            "<withholdings> (FIT allowances): 'x' is not a whole number from 0 to 99");
  EXPECT_EQ(fault({{"eic", "EIC", "", "3"}}).field(), "eic");
  EXPECT_THAT(fault({{"fit", "FIT", "Widowed", "1"}}).text(), HasSubstr("is not a filing status"));
  const Fault twice = fault({{"other", "Dues", "", ""}, {"other", "dues", "", ""}});
  EXPECT_EQ(twice.field(), "other");
  EXPECT_THAT(twice.text(), HasSubstr("is elected twice"));
  EXPECT_EQ(FaultOf([] { ElectionsOfList("FIT|Single|1", "withholdings"); }).field(),
            "withholdings");
}

TEST(TaxDefinitions, AreWholeRecordsOfOwnNamesWithAmountsAndPercentages) {
  EXPECT_EQ(CheckedTaxDefinitions("union dues|5.00|| 2% ||||||"), "union dues|5||2||||||");
  EXPECT_THAT(FaultOf([] { CheckedTaxDefinitions("Dues|5|"); }).text(),
              HasSubstr("is not a whole definition list"));
  EXPECT_THAT(FaultOf([] { CheckedTaxDefinitions("SIT|5||||||||"); }).text(),
              HasSubstr("'SIT' is a built-in tax"));
  EXPECT_THAT(FaultOf([] { CheckedTaxDefinitions("Dues||100|x||||||"); }).text(),
              HasSubstr("(Dues, field 4): 'x' is not a percentage"));
}

}  // namespace
}  // namespace veltrane::household::testing
