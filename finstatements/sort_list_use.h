// How the statements use the host's sort list to sort a list of names.
#pragma once

#include <string>
#include <vector>

#include "common/text.h"
#include "finstatements/statement_controls.h"

namespace veltrane {

// Adds `name` unless an item equal to it, letter case ignored, is there.
inline void AddDistinct(SortList& list, const std::string& name) {
  for (int i = 0, n = list.ListCount(); i < n; ++i) {
    if (IEquals(list.List(i), name)) return;
  }
  list.AddItem(name);
}

// The items in the list's order.
inline std::vector<std::string> ListItems(const SortList& list) {
  std::vector<std::string> items;
  for (int i = 0, n = list.ListCount(); i < n; ++i) items.push_back(list.List(i));
  return items;
}

}  // namespace veltrane
