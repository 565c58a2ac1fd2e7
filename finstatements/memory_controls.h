// Ready in-memory controls for hosts and tests: a list view that keeps its
// rows, a selector that keeps its entries, and a sort list.
#pragma once

#include <string>
#include <vector>

#include "finstatements/statement_controls.h"

namespace veltrane {

struct StatementRow {
  std::string description;
  std::string amount;
  friend bool operator==(const StatementRow&, const StatementRow&) = default;
};

class MemoryListView final : public StatementListView {
 public:
  void AddHeadings(const std::string& description, double description_width,
                   const std::string& amount, int amount_alignment, double amount_width) override;
  void Reset() override;
  int ListItemsCount() const override { return static_cast<int>(rows_.size()); }
  void AddEntry(const std::string& description, int position, const std::string& amount) override;
  void ListIndex(int index) override { selected_ = index; }

  const std::vector<StatementRow>& rows() const { return rows_; }
  // The selected row (1 is the first), 0 when none was selected.
  int selected() const { return selected_; }
  const std::string& description_heading() const { return description_heading_; }
  const std::string& amount_heading() const { return amount_heading_; }

 private:
  std::vector<StatementRow> rows_;
  int selected_ = 0;
  std::string description_heading_;
  std::string amount_heading_;
};

class MemorySelector final : public StatementSelector {
 public:
  void Clear() override;
  void AddItem(const std::string& item) override { items_.push_back(item); }
  int ListCount() const override { return static_cast<int>(items_.size()); }
  void ListIndex(int index) override { selected_ = index; }

  const std::vector<std::string>& items() const { return items_; }
  // The selected entry (0 is the first), -1 when none was selected.
  int selected() const { return selected_; }

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

// Ascending alphabetical order, letter case ignored; items equal but for
// case stay in the order they were added.
class MemorySortList final : public SortList {
 public:
  void Clear() override { items_.clear(); }
  void AddItem(const std::string& item) override;
  int ListCount() const override { return static_cast<int>(items_.size()); }
  // Raises std::out_of_range for an index outside the list.
  std::string List(int index) const override;

 private:
  std::vector<std::string> items_;
};

}  // namespace veltrane
