// The forward-only and query record sets of both databases, over a
// database's own way of stepping through the rows of a query and of finding
// the first row that meets a condition. Internal to the database layer.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/recordset_columns.h"
#include "common/sql_translate.h"

namespace veltrane {

// The rows of one query as a database steps through them.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  virtual const std::vector<Column>& columns() const = 0;
  // Moves to the next row (the first, at the start); false after the last.
  // Raises DatabaseError.
  virtual bool Step() = 0;
  // Column `i` of the current row, read as its kind says.
  virtual Value Read(std::size_t i) = 0;
};

// A set that streams the rows of `cursor` (standing before its first row)
// once, in order, and holds none of them; closing it releases the cursor.
std::unique_ptr<Recordset> MakeForwardOnlySet(std::unique_ptr<RowCursor> cursor);

// The index, in the order the query gives its rows, of the first row of
// `sql` meeting a translated condition, when there is one.
using FirstMatch = std::function<std::optional<std::size_t>(const std::string& condition)>;

// A set that reads every row of `cursor` now and holds them; FindFirst
// translates its criteria to `dialect` and asks `first_match`.
std::unique_ptr<Recordset> MakeQuerySet(RowCursor& cursor, SqlDialect dialect, FirstMatch first_match);

// The query that numbers the rows of the translated query `sql` in the
// order it gives them and selects the number of the first meeting
// `condition`, as a column "veltrane_row" counted from 0.
std::string FirstMatchQuery(const std::string& sql, const std::string& condition);

}  // namespace veltrane
