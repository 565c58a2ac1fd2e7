// The host's controls that the statements write into: the two-column
// statement list view, the statement selector and the sort list. A host
// overrides the members its control has; a member it leaves out raises
// MissingMemberError, which loses only that one step of a statement.
#pragma once

#include <string>

#include "common/errors.h"

namespace veltrane {

class StatementListView {
 public:
  virtual ~StatementListView() = default;

  // Called once by Init: the description column's caption and width, the
  // amount column's caption, alignment and width (widths as fractions).
  virtual void AddHeadings(const std::string&, double, const std::string&, int, double) {
    throw MissingMemberError("AddHeadings");
  }
  // Empties the view.
  virtual void Reset() { throw MissingMemberError("Reset"); }
  virtual int ListItemsCount() const { throw MissingMemberError("ListItemsCount"); }
  // Appends one row; `position` is always ListItemsCount() + 1.
  virtual void AddEntry(const std::string&, int, const std::string&) {
    throw MissingMemberError("AddEntry");
  }
  // Selects row `index` (1 is the first row).
  virtual void ListIndex(int) { throw MissingMemberError("ListIndex"); }
};

class StatementSelector {
 public:
  virtual ~StatementSelector() = default;

  virtual void Clear() { throw MissingMemberError("Clear"); }
  // Appends an entry; entries keep the order of the calls.
  virtual void AddItem(const std::string&) { throw MissingMemberError("AddItem"); }
  virtual int ListCount() const { throw MissingMemberError("ListCount"); }
  // Selects entry `index` (0 is the first).
  virtual void ListIndex(int) { throw MissingMemberError("ListIndex"); }
};

// Keeps its items in ascending alphabetical order; the statements sort every
// name list by adding the names and reading them back by index.
class SortList {
 public:
  virtual ~SortList() = default;

  virtual void Clear() { throw MissingMemberError("Clear"); }
  virtual void AddItem(const std::string&) { throw MissingMemberError("AddItem"); }
  virtual int ListCount() const { throw MissingMemberError("ListCount"); }
  // The item at 0-based `index`.
  virtual std::string List(int) const { throw MissingMemberError("List"); }
};

}  // namespace veltrane
