// Turns the Jet-dialect query and criteria texts of the components into
// SQLite SQL: "#3/1/04#" date literals become '2004-03-01' (the stored form
// of dates), the words True and False become 1 and 0. Quoted texts ('...'
// with '' for a quote) and bracketed, double-quoted or back-quoted names
// pass unchanged and are never read as SQL; SQLite reads [names].
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace veltrane {

struct TranslatedSql {
  std::string sql;
  // Lower-case alias -> lower-case column of each "Sum(column) As alias"
  // (names bare or bracketed, the column possibly qualified by its table),
  // so a sum can be typed like the column it adds up.
  std::map<std::string, std::string> sum_aliases;
};

// Raises ConversionError for a date literal that is not a date, an
// unterminated quote, bracket or date literal, or an SQL comment ("--",
// "/*"), which Jet texts do not have and which would hide the rest of the
// text from SQLite.
//
// Translations are kept in a small cache (the most recently used few
// hundred texts of each thread), since the same texts recur on every
// paycheck; a translation depends on nothing but the text.
TranslatedSql TranslateJetSql(std::string_view text);

}  // namespace veltrane
