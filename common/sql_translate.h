// Turns the Jet-dialect query and criteria texts of the components into the
// SQL of a database: SQLite's or PostgreSQL's.
//
// For SQLite, "#3/1/04#" date literals become '2004-03-01' (the stored form
// of dates) and the words True and False become 1 and 0; names pass as
// written, since SQLite reads [names] and compares names without regard to
// letter case.
//
// For PostgreSQL, date literals become DATE '2004-03-01', True and False
// TRUE and FALSE, and every bracketed, double-quoted or back-quoted name
// "name in lower case": the server folds names it reads bare to lower case
// and keeps quoted ones as written, so the schema is made in lower case and
// a name matches in whatever letter case a text writes it.
//
// In both, quoted texts ('...' with '' for a quote) pass unchanged and are
// never read as SQL.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

enum class SqlDialect { kSqlite, kPostgresql };

struct TranslatedSql {
  std::string sql;
  // Lower-case alias -> lower-case column of each "Sum(column) As alias"
  // (names bare or bracketed, the column possibly qualified by its table),
  // so a sum can be typed like the column it adds up.
  std::map<std::string, std::string> sum_aliases;
  // Offsets in `sql` of each ";" that ends a statement.
  std::vector<std::size_t> statement_ends;

  // The statements of `sql`, each without its ";", blank ones left out.
  std::vector<std::string> Statements() const;
};

// Raises ConversionError for a date literal that is not a date, an
// unterminated quote, bracket or date literal, or an SQL comment ("--",
// "/*"), which Jet texts do not have and which would hide the rest of the
// text from the database. For PostgreSQL it also refuses a NUL character
// (where the server would end the text) and "$" outside a quoted text (a
// parameter or the start of a dollar-quoted text there), and keeps a quoted
// text or name apart from a word or "&" just before it (E'...' and U&"..."
// would read escapes in it).
//
// Translations are kept in a small cache (the most recently used few
// hundred texts of each thread and dialect), since the same texts recur on
// every paycheck; a translation depends on nothing but the text and the
// dialect.
TranslatedSql TranslateJetSql(std::string_view text, SqlDialect dialect = SqlDialect::kSqlite);

// `name` quoted as an identifier of `dialect`, a '"' in it doubled; in lower
// case for PostgreSQL, as the translation writes names.
std::string QuotedName(std::string_view name, SqlDialect dialect);

}  // namespace veltrane
