#include "common/delimited_list.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

using Groups = std::vector<ListGroup>;

TEST(DelimitedListRead, EmptyAndShortTextsReadAsNoGroups) {
  EXPECT_TRUE(ReadList("", '|', 3).empty());
  EXPECT_TRUE(ReadList("FIT|", '|', 3).empty());
  EXPECT_TRUE(ReadList("FIT|Single", '|', 3).empty());
}

TEST(DelimitedListRead, LastGroupWithoutItsFinalSeparatorStillReads) {
  EXPECT_EQ(ReadList("FIT|23|0", '|', 3), (Groups{{"FIT", "23", "0"}}));
  EXPECT_EQ(ReadList("FIT|23|0|", '|', 3), (Groups{{"FIT", "23", "0"}}));
}

TEST(DelimitedListRead, IncompleteTrailingGroupIsIgnored) {
  EXPECT_EQ(ReadList("FIT|23|0|Medicare|14.5", '|', 3), (Groups{{"FIT", "23", "0"}}));
  EXPECT_EQ(ReadList("FIT|23|0|Medicare", '|', 3), (Groups{{"FIT", "23", "0"}}));
  // With its separator the withholding is followed by one more (empty) field,
  // so the group is whole and its liability is the empty text.
  EXPECT_EQ(ReadList("FIT|23|0|Medicare|14.5|", '|', 3), (Groups{{"FIT", "23", "0"}, {"Medicare", "14.5", ""}}));
}

TEST(DelimitedListRead, ListsJoinedEndToEndReadAsOne) {
  const std::string a = "Soc. Sec.|62|62|FIT|23|0|";
  const std::string b = "Soc. Sec.|6.2|6.2|";
  EXPECT_EQ(ReadList(a + b, '|', 3),
            (Groups{{"Soc. Sec.", "62", "62"}, {"FIT", "23", "0"}, {"Soc. Sec.", "6.2", "6.2"}}));
  // The supplemental list nests a "|" record inside each "'" item.
  EXPECT_EQ(ReadList("Bonus'50'SIT|1|0|'Gift'25''", '\'', 3),
            (Groups{{"Bonus", "50", "SIT|1|0|"}, {"Gift", "25", ""}}));
}

TEST(DelimitedListRead, GroupsOfNineAndFive) {
  const auto defs = ReadList("SDI||7000|1.2|0|0||||Dues|5|||||||", '|', 9);
  ASSERT_EQ(defs.size(), 2u);
  EXPECT_EQ(defs[0][2], "7000");
  EXPECT_EQ(defs[1][1], "5");
  EXPECT_EQ(ReadList("Regular|40|10|400|800|Overtime|0|0|0|0|", '|', 5).size(), 2u);
}

TEST(DelimitedListLookup, FirstCaseInsensitiveMatchWins) {
  const auto g = ReadList("Medicare|1|1|FIT|23|0|fit|99|0|", '|', 3);
  const ListGroup* fit = FindGroup(g, "fit");
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ((*fit)[1], "23");
  EXPECT_EQ(FindGroup(g, "SIT"), nullptr);
}

TEST(DelimitedListWrite, EveryFieldIsFollowedByItsSeparator) {
  ListWriter w;
  w.Add("FIT").Add(Money::FromTicks(230000)).Add(Money());
  EXPECT_EQ(w.text(), "FIT|23|0|");
  ListWriter s('\'');
  s.Add("Bonus").Add(Money::Dollars(50)).Add("");
  EXPECT_EQ(s.text(), "Bonus'50''");
  EXPECT_EQ(ReadList(w.text() + w.text(), '|', 3).size(), 2u);
}

}  // namespace
}  // namespace veltrane
