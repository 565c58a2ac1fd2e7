#include "paytransaction/record_access.h"

#include "common/step.h"

namespace veltrane {

// A set before its first row and after its last has no rows. Asking that,
// rather than the row count, costs nothing on a large table.
bool MoveToFirstRow(Recordset& rs) {
  if (rs.IsBOF() && rs.IsEOF()) return false;
  rs.MoveFirst();
  return true;
}

bool FindFirstRow(Recordset& rs, const std::string& criteria) {
  if (!rs.IsBOF()) rs.MoveFirst();
  rs.FindFirst(criteria);
  return !rs.NoMatch();
}

bool IsEmptyText(const Value& v) { return !v.IsNull() && v.ToText().empty(); }
bool IsNonEmptyText(const Value& v) { return !v.IsNull() && !v.ToText().empty(); }

Value FieldOrNull(Recordset& rs, const char* name) noexcept {
  Value v;
  RunStep([&] { v = rs.Field(name); });
  return v;
}

}  // namespace veltrane
