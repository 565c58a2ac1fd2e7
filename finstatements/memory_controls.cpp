#include "finstatements/memory_controls.h"

#include <algorithm>
#include <stdexcept>

#include "common/text.h"

namespace veltrane {

void MemoryListView::AddHeadings(const std::string& description, double, const std::string& amount,
                                 int, double) {
  description_heading_ = description;
  amount_heading_ = amount;
}

void MemoryListView::Reset() {
  rows_.clear();
  selected_ = 0;
}

void MemoryListView::AddEntry(const std::string& description, int, const std::string& amount) {
  rows_.push_back({description, amount});
}

void MemorySelector::Clear() {
  items_.clear();
  selected_ = -1;
}

void MemorySortList::AddItem(const std::string& item) {
  const std::string key = ToLower(item);
  // After every item that sorts before it or equal to it, so equal items
  // keep the order of their arrival.
  const auto at = std::upper_bound(items_.begin(), items_.end(), key,
                                   [](const std::string& k, const std::string& existing) {
                                     return k < ToLower(existing);
                                   });
  items_.insert(at, item);
}

std::string MemorySortList::List(int index) const {
  if (index < 0 || index >= ListCount()) throw std::out_of_range("sort list index");
  return items_[static_cast<std::size_t>(index)];
}

}  // namespace veltrane
