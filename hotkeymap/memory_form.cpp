#include "hotkeymap/memory_form.h"

#include <stdexcept>

#include "common/errors.h"

namespace veltrane {
namespace {

template <class T>
const T& Member(const std::optional<T>& member, const char* name) {
  if (!member) throw MissingMemberError(name);
  return *member;
}

}  // namespace

MemoryTabs::MemoryTabs(const std::vector<std::string>& captions) {
  tabs_.reserve(captions.size());
  for (const std::string& caption : captions) tabs_.emplace_back(caption);
}

MemoryTab& MemoryTabs::Item(int index) {
  if (index < 1 || index > Count()) throw std::out_of_range("no tab " + std::to_string(index));
  return tabs_[static_cast<std::size_t>(index - 1)];
}

MemoryControl::MemoryControl(MemoryForm& form, std::string type_name)
    : form_(form), type_name_(std::move(type_name)) {}

MemoryControl& MemoryControl::WithCaption(std::string caption) {
  caption_ = std::move(caption);
  return *this;
}
MemoryControl& MemoryControl::WithTabIndex(std::int16_t tab_index) {
  tab_index_ = tab_index;
  return *this;
}
MemoryControl& MemoryControl::WithTag(std::string tag) {
  tag_ = std::move(tag);
  return *this;
}
MemoryControl& MemoryControl::WithVisible(bool visible) {
  visible_ = visible;
  return *this;
}
MemoryControl& MemoryControl::WithEnabled(bool enabled) {
  enabled_ = enabled;
  return *this;
}
MemoryControl& MemoryControl::WithSetFocus(bool accepts) {
  accepts_focus_ = accepts;
  return *this;
}
MemoryControl& MemoryControl::WithLocked(bool locked) {
  locked_ = locked;
  return *this;
}
MemoryControl& MemoryControl::WithListCount(std::int32_t count) {
  list_count_ = count;
  return *this;
}
MemoryControl& MemoryControl::WithListItemsCount(std::int32_t count) {
  list_items_count_ = count;
  return *this;
}
MemoryControl& MemoryControl::WithTabs(const std::vector<std::string>& captions) {
  tabs_.emplace(captions);
  return *this;
}

MemoryTab& MemoryControl::tab(int index) { return static_cast<MemoryTabs&>(Tabs()).Item(index); }

std::string MemoryControl::Caption() const { return Member(caption_, "Caption"); }
std::int16_t MemoryControl::TabIndex() const { return Member(tab_index_, "TabIndex"); }
std::string MemoryControl::Tag() const { return Member(tag_, "Tag"); }
bool MemoryControl::Visible() const { return Member(visible_, "Visible"); }
bool MemoryControl::Enabled() const { return Member(enabled_, "Enabled"); }
bool MemoryControl::Locked() const { return Member(locked_, "Locked"); }
std::int32_t MemoryControl::ListCount() const { return Member(list_count_, "ListCount"); }
std::int32_t MemoryControl::listitemscount() const {
  return Member(list_items_count_, "listitemscount");
}

void MemoryControl::SetFocus() {
  if (!Member(accepts_focus_, "SetFocus")) {
    throw std::runtime_error(type_name_ + " cannot take the focus");
  }
  form_.Activate(this);
}

HostTabs& MemoryControl::Tabs() {
  if (!tabs_) throw MissingMemberError("Tabs");
  return *tabs_;
}

MemoryControl& MemoryForm::Add(std::string type_name) {
  controls_.push_back(std::make_unique<MemoryControl>(*this, std::move(type_name)));
  return *controls_.back();
}

std::vector<HostControl*> MemoryForm::Controls() {
  std::vector<HostControl*> controls;
  controls.reserve(controls_.size());
  for (const auto& control : controls_) controls.push_back(control.get());
  return controls;
}

}  // namespace veltrane
