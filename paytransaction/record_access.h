// Positioning and reading the record sets a host hands over. Internal to
// the transaction library.
#pragma once

#include <string>

#include "common/database.h"

namespace veltrane {

// Moves to the first row; false when the set has no rows.
bool MoveToFirstRow(Recordset& rs);
// Finds the first row matching `criteria`, first moving to the first row
// unless the set is at its beginning or empty; false when none matches.
bool FindFirstRow(Recordset& rs, const std::string& criteria);

// The three states a text field is tested for: a Null field is neither
// empty nor non-empty, and prints as nothing.
bool IsEmptyText(const Value& v);
bool IsNonEmptyText(const Value& v);
// The field, or Null when it cannot be read.
Value FieldOrNull(Recordset& rs, const char* name) noexcept;

}  // namespace veltrane
