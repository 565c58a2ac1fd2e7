// What the record sets of both databases share about columns: the logical
// kind a declared type stands for, finding a field by the name a caller
// writes, the stored form of an assigned value, and telling a query from a
// table name. Internal to the database layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/database.h"

namespace veltrane {

// The logical type a declared column type stands for: CURRENCY is money,
// DATE a day, BOOLEAN a flag; names holding INT, REAL/DOUB/FLOA and
// TEXT/CHAR are whole numbers, doubles and texts (SQLite's declared types
// and PostgreSQL's type names alike, a schema before the name ignored).
enum class ColumnKind { kPlain, kMoney, kDate, kBool, kInteger, kReal, kText };
ColumnKind KindOfDeclType(std::string_view declared);

struct Column {
  std::string name;
  ColumnKind kind;
};

// The index of the column named `name`, letter case ignored; raises
// DatabaseError when there is none.
std::size_t ColumnIndex(const std::vector<Column>& cols, std::string_view name);

// The column of each field name as callers spell it, learnt on its first
// use. A walk reads the same few fields of every row in the same order, so
// the name after the last one found is tried first: a read compares one
// name instead of searching the columns.
class FieldIndex {
 public:
  std::size_t Of(const std::vector<Column>& cols, std::string_view name);

 private:
  std::vector<std::pair<std::string, std::size_t>> known_;
  std::size_t next_ = 0;  // where the next name is looked for first
};

// The value stored for `v` in a column of `kind`: money, a day, a flag, a
// whole number, a double or a text; Null stays Null. Raises
// ConversionError, for a value the column cannot hold.
Value StoredForm(const Value& v, ColumnKind kind);

// A stored day: "yyyy-mm-dd" read straight from its digits; anything else
// (a time of day, another form, an impossible day) is left to ParseDate,
// which accepts or refuses it.
Date ReadStoredDay(std::string_view text);

// What OpenRecordset was given: an SQL SELECT text, or the name of a table
// (brackets or double quotes around it taken off).
struct RecordsetSource {
  bool is_query;
  std::string text;
};
// Raises DatabaseError for a query asked for as a table.
RecordsetSource SourceOf(std::string_view source, RecordsetType type);

}  // namespace veltrane
