#include "paytransaction/record_access.h"

#include "common/step.h"

namespace veltrane {

bool MoveToFirstRow(Recordset& rs) {
  if (rs.RecordCount() == 0) return false;
  rs.MoveFirst();
  return true;
}

bool FindFirstRow(Recordset& rs, const std::string& criteria) {
  if (!rs.IsBOF() && rs.RecordCount() != 0) rs.MoveFirst();
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
