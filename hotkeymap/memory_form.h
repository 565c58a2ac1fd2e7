// A simple in-memory form for hosts without a forms runtime of their own and
// for tests: a control is its type name plus the members it was given; a
// member it was not given raises MissingMemberError, as on a real host.
//
// Ownership: a MemoryForm owns its controls, a control owns its tabs. The
// references Add and tab() return, and the pointers Controls and
// ActiveControl return, stay valid as long as the form.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hotkeymap/host_form.h"

namespace veltrane {

class MemoryForm;

class MemoryTab : public HostTab {
 public:
  explicit MemoryTab(std::string caption) : caption_(std::move(caption)) {}
  std::string Caption() const override { return caption_; }
  void SetSelected(bool selected) override { selected_ = selected; }
  bool selected() const { return selected_; }

 private:
  std::string caption_;
  bool selected_ = false;
};

class MemoryTabs : public HostTabs {
 public:
  explicit MemoryTabs(const std::vector<std::string>& captions);
  int Count() const override { return static_cast<int>(tabs_.size()); }
  MemoryTab& Item(int index) override;

 private:
  std::vector<MemoryTab> tabs_;
};

class MemoryControl : public HostControl {
 public:
  // Made by MemoryForm::Add.
  MemoryControl(MemoryForm& form, std::string type_name);
  MemoryControl(const MemoryControl&) = delete;
  MemoryControl& operator=(const MemoryControl&) = delete;

  // Each gives the control one member (or changes its value) and returns the control.
  MemoryControl& WithCaption(std::string caption);
  MemoryControl& WithTabIndex(std::int16_t tab_index);
  MemoryControl& WithTag(std::string tag);
  MemoryControl& WithVisible(bool visible);
  MemoryControl& WithEnabled(bool enabled);
  // The SetFocus method; when `accepts` is false, a call raises instead of taking the focus.
  MemoryControl& WithSetFocus(bool accepts = true);
  MemoryControl& WithLocked(bool locked);
  MemoryControl& WithListCount(std::int32_t count);
  MemoryControl& WithListItemsCount(std::int32_t count);
  MemoryControl& WithTabs(const std::vector<std::string>& captions);

  // Tab `index` (from 1) of the control's tabs, to look at after a key press.
  MemoryTab& tab(int index);

  std::string TypeName() const override { return type_name_; }
  std::string Caption() const override;
  std::int16_t TabIndex() const override;
  std::string Tag() const override;
  bool Visible() const override;
  bool Enabled() const override;
  void SetFocus() override;  // makes this the form's active control
  bool Locked() const override;
  std::int32_t ListCount() const override;
  std::int32_t listitemscount() const override;
  HostTabs& Tabs() override;

 private:
  MemoryForm& form_;
  std::string type_name_;
  std::optional<std::string> caption_;
  std::optional<std::int16_t> tab_index_;
  std::optional<std::string> tag_;
  std::optional<bool> visible_;
  std::optional<bool> enabled_;
  std::optional<bool> accepts_focus_;
  std::optional<bool> locked_;
  std::optional<std::int32_t> list_count_;
  std::optional<std::int32_t> list_items_count_;
  std::optional<MemoryTabs> tabs_;
};

class MemoryForm : public HostForm {
 public:
  MemoryForm() = default;
  MemoryForm(const MemoryForm&) = delete;
  MemoryForm& operator=(const MemoryForm&) = delete;

  // Appends a control that has only its type name; give it members with the With* calls.
  MemoryControl& Add(std::string type_name);
  // Gives the focus to `control` (a control of this form, or nullptr for none).
  void Activate(MemoryControl* control) { active_ = control; }

  std::vector<HostControl*> Controls() override;
  HostControl* ActiveControl() override { return active_; }

 private:
  std::vector<std::unique_ptr<MemoryControl>> controls_;
  MemoryControl* active_ = nullptr;
};

}  // namespace veltrane
