// What a key press does: which focused controls keep the key, and where the focus goes.
#include <gtest/gtest.h>

#include "hotkeymap/loc_indep_hot_keys.h"
#include "hotkeymap/memory_form.h"
#include "sample_controls.h"

namespace veltrane {
namespace {

using testing::AddCaptioned;
using testing::AddControl;
using testing::AddTabStrip;
using testing::AddTextBox;

class KeyPress : public ::testing::Test {
 protected:
  // Registers the form as built so far, then presses `key`; returns KeyAscii as written back.
  std::int16_t Press(std::int16_t key) {
    if (!registered_) keys_.InitLocIndepHK(form_);
    registered_ = true;
    keys_.HandleLocIndepKeyPress(form_, key);
    return key;
  }
  const HostControl* Focused() { return form_.ActiveControl(); }

  MemoryForm form_;
  clsLocIndepHotKeys keys_;
  bool registered_ = false;
};

class ActiveControlKeepsKey : public KeyPress {};

TEST_F(ActiveControlKeepsKey, LockedTextBoxHandsTheKeyOnUpperCased) {
  MemoryControl& save = AddCaptioned(form_, "vtCmd", "&Save", 2);
  MemoryControl& text = AddTextBox(form_, 1, /*locked=*/true);
  form_.Activate(&text);
  EXPECT_EQ(Press('s'), 'S');
  EXPECT_EQ(Focused(), &save);
}

TEST_F(ActiveControlKeepsKey, UnlockedTextBoxKeepsTheKeyUnchanged) {
  AddCaptioned(form_, "vtCmd", "&Save", 2);
  MemoryControl& text = AddControl(form_, "vtTextMultiline", 1).WithLocked(false);
  form_.Activate(&text);
  EXPECT_EQ(Press('s'), 's');
  EXPECT_EQ(Focused(), &text);
}

TEST_F(ActiveControlKeepsKey, ListViewKeepsTheKeyFromTwoItems) {
  MemoryControl& save = AddCaptioned(form_, "vtCmd", "&Save", 2);
  MemoryControl& list_view = AddControl(form_, "vtLV", 1).WithListItemsCount(1);
  form_.Activate(&list_view);
  EXPECT_EQ(Press('s'), 'S');
  EXPECT_EQ(Focused(), &save);

  list_view.WithListItemsCount(2);
  form_.Activate(&list_view);
  EXPECT_EQ(Press('s'), 's');
  EXPECT_EQ(Focused(), &list_view);
}

TEST_F(ActiveControlKeepsKey, ListsByListCountAndEditorsAlways) {
  AddCaptioned(form_, "vtCmd", "&Save", 9);
  MemoryControl& list = AddControl(form_, "vtCboList", 1).WithListCount(2);
  MemoryControl& combo = AddControl(form_, "VTCBO", 2);
  form_.Activate(&list);
  EXPECT_EQ(Press('s'), 's');
  form_.Activate(&combo);
  EXPECT_EQ(Press('s'), 's');
  list.WithListCount(1);
  form_.Activate(&list);
  EXPECT_EQ(Press('s'), 'S');
}

TEST_F(ActiveControlKeepsKey, TextBoxWithoutLockedDoesNotKeepTheKey) {
  MemoryControl& save = AddCaptioned(form_, "vtCmd", "&Save", 2);
  MemoryControl& text = form_.Add("vtText");
  form_.Activate(&text);
  EXPECT_EQ(Press('s'), 'S');
  EXPECT_EQ(Focused(), &save);
}

class LabelHandsOn : public KeyPress {};

TEST_F(LabelHandsOn, FocusGoesToTheNextTabIndex) {
  AddCaptioned(form_, "vtLabel", "&Name:", 4);
  MemoryControl& name = AddTextBox(form_, 5);
  EXPECT_EQ(Press('n'), 'N');
  EXPECT_EQ(Focused(), &name);
}

TEST_F(LabelHandsOn, DisabledTargetDoesNothingUnlessAnotherSlotSucceeds) {
  AddCaptioned(form_, "vtLabel", "&Name:", 4);
  AddTextBox(form_, 5).WithEnabled(false);
  Press('n');
  EXPECT_EQ(Focused(), nullptr);

  MemoryControl& next = AddCaptioned(form_, "vtCmd", "&Next", 6);
  keys_.AddHotKey(next);
  Press('n');
  EXPECT_EQ(Focused(), &next);
}

TEST_F(LabelHandsOn, WalksPastFurtherCaptionsAndExcludedControls) {
  AddCaptioned(form_, "Label", "&Address", 1);
  AddCaptioned(form_, "Frame", "Home", 2);
  AddControl(form_, "vtText", 3).WithTag("HotKeyExclude");
  AddControl(form_, "Line", 3);
  AddCaptioned(form_, "Label", "Street", 3);
  MemoryControl& street = AddTextBox(form_, 4);
  Press('a');
  EXPECT_EQ(Focused(), &street);
}

TEST_F(LabelHandsOn, CalendarNeedsOnlyToBeVisible) {
  AddCaptioned(form_, "Label", "&Date", 1);
  MemoryControl& calendar = AddControl(form_, "Calendar", 2).WithEnabled(false);
  Press('d');
  EXPECT_EQ(Focused(), &calendar);

  form_.Activate(nullptr);
  calendar.WithVisible(false);
  Press('d');
  EXPECT_EQ(Focused(), nullptr);
}

class TabStripKey : public KeyPress {};

TEST_F(TabStripKey, SelectsTheMatchingTab) {
  MemoryControl& strip = AddTabStrip(form_, {"&General", "&Taxes", "&Notes"}, 3);
  Press('t');
  EXPECT_EQ(Focused(), &strip);
  EXPECT_FALSE(strip.tab(1).selected());
  EXPECT_TRUE(strip.tab(2).selected());
  EXPECT_FALSE(strip.tab(3).selected());
}

TEST_F(TabStripKey, DisabledStripSelectsNothing) {
  MemoryControl& strip = AddTabStrip(form_, {"&General", "&Taxes"}, 3).WithEnabled(false);
  Press('t');
  EXPECT_EQ(Focused(), nullptr);
  EXPECT_FALSE(strip.tab(2).selected());
}

class SlotOrder : public KeyPress {};

TEST_F(SlotOrder, ExcludedControlIsRegisteredButNeverFocused) {
  AddCaptioned(form_, "vtCmd", "&Delete", 1).WithTag("HotKeyExclude");
  Press('d');
  EXPECT_EQ(keys_.count(), 1);
  EXPECT_EQ(Focused(), nullptr);
}

TEST_F(SlotOrder, FirstRegisteredIsTriedFirstThenTheNext) {
  MemoryControl& first = AddCaptioned(form_, "vtOpt", "&Single", 1);
  MemoryControl& second = AddCaptioned(form_, "vtChk", "&Spouse", 2);
  first.WithVisible(false);
  Press('s');
  EXPECT_EQ(Focused(), &second);

  first.WithVisible(true);
  Press('s');
  EXPECT_EQ(Focused(), &first);
}

TEST_F(SlotOrder, SearchReachesEverySlotBeforeTheLast) {
  // 49 buttons on "A", only the one registered last can take the focus: slots 0 to 48 are
  // searched while the slots hold 51 entries.
  MemoryControl* last = nullptr;
  for (std::int16_t t = 0; t < 49; ++t) {
    last = &AddCaptioned(form_, "vtCmd", "&A", t).WithVisible(t == 48);
  }
  Press('a');
  EXPECT_EQ(keys_.hot_key_codes().size(), 51u);
  EXPECT_EQ(Focused(), last);
}

TEST_F(SlotOrder, KeyWithoutACharacterMatchesNoEmptySlot) {
  AddCaptioned(form_, "vtCmd", "Save", 0);
  EXPECT_EQ(Press(0), 0);
  EXPECT_EQ(Focused(), nullptr);
}

TEST_F(SlotOrder, ControlLackingMembersLosesOnlyItsSlot) {
  form_.Add("vtCmd").WithCaption("&Go").WithTabIndex(1);  // no Visible, Enabled, SetFocus
  MemoryControl& second = AddCaptioned(form_, "vtCmd", "&Go", 2);
  EXPECT_EQ(Press('g'), 'G');
  EXPECT_EQ(Focused(), &second);
}

TEST_F(SlotOrder, RefusedSetFocusEndsTheKeyPressQuietly) {
  AddCaptioned(form_, "vtCmd", "&Go", 1).WithSetFocus(/*accepts=*/false);
  AddCaptioned(form_, "vtCmd", "&Go", 2);
  EXPECT_EQ(Press('g'), 'G');
  EXPECT_EQ(Focused(), nullptr);
}

}  // namespace
}  // namespace veltrane
