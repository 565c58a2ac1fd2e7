#include "hotkeymap/loc_indep_hot_keys.h"

#include <array>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/step.h"
#include "common/text.h"

namespace veltrane {
namespace {

constexpr std::size_t kFirstSlots = 26;
constexpr std::size_t kGrowth = 25;
constexpr std::int16_t kTagChHotKey = 'H';

// Controls whose caption can carry a hot key.
constexpr std::array<std::string_view, 7> kCaptioned = {
    "vtLabel", "vtCmd", "Label", "CommandButton", "vtChk", "vtOpt", "Frame"};
// Controls that take the focus for their own hot key.
constexpr std::array<std::string_view, 4> kFocusedDirectly = {"vtCmd", "CommandButton", "vtOpt",
                                                              "vtChk"};
// Captions of another control: their hot key focuses what follows them in tab order.
constexpr std::array<std::string_view, 3> kHandsOn = {"vtLabel", "Label", "Frame"};
// List-like controls that keep typed letters once they have more than one entry.
constexpr std::array<std::string_view, 3> kLists = {"vtList", "vtListCheck", "vtCboList"};
constexpr std::array<std::string_view, 2> kTextBoxes = {"vtTextMultiline", "vtText"};
// Controls that always handle their own typing.
constexpr std::array<std::string_view, 5> kKeepAllKeys = {"aoInterview", "aoPreferences",
                                                          "aoWrkSht", "aoSchedule", "vtCbo"};

template <std::size_t N>
bool IsOneOf(std::string_view type, const std::array<std::string_view, N>& group) {
  for (std::string_view name : group) {
    if (IEquals(type, name)) return true;
  }
  return false;
}

// A type name that cannot be read is treated as an unknown type.
std::string TypeOf(const HostControl& c) {
  std::string type;
  RunStep([&] { type = c.TypeName(); });
  return type;
}

// The upper-case code of the character after the first "&" ("&&" gives "&"); none without one.
std::optional<std::int16_t> HotKeyCode(std::string_view caption) {
  const std::size_t amp = caption.find('&');
  // A trailing lone "&" underlines nothing, so it makes no hot key.
  if (amp == std::string_view::npos || amp + 1 == caption.size()) return std::nullopt;
  const std::string upper = ToUpper(caption.substr(amp + 1, 1));
  return static_cast<std::int16_t>(static_cast<unsigned char>(upper[0]));
}

// Character codes outside one byte have no upper-case form here and stay as they are.
std::int16_t UpperCode(std::int16_t key) {
  if (key < 0 || key > std::numeric_limits<unsigned char>::max()) return key;
  const std::string upper = ToUpper(std::string(1, static_cast<char>(key)));
  return static_cast<std::int16_t>(static_cast<unsigned char>(upper[0]));
}

// True when the focused control needs the key for its own typing or list search.
bool KeepsKey(const HostControl& active) {
  const std::string type = TypeOf(active);
  if (IEquals(type, "vtLV")) return active.listitemscount() > 1;
  if (IsOneOf(type, kLists)) return active.ListCount() > 1;
  if (IsOneOf(type, kTextBoxes)) return !active.Locked();
  return IsOneOf(type, kKeepAllKeys);
}

// Lines and controls tagged "HotKeyExclude" never take the focus from a hot key; a control
// without a Tag cannot be tagged out.
bool Considered(const HostControl& c) {
  bool excluded = false;
  RunStep([&] { excluded = IEquals(TypeOf(c), "Line") || IEquals(c.Tag(), "HotKeyExclude"); });
  return !excluded;
}

bool HasTabIndex(const HostControl& c, int tab_index) {
  bool match = false;
  RunStep([&] { match = c.TabIndex() == tab_index; });
  return match;
}

bool IsVisible(const HostControl& c) {
  bool visible = false;
  RunStep([&] { visible = c.Visible(); });
  return visible;
}

bool IsUsable(const HostControl& c) {
  bool usable = false;
  RunStep([&] { usable = c.Visible() && c.Enabled(); });
  return usable;
}

// A refused SetFocus is skipped like any failed step; the key press still ends here.
void Focus(HostControl& c) {
  RunStep([&] { c.SetFocus(); });
}

HostControl* FindByTabIndex(const std::vector<HostControl*>& controls, int tab_index) {
  for (HostControl* c : controls) {
    if (Considered(*c) && HasTabIndex(*c, tab_index)) return c;
  }
  return nullptr;
}

// What one registration slot led to.
enum class Outcome {
  kFocused,    // the key press is handled
  kAbandoned,  // its target cannot take the focus: try the next slot
  kNoTarget,   // nothing in this control answers the key: keep looking
};

Outcome FocusIfUsable(HostControl& c) {
  if (!IsUsable(c)) return Outcome::kAbandoned;
  Focus(c);
  return Outcome::kFocused;
}

// A label or frame names the control after it: walk forward in tab order past further
// captions to the first control that can take the focus.
Outcome HandOn(const std::vector<HostControl*>& controls, int tab_index) {
  for (int t = tab_index + 1; t <= std::numeric_limits<std::int16_t>::max(); ++t) {
    HostControl* next = FindByTabIndex(controls, t);
    if (next == nullptr) return Outcome::kAbandoned;
    const std::string type = TypeOf(*next);
    if (IsOneOf(type, kHandsOn)) continue;
    // A calendar needs only to be visible to take the focus.
    if (IEquals(type, "Calendar")) {
      if (!IsVisible(*next)) return Outcome::kAbandoned;
      Focus(*next);
      return Outcome::kFocused;
    }
    return FocusIfUsable(*next);
  }
  return Outcome::kAbandoned;
}

Outcome SelectTab(HostControl& strip, std::int16_t key) {
  HostTabs* tabs = nullptr;
  int count = 0;
  if (!RunStep([&] {
        tabs = &strip.Tabs();
        count = tabs->Count();
      })) {
    return Outcome::kNoTarget;
  }
  for (int j = 1; j <= count; ++j) {
    bool match = false;
    RunStep([&] { match = HotKeyCode(tabs->Item(j).Caption()) == key; });
    if (!match) continue;
    if (!IsUsable(strip)) return Outcome::kAbandoned;
    Focus(strip);
    RunStep([&] { tabs->Item(j).SetSelected(true); });
    return Outcome::kFocused;
  }
  return Outcome::kNoTarget;
}

// Looks through the form for the controls of one slot's tab index, in collection order.
Outcome TrySlot(const std::vector<HostControl*>& controls, int tab_index, std::int16_t key) {
  for (HostControl* c : controls) {
    if (!Considered(*c) || !HasTabIndex(*c, tab_index)) continue;
    const std::string type = TypeOf(*c);
    Outcome outcome = Outcome::kNoTarget;
    if (IsOneOf(type, kFocusedDirectly)) {
      outcome = FocusIfUsable(*c);
    } else if (IsOneOf(type, kHandsOn)) {
      outcome = HandOn(controls, tab_index);
    } else if (IEquals(type, "TabStrip")) {
      outcome = SelectTab(*c, key);
    }
    if (outcome != Outcome::kNoTarget) return outcome;
  }
  return Outcome::kNoTarget;
}

}  // namespace

clsLocIndepHotKeys::clsLocIndepHotKeys() : codes_(kFirstSlots, 0), tab_indexes_(kFirstSlots, 0) {}

void clsLocIndepHotKeys::InitLocIndepHK(HostForm& frm) noexcept {
  std::vector<HostControl*> controls;
  RunStep([&] { controls = frm.Controls(); });
  for (HostControl* c : controls) RegisterControl(*c, false);
}

void clsLocIndepHotKeys::AddHotKey(HostControl& c) noexcept { RegisterControl(c, true); }

void clsLocIndepHotKeys::HandleLocIndepKeyPress(HostForm& frm, std::int16_t& KeyAscii) noexcept {
  bool left_to_control = false;
  RunStep([&] {
    const HostControl* active = frm.ActiveControl();
    left_to_control = active != nullptr && KeepsKey(*active);
  });
  if (left_to_control) return;

  KeyAscii = UpperCode(KeyAscii);
  // Empty slots hold code 0; a key without a character must not match them.
  if (KeyAscii == 0) return;

  std::vector<HostControl*> controls;
  if (!RunStep([&] { controls = frm.Controls(); })) return;
  // The last slot is always empty, so the search stops before it.
  for (std::size_t i = 0; i + 1 < codes_.size(); ++i) {
    if (codes_[i] != KeyAscii) continue;
    if (TrySlot(controls, tab_indexes_[i], KeyAscii) == Outcome::kFocused) return;
  }
}

void clsLocIndepHotKeys::RegisterControl(HostControl& c, bool tag_ch_means_h) {
  const std::string type = TypeOf(c);
  if (IsOneOf(type, kCaptioned)) {
    // The caption and the tab index are read before anything is written, so a control lacking
    // either registers nothing rather than half an entry.
    RunStep([&] {
      const std::string caption = c.Caption();
      if (const auto code = HotKeyCode(caption)) {
        Register(*code, c.TabIndex());
      } else if (tag_ch_means_h && caption.find('&') == std::string::npos &&
                 IEquals(c.Tag(), "ch")) {
        Register(kTagChHotKey, c.TabIndex());
      }
    });
  } else if (IEquals(type, "TabStrip")) {
    RegisterTabs(c);
  }
}

void clsLocIndepHotKeys::RegisterTabs(HostControl& strip) {
  HostTabs* tabs = nullptr;
  int count = 0;
  if (!RunStep([&] {
        tabs = &strip.Tabs();
        count = tabs->Count();
      })) {
    return;
  }
  for (int j = 1; j <= count; ++j) {
    RunStep([&] {
      if (const auto code = HotKeyCode(tabs->Item(j).Caption())) Register(*code, strip.TabIndex());
    });
  }
}

void clsLocIndepHotKeys::Register(std::int16_t code, std::int16_t tab_index) {
  if (count_ == std::numeric_limits<std::int16_t>::max()) {
    throw std::length_error("hot key table is full");
  }
  const auto slot = static_cast<std::size_t>(count_);
  if (codes_.size() - 1 == slot + 1) {
    codes_.resize(codes_.size() + kGrowth, 0);
    tab_indexes_.resize(tab_indexes_.size() + kGrowth, 0);
  }
  codes_[slot] = code;
  tab_indexes_[slot] = tab_index;
  ++count_;
}

}  // namespace veltrane
