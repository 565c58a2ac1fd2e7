// Turns the Jet-dialect query and criteria texts of the components into
// SQLite SQL: "#3/1/04#" date literals become '2004-03-01' (the stored form
// of dates), the words True and False become 1 and 0. Quoted texts and
// bracketed or double-quoted names pass unchanged; SQLite reads [names].
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace veltrane {

struct TranslatedSql {
  std::string sql;
  // Lower-case alias -> lower-case column of each "Sum(column) As [alias]",
  // so a sum can be typed like the column it adds up.
  std::map<std::string, std::string> sum_aliases;
};

// Raises ConversionError for a date literal that is not a date, or an
// unterminated quote, bracket or date literal.
TranslatedSql TranslateJetSql(std::string_view text);

}  // namespace veltrane
