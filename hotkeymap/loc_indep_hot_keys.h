// Hot keys that work wherever the focus is: typing the letter underlined in a
// control's caption (the character after "&") moves the focus to that
// control, without Alt. The host makes one object per form, registers the
// form's controls once, and hands it every key press of the form. The object
// only reads the controls and moves the focus; it never clicks or changes a
// value.
//
// No operation lets an error reach the host: a step that fails (a member a
// control lacks, a refused SetFocus) is skipped and the next one runs.
//
// Ownership: forms and controls are borrowed for the length of one call; the
// object keeps no reference to them.
#pragma once

#include <cstdint>
#include <vector>

#include "hotkeymap/host_form.h"

namespace veltrane {

class clsLocIndepHotKeys {
 public:
  clsLocIndepHotKeys();

  // Registers every captioned control and every tab strip tab of the form whose caption has a
  // hot key, in collection order. Adds to what is registered already.
  void InitLocIndepHK(HostForm& frm) noexcept;

  // Registers one control as InitLocIndepHK would; a captioned control without "&" whose Tag is
  // "ch" gets the hot key "H".
  void AddHotKey(HostControl& c) noexcept;

  // Acts on one key press: unless the active control keeps the key, upper-cases KeyAscii and
  // moves the focus to the first registered control for it that can take it.
  void HandleLocIndepKeyPress(HostForm& frm, std::int16_t& KeyAscii) noexcept;

  // The registration slots: upper-case character codes and the TabIndex each belongs to; both
  // grow 25 slots at a time and always end with an empty slot.
  const std::vector<std::int16_t>& hot_key_codes() const { return codes_; }
  const std::vector<std::int16_t>& tab_indexes() const { return tab_indexes_; }
  // Registered hot keys; the next one goes into slot count().
  std::int16_t count() const { return count_; }

 private:
  void RegisterControl(HostControl& c, bool tag_ch_means_h);
  void RegisterTabs(HostControl& strip);
  void Register(std::int16_t code, std::int16_t tab_index);

  std::vector<std::int16_t> codes_;
  std::vector<std::int16_t> tab_indexes_;
  std::int16_t count_ = 0;
};

}  // namespace veltrane
