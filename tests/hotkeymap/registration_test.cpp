// Which controls get which hot keys, and how the registration slots grow.
#include <gtest/gtest.h>

#include "hotkeymap/loc_indep_hot_keys.h"
#include "hotkeymap/memory_form.h"
#include "sample_controls.h"

namespace veltrane {
namespace {

using testing::AddCaptioned;
using testing::AddControl;
using testing::AddTabStrip;

class Registration : public ::testing::Test {
 protected:
  // The registered (code, tab index) pairs, in slot order.
  std::vector<std::pair<int, int>> Registered() const {
    std::vector<std::pair<int, int>> entries;
    for (int i = 0; i < keys_.count(); ++i) {
      entries.emplace_back(keys_.hot_key_codes()[i], keys_.tab_indexes()[i]);
    }
    return entries;
  }

  MemoryForm form_;
  clsLocIndepHotKeys keys_;
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(Registration, CaptionLetterAfterFirstAmpersandIsUpperCased) {
  AddCaptioned(form_, "vtCmd", "&Save", 1);
  AddCaptioned(form_, "Label", "First &name", 2);
  AddCaptioned(form_, "commandbutton", "a&b&c", 3);  // type letter case ignored
  AddCaptioned(form_, "vtChk", "Salt && &pepper", 4);
  keys_.InitLocIndepHK(form_);
  EXPECT_EQ(Registered(), (Pairs{{'S', 1}, {'N', 2}, {'B', 3}, {'&', 4}}));
}

TEST_F(Registration, CaptionsWithoutAHotKeyAndOtherTypesRegisterNothing) {
  AddCaptioned(form_, "vtCmd", "Save", 1);
  AddCaptioned(form_, "vtCmd", "Save&", 2);  // a lone trailing "&" underlines nothing
  AddCaptioned(form_, "vtText", "&Text", 3);
  AddCaptioned(form_, "Line", "&Line", 4);
  keys_.InitLocIndepHK(form_);
  EXPECT_EQ(keys_.count(), 0);
}

TEST_F(Registration, TabStripRegistersEachHotKeyTabWithItsOwnTabIndex) {
  AddTabStrip(form_, {"&General", "Notes", "&Taxes"}, 7);
  keys_.InitLocIndepHK(form_);
  EXPECT_EQ(Registered(), (Pairs{{'G', 7}, {'T', 7}}));
}

TEST_F(Registration, ControlLackingAMemberIsSkippedAndTheRestRegistered) {
  form_.Add("vtCmd").WithCaption("&Open");  // no TabIndex: no half entry
  form_.Add("vtOpt").WithTabIndex(2);       // no Caption
  form_.Add("TabStrip").WithTabIndex(3);    // no Tabs
  AddCaptioned(form_, "vtCmd", "&Close", 4);
  keys_.InitLocIndepHK(form_);
  EXPECT_EQ(Registered(), (Pairs{{'C', 4}}));
}

TEST_F(Registration, AddHotKeyGivesTagChTheLetterH) {
  keys_.AddHotKey(AddCaptioned(form_, "vtCmd", "Check", 5).WithTag("ch"));
  keys_.AddHotKey(AddCaptioned(form_, "Label", "Hours", 6).WithTag("CH"));
  keys_.AddHotKey(AddCaptioned(form_, "vtCmd", "&Print", 8).WithTag("ch"));
  keys_.AddHotKey(AddCaptioned(form_, "vtCmd", "Print&", 9).WithTag("ch"));  // has an "&"
  keys_.AddHotKey(AddCaptioned(form_, "vtCmd", "Other", 10).WithTag("chx"));
  keys_.AddHotKey(AddTabStrip(form_, {"&Rates"}, 11).WithTag("ch"));
  EXPECT_EQ(Registered(), (Pairs{{'H', 5}, {'H', 6}, {'P', 8}, {'R', 11}}));
}

TEST_F(Registration, SlotsGrowBy25WhenOnlyTheLastSlotIsLeft) {
  EXPECT_EQ(keys_.hot_key_codes().size(), 26u);
  MemoryControl& button = AddCaptioned(form_, "vtCmd", "&A", 0);
  for (int i = 0; i < 24; ++i) keys_.AddHotKey(button);
  EXPECT_EQ(keys_.hot_key_codes().size(), 26u);
  keys_.AddHotKey(button);  // the 25th
  EXPECT_EQ(keys_.hot_key_codes().size(), 51u);
  EXPECT_EQ(keys_.tab_indexes().size(), 51u);
  for (int i = 25; i < 49; ++i) keys_.AddHotKey(button);
  EXPECT_EQ(keys_.hot_key_codes().size(), 51u);
  keys_.AddHotKey(button);  // the 50th
  EXPECT_EQ(keys_.hot_key_codes().size(), 76u);
  EXPECT_EQ(keys_.count(), 50);
  EXPECT_EQ(keys_.hot_key_codes()[49], 'A');
  EXPECT_EQ(keys_.hot_key_codes().back(), 0);
}

}  // namespace
}  // namespace veltrane
