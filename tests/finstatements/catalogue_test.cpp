// The catalogue of statements, the dispatch of a chosen entry, the journal
// query, the message formatter and Init's failure message.
#include <gmock/gmock.h>

#include "statements_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::vector<std::string> kUsFixed = {
    "Summary",  "Detailed",     "------------", "Tax Forms", "------------",
    "Form 1040 Schedule H",     "Form 940EZ",   "Form 940",  "Form 941", "Form W-2", "Form W-3",
    "------------", "Federal Taxes", "------------", "Soc. Sec.", "Medicare", "FIT", "FUTA", "EIC"};

// A tax definition record: the name, the flat amount, and seven empty fields.
std::string Definition(const std::string& name, const std::string& flat = "5") {
  return name + "|" + flat + "||||||||";
}

std::vector<std::string> Plus(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class CatalogueTest : public StatementsTest {};

TEST_P(CatalogueTest, WithoutSettingsRowEndsAfterTheFederalTaxesAndSelectsNothing) {
  Pay({.supplemental = "Tip'20''"});
  EXPECT_THAT(Catalogue(), ElementsAreArray(kUsFixed));
  EXPECT_EQ(selector.selected(), -1);
}

TEST_P(CatalogueTest, StateTaxesOtherWithholdingsAndSupplementalKindsInTheirGroups) {
  Settings({{"SITRate", "3"},
            {"SUIEmployerRate", "2.7"},
            {"OtherWithholdings", Definition("Union") + Definition("Dues") + Definition("Union")}});
  Pay({.supplemental = "tip'20''Bonus'50''"});
  Pay({.supplemental = "Tip'5''", .void_check = true});  // void checks count for the catalogue
  Pay({.payee = "Bo Park", .date = "12/31/1999", .supplemental = "Mileage'3''"});
  EXPECT_THAT(Catalogue(),
              ElementsAreArray(Plus(kUsFixed, {"------------", "Other Taxes", "------------", "SIT",
                                               "SUI", "Dues", "Union", "Union", "------------",
                                               "Supplemental Payments", "------------", "Bonus",
                                               "Mileage", "tip"})));
  EXPECT_EQ(selector.selected(), 0);
}

TEST_P(CatalogueTest, NoStateTaxAndNoOtherWithholdingGiveNoOtherTaxesHeader) {
  Settings({{"SITRate", ""}});
  Pay({.supplemental = ""});
  EXPECT_THAT(Catalogue(), ElementsAreArray(kUsFixed));
  EXPECT_EQ(selector.selected(), 0);
}

TEST_P(CatalogueTest, EachStateTaxIsConfiguredByAnyOfItsFourFields) {
  Settings({{"SDIWithholding", "12"}, {"OtherWithholdings", Value()}});
  EXPECT_THAT(Catalogue(),
              ElementsAreArray(Plus(kUsFixed, {"------------", "Other Taxes", "------------", "SDI"})));
}

TEST_P(CatalogueTest, AnIncompleteTrailingDefinitionIsNoEntry) {
  Settings({{"OtherWithholdings", Definition("Union") + "Dues|5|"}});
  EXPECT_THAT(Catalogue(),
              ElementsAreArray(Plus(kUsFixed, {"------------", "Other Taxes", "------------", "Union"})));
}

class OtherLocaleCatalogueTest : public StatementsTest {
 protected:
  OtherLocaleCatalogueTest() : StatementsTest(1031) {}
};

TEST_P(OtherLocaleCatalogueTest, HasNoFederalFormOrStateEntries) {
  Settings({{"SITRate", "3"}, {"OtherWithholdings", Definition("Union")}});
  Pay({.supplemental = "Tip'20''"});
  EXPECT_THAT(Catalogue(), ElementsAre("Summary", "Detailed", "------------", "Other Taxes",
                                       "------------", "Union", "------------",
                                       "Supplemental Payments", "------------", "Tip"));
}

TEST_P(OtherLocaleCatalogueTest, SummaryHasNoEicRow) {
  Pay({.gross = "100", .eic = "10", .net = "100"});
  const Rows rows = Run("Summary", "", "", "");
  EXPECT_EQ(rows.size(), 10u);
  EXPECT_EQ(AmountOf(rows, "     EIC"), "<no row '     EIC'>");
}

// Group headers and separators leave the view as it was.
TEST_P(CatalogueTest, HeadersAndSeparatorsDoNothing) {
  Pay({.gross = "100", .net = "90"});
  const Rows summary = Run("Summary", "", "", "");
  for (const char* type : {"------------", "", "Other Taxes", "supplemental payments", "TAX FORMS",
                           "tax forms", "Federal Taxes"}) {
    EXPECT_EQ(Run(type, "", "", ""), summary) << type;
  }
}

TEST_P(CatalogueTest, TypesMatchWhateverTheirLetterCase) {
  Pay({.gross = "100", .net = "90", .withholding = "Soc. Sec.|6.2|6.2|"});
  EXPECT_EQ(Run("SUMMARY", "", "", "").front().description, "SUMMARY STATEMENT");
  EXPECT_EQ(Run("detailed", "", "", "").front().description, "DETAILED STATEMENT");
  EXPECT_EQ(Run("soc. sec.", "", "", "").front().description, "SOCIAL SECURITY STATEMENT");
  EXPECT_EQ(Run("medicare", "", "", "").front().description, "MEDICARE STATEMENT");
  EXPECT_EQ(Run("fit", "", "", "").front().description, "FEDERAL INCOME TAX STATEMENT");
  EXPECT_EQ(Run("Futa", "", "", "").front().description, "FUTA STATEMENT");
  EXPECT_EQ(Run("eic", "", "", "").front().description, "EIC STATEMENT");
}

TEST_P(CatalogueTest, AnEmptyAttendantBecomesAllAssistantsInTheCallersText) {
  Statements();
  std::string type = "Summary", attendant, start, end;
  stmts->DoStatement(type, attendant, start, end);
  EXPECT_EQ(attendant, "All Assistants");
}

TEST(MemorySortListTest, SortsIgnoringCaseAndKeepsArrivalOrderOfEqualItems) {
  MemorySortList list;
  for (const char* item : {"tip", "Bonus", "Tip", "apple", "TIP", "bonus"}) list.AddItem(item);
  std::vector<std::string> items;
  for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
  EXPECT_THAT(items, ElementsAre("apple", "Bonus", "bonus", "tip", "Tip", "TIP"));
  EXPECT_THROW(list.List(6), std::out_of_range);
}

class JournalQueryTest : public StatementsTest {};

TEST_P(JournalQueryTest, FourCasesWithDatesWrittenMonthDayTwoDigitYear) {
  const clsFinStmnts& s = Statements();
  EXPECT_EQ(FinStmntsProbe::Query(s, "Ann Lee", "2/1/2004", "2004-03-31"),
            "SELECT * FROM [Payment Journal] WHERE payee='Ann Lee' AND [date] >=#2/1/04# AND "
            "[date] <=#3/31/04# AND Void=False");
  EXPECT_EQ(FinStmntsProbe::Query(s, "Ann Lee", "", "3/31/2004"),
            "SELECT * FROM [Payment Journal] WHERE payee='Ann Lee' AND Void=False");
  EXPECT_EQ(FinStmntsProbe::Query(s, "All Assistants", "01/05/04", "1/9/2004"),
            "SELECT * FROM [Payment Journal] WHERE [date] >=#1/5/04# AND [date] <=#1/9/04# AND "
            "Void=False");
  EXPECT_EQ(FinStmntsProbe::Query(s, "ALL ASSISTANTS", "", ""),
            "SELECT * FROM [Payment Journal] WHERE Void=False");
}

TEST_P(JournalQueryTest, NamesAreQuotedSoTheySelectOnlyTheirOwnRows) {
  EXPECT_EQ(FinStmntsProbe::Query(Statements(), "Pat O'Brien", "", ""),
            "SELECT * FROM [Payment Journal] WHERE payee='Pat O''Brien' AND Void=False");
  Pay({.payee = "Pat O'Brien", .gross = "100"});
  Pay({.payee = "Ann Lee", .gross = "40"});
  EXPECT_EQ(FinStmntsProbe::Taxable(Statements(), "", "Pat O'Brien", "", ""), M("100"));
  EXPECT_EQ(FinStmntsProbe::Taxable(Statements(), "", "x' OR '1'='1", "", ""), Money());
}

TEST_P(JournalQueryTest, APeriodThatIsNoDateRaisesAndEndsStatementsWithoutRowsOfOtherDates) {
  EXPECT_ANY_THROW(FinStmntsProbe::Query(Statements(), "Ann Lee", "3/1/2004", ""));
  EXPECT_ANY_THROW(FinStmntsProbe::Query(Statements(), "Ann Lee", "soon", "3/31/2004"));
  Pay({.gross = "100", .net = "90"});
  const Rows rows = Run("Summary", "", "3/1/2004", "");
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(AmountOf(rows, "Gross Wages"), "$0.00");
  EXPECT_EQ(Run("Soc. Sec.", "", "garbage", "3/31/2004").size(), 23u);
  EXPECT_EQ(AmountOf(view.rows(), "Total payments"), "$0.00");
}

TEST(FormatResMessageTest, ExpandsMarkersInOrderIncludingThoseOfTheInsertedText) {
  EXPECT_EQ(FinStmntsProbe::Message(43, "SDI|2x|1y"),
            "Unable to adjust base with\r\nexemption allowances.\r\n\r\nThe program could not "
            "locate assistant\r\ndata to adjust the taxable wage base\r\nfor the tax:\r\n\r\n"
            "SDI\r\nx\r\n\r\ny\r\n\r\nThe program will continue without\r\nthe adjustment.\r\n\r\n");
  EXPECT_EQ(FinStmntsProbe::Message(44, "x"), "Paystead");
  EXPECT_EQ(FinStmntsProbe::Message(45, "x"), "");
}

// A list view that cannot take headings.
class HeadlessView final : public StatementListView {};

TEST_P(CatalogueTest, InitFailureIsShownWithItsNumberAndDescription) {
  HeadlessView headless;
  clsFinStmnts s(&messages, locale);
  s.Init(*db, sort, headless);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "An unexpected error occurred\r\ninitializing financial statements.\r\n\r\n"
            "438: missing member: AddHeadings.\r\n\r\nRe-start the program if needed.\r\n\r\n");
  EXPECT_EQ(messages.shown[0].title, "Error");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::kOk);
}

TEST_P(CatalogueTest, InitGivesTheViewItsHeadings) {
  Statements();
  EXPECT_EQ(view.description_heading(), "Description");
  EXPECT_EQ(view.amount_heading(), "Amount");
  EXPECT_THAT(messages.shown, IsEmpty());
}

// A view without ListIndex: each statement loses that one step only.
class UnselectableView final : public StatementListView {
 public:
  std::vector<StatementRow> rows;
  void AddHeadings(const std::string&, double, const std::string&, int, double) override {}
  void Reset() override { rows.clear(); }
  int ListItemsCount() const override { return static_cast<int>(rows.size()); }
  void AddEntry(const std::string& d, int position, const std::string& a) override {
    EXPECT_EQ(position, ListItemsCount() + 1);
    rows.push_back({d, a});
  }
};

TEST_P(CatalogueTest, AControlWithoutAMemberLosesThatStepOnly) {
  Pay({.gross = "100", .net = "90"});
  UnselectableView v;
  clsFinStmnts s(&messages, locale);
  s.Init(*db, sort, v);
  std::string type = "Summary", attendant, start, end;
  s.DoStatement(type, attendant, start, end);
  EXPECT_EQ(v.rows.size(), 11u);
  EXPECT_THAT(messages.shown, IsEmpty());
}

VELTRANE_ON_BOTH_BACKENDS(CatalogueTest);
VELTRANE_ON_BOTH_BACKENDS(OtherLocaleCatalogueTest);
VELTRANE_ON_BOTH_BACKENDS(JournalQueryTest);

}  // namespace
}  // namespace veltrane::testing
