#include "common/recordset_columns.h"

#include <optional>

#include "common/errors.h"
#include "common/text.h"

namespace veltrane {

ColumnKind KindOfDeclType(std::string_view declared) {
  // A server names a type of a schema off its search path with the schema.
  if (const std::size_t dot = declared.rfind('.'); dot != std::string_view::npos) declared.remove_prefix(dot + 1);
  const std::string d = ToUpper(declared);
  if (d == "CURRENCY") return ColumnKind::kMoney;
  if (d == "DATE") return ColumnKind::kDate;
  if (d == "BOOLEAN") return ColumnKind::kBool;
  if (d.find("INT") != std::string::npos) return ColumnKind::kInteger;
  if (d.find("REAL") != std::string::npos || d.find("DOUB") != std::string::npos ||
      d.find("FLOA") != std::string::npos) {
    return ColumnKind::kReal;
  }
  if (d.find("TEXT") != std::string::npos || d.find("CHAR") != std::string::npos) return ColumnKind::kText;
  return ColumnKind::kPlain;
}

std::size_t ColumnIndex(const std::vector<Column>& cols, std::string_view name) {
  // Callers mostly spell a field as the schema does; try that first.
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (cols[i].name == name) return i;
  }
  for (std::size_t i = 0; i < cols.size(); ++i) {
    if (IEquals(cols[i].name, name)) return i;
  }
  throw DatabaseError("no field named '" + std::string(name) + "'");
}

std::size_t FieldIndex::Of(const std::vector<Column>& cols, std::string_view name) {
  const std::size_t n = known_.size();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t at = next_ + k < n ? next_ + k : next_ + k - n;
    if (known_[at].first == name) {
      next_ = at + 1 < n ? at + 1 : 0;
      return known_[at].second;
    }
  }
  const std::size_t i = ColumnIndex(cols, name);
  known_.emplace_back(std::string(name), i);
  next_ = 0;
  return i;
}

Value StoredForm(const Value& v, ColumnKind kind) {
  if (v.IsNull()) return v;
  switch (kind) {
    case ColumnKind::kMoney: return v.ToMoney();
    case ColumnKind::kDate: return v.ToDate();
    case ColumnKind::kBool: return v.ToBool();
    case ColumnKind::kInteger: return v.ToInt();
    case ColumnKind::kReal: return v.ToDouble();
    case ColumnKind::kText: return v.ToText();
    case ColumnKind::kPlain: break;
  }
  return v;
}

namespace {

std::optional<Date> IsoDay(std::string_view t) {
  if (t.size() != 10) return std::nullopt;
  int digits[8];
  int d = 0;
  for (int k = 0; k < 10; ++k) {
    if (k == 4 || k == 7) {
      if (t[k] != '-') return std::nullopt;
    } else if (t[k] >= '0' && t[k] <= '9') {
      digits[d++] = t[k] - '0';
    } else {
      return std::nullopt;
    }
  }
  const Date day{std::chrono::year{digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3]},
                 std::chrono::month{static_cast<unsigned>(digits[4] * 10 + digits[5])},
                 std::chrono::day{static_cast<unsigned>(digits[6] * 10 + digits[7])}};
  if (!day.ok()) return std::nullopt;
  return day;
}

}  // namespace

Date ReadStoredDay(std::string_view text) {
  if (const auto day = IsoDay(text)) return *day;
  return ParseDate(text);
}

RecordsetSource SourceOf(std::string_view source, RecordsetType type) {
  std::string text = Trim(source);
  if (text.size() >= 6 && IEquals(text.substr(0, 6), "SELECT")) {
    if (type == RecordsetType::kTable) throw DatabaseError("a query cannot be opened as a table");
    return {true, std::move(text)};
  }
  if (text.size() >= 2 && ((text.front() == '[' && text.back() == ']') ||
                           (text.front() == '"' && text.back() == '"'))) {
    text = text.substr(1, text.size() - 2);
  }
  return {false, std::move(text)};
}

}  // namespace veltrane
