// The numbers and codes that go onto the W-2 and W-3: checked at their
// edges where they are entered, stored in one form, and named in the
// year-end package where a row stored before them fails.
#include "host/household/identities.h"

#include "host/household/year_end.h"
#include "household_fixture.h"

namespace veltrane::household::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// The stored form of `text`, or "refused".
template <typename Read>
std::string Stored(Read read, const char* text) {
  try {
    return read("field", text);
  } catch (const Fault& f) {
    EXPECT_EQ(f.field(), "field");
    return "refused";
  }
}

TEST(Identities, SocialSecurityNumbersAtTheirEdges) {
  EXPECT_EQ(Stored(ReadSsn, "123456789"), "123-45-6789");
  EXPECT_EQ(Stored(ReadSsn, " 123-45-6789 "), "123-45-6789");
  EXPECT_EQ(Stored(ReadSsn, ""), "");
  EXPECT_EQ(Stored(ReadSsn, "001-01-0001"), "001-01-0001");
  EXPECT_EQ(Stored(ReadSsn, "665-99-9999"), "665-99-9999");
  EXPECT_EQ(Stored(ReadSsn, "899-01-0001"), "899-01-0001");
  for (const char* refused : {"000-12-3456", "666-12-3456", "900-12-3456", "999-12-3456",
                              "123-00-4567", "123-45-0000", "12345678", "1234567890", "123-456-789",
                              "12-345-6789", "123 45 6789", "123-45-678x", "12345"})
    EXPECT_EQ(Stored(ReadSsn, refused), "refused") << refused;
}

TEST(Identities, EmployerNumbersZipCodesAndStates) {
  EXPECT_EQ(Stored(ReadEmployerId, "364417520"), "36-4417520");
  EXPECT_EQ(Stored(ReadEmployerId, "36-4417520"), "36-4417520");
  for (const char* refused : {"12", "364-417520", "36-441752", "36-44175200", "ab-cdefghi"})
    EXPECT_EQ(Stored(ReadEmployerId, refused), "refused") << refused;
  EXPECT_EQ(Stored(ReadZip, "62704"), "62704");
  EXPECT_EQ(Stored(ReadZip, "627041234"), "62704-1234");
  EXPECT_EQ(Stored(ReadZip, "62704-1234"), "62704-1234");
  for (const char* refused : {"abc", "6270", "627041", "62704-123", "62704 1234"})
    EXPECT_EQ(Stored(ReadZip, refused), "refused") << refused;
  EXPECT_EQ(Stored(ReadState, "il"), "IL");
  EXPECT_EQ(Stored(ReadState, "PR"), "PR");
  EXPECT_EQ(Stored(ReadState, "DC"), "DC");
  for (const char* refused : {"Illinois", "XX", "I", "ILL"})
    EXPECT_EQ(Stored(ReadState, refused), "refused") << refused;
}

using NumbersOnForms = HouseholdTest;

TEST_F(NumbersOnForms, AreCheckedOnEntryAndNothingIsStoredWhenOneFails) {
  EXPECT_EQ(FaultOf([&] {
              SetEmployer(*db, {{"city", "Peoria"}, {"employer-id", "123"}});
            }).field(),
            "employer-id");
  EXPECT_EQ(ReadEmployer(*db)->Text("city"), "Springfield");
  EXPECT_EQ(FaultOf([&] { AddAssistant(*db, "Bo", {{{"zip", "abc"}}, "9"}); }).field(), "zip");
  EXPECT_EQ(FaultOf([&] { ChangeAssistant(*db, "Ann Lee", {{{"ssn", "12345"}}}); }).field(), "ssn");
  EXPECT_EQ(FindAssistant(*db, "Ann Lee")->Text("social_security_number"), "123-45-6780");
  EXPECT_EQ(Count("SELECT Count(*) AS n FROM Assistants"), 1);
}

// Rows stored before the numbers were checked are left as they are; the
// package says what its W-2 and W-3 pages lack.
TEST_F(NumbersOnForms, TheYearEndPackageNamesANumberMissingOrNotValid) {
  AddAssistant(*db, "Bo", {{}, "9"});
  db->Execute("UPDATE Assistants SET social_security_number='987-65-4321' WHERE Name='Ann Lee'");
  db->Execute("UPDATE Employer SET federal_employer_id='12'");
  const YearEndContent content = MakeYearEnd(*db, {2004, ""});
  const std::string ann =
      "Ann Lee's Social Security number '987-65-4321' is not a Social Security "
      "number: no number begins with 987.";
  const std::string bo = "Bo's Social Security number is missing.";
  const std::string employer =
      "The employer identification number '12' is not an employer "
      "identification number; write nine digits, like 12-3456789.";
  EXPECT_THAT(content.notes, Contains(ann));
  EXPECT_THAT(content.notes, Contains(bo));
  EXPECT_THAT(content.notes, Contains(employer));
  for (const YearEndPage& page : content.pages) {
    if (page.label.starts_with("Form W-2 Ann Lee")) {
      EXPECT_EQ(page.notes, (std::vector<std::string>{employer, ann}));
    } else if (page.label.starts_with("Form W-3")) {
      EXPECT_EQ(page.notes, (std::vector<std::string>{employer, ann, bo}));
    }
  }
}

}  // namespace
}  // namespace veltrane::household::testing
