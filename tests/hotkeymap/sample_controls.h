// Controls as a host form typically has them: every member present, shown and enabled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hotkeymap/memory_form.h"

namespace veltrane::testing {

inline MemoryControl& AddControl(MemoryForm& form, const std::string& type,
                                 std::int16_t tab_index) {
  return form.Add(type)
      .WithTabIndex(tab_index)
      .WithTag("")
      .WithVisible(true)
      .WithEnabled(true)
      .WithSetFocus();
}

inline MemoryControl& AddCaptioned(MemoryForm& form, const std::string& type,
                                   const std::string& caption, std::int16_t tab_index) {
  return AddControl(form, type, tab_index).WithCaption(caption);
}

inline MemoryControl& AddTextBox(MemoryForm& form, std::int16_t tab_index, bool locked = false) {
  return AddControl(form, "vtText", tab_index).WithLocked(locked);
}

inline MemoryControl& AddTabStrip(MemoryForm& form, const std::vector<std::string>& tabs,
                                  std::int16_t tab_index) {
  return AddControl(form, "TabStrip", tab_index).WithTabs(tabs);
}

}  // namespace veltrane::testing
