// The running Social Security wages the tax form worksheets count under the
// base, on rows built in memory.
#include <gmock/gmock.h>

#include "common/amount_text.h"
#include "finstatements/tax_form_rows.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;

Money M(const char* text) { return ParseAmount(text); }

const Money kBase = M("87900");

TEST(SocialSecurityTaxableAmount, IsTheWholeAmountUpToTheBaseAndWhatIsLeftAfter) {
  EXPECT_EQ(GetSSTaxableAmount(kBase, M("87000"), M("900")), M("900"));   // reaches it exactly
  EXPECT_EQ(GetSSTaxableAmount(kBase, M("87000"), M("1000")), M("900"));  // crosses it
  EXPECT_EQ(GetSSTaxableAmount(kBase, M("87900"), M("10")), Money());     // already reached
  EXPECT_EQ(GetSSTaxableAmount(kBase, M("90000"), M("10")), Money());     // never below 0
  EXPECT_EQ(GetSSTaxableAmount(kBase, M("1000"), M("-100")), M("-100"));  // a correction
}

JournalRow Row(std::int64_t id, const char* date, const char* payee, const char* gross,
               const char* withholding = "Soc. Sec.|0|0|") {
  JournalRow row;
  row.id = id;
  if (date) row.date = ParseDate(date);
  row.payee = payee;
  row.gross_pay = M(gross);
  row.eic_pay = Money();
  row.withholding = withholding;
  return row;
}

// Rows in the order a query may return them; the earlier wages follow the
// date, then the journal ID, per payee in any letter case, per year.
TEST(EarlierSocialSecurityWages, CountEachPayeesRowsBeforeInDateAndJournalOrder) {
  const std::vector<JournalRow> rows = {
      Row(5, "3/5/2004", "Ann Lee", "100"),            // after 2 and 3 (same day, lower IDs)
      Row(3, "3/5/2004", "ann lee", "20"),             // after 2
      Row(2, "3/5/2004", "Ann Lee", "10"),             // after 1
      Row(1, "1/9/2004", "Ann Lee", "1000"),           // first of the year
      Row(4, "2/6/2004", "Ann Lee", "5000", "FIT|0|0|"),  // no Social Security: adds nothing
      Row(6, "3/5/2004", "Bo Park", "7"),              // a payee of his own
      Row(7, "12/3/2003", "Ann Lee", "50000"),         // another year
      Row(8, nullptr, "Ann Lee", "9"),                 // no date: no place in a year
  };
  EXPECT_THAT(EarlierSSWages(rows), ElementsAre(M("1030"), M("1010"), M("1000"), Money(),
                                                M("1000"), Money(), Money(), Money()));
}

}  // namespace
}  // namespace veltrane
