// The query translator: a name inside a quoted text never changes the
// translation outside it. The queries are those the components build, with
// the name put in through QuoteName; each is translated with the fuzzed
// name and with a plain one, and the two must differ only in the quoted
// name, with the same sum columns. Any text at all is translated or refused
// (ConversionError), the same way each time. Both dialects are checked; the
// PostgreSQL one refuses any text holding a NUL, a name's included.
//
// Input: the name; also the whole input as a query text.
#include <optional>

#include "common/database.h"
#include "common/errors.h"
#include "common/sql_translate.h"
#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

struct Template {
  const char* before;  // text before the quoted name
  const char* after;   // text after it
};

constexpr Template kQueries[] = {
    {"SELECT Sum(RegHours) As [RegTot] FROM [Work Journal] WHERE [Name]='",
     "' AND [PaidFor]= False AND [TimeInDate] >=#3/1/04# and [TimeInDate] <=#3/7/04#"},
    {"SELECT Sum(gross_pay) As [GrossYTD] FROM [Payment Journal] WHERE [payee]='",
     "' AND [paid]= True AND [void] = False AND [end_period]>=#1/1/04# AND [end_period] "
     "<=#12/31/04#"},
    {"SELECT Count(ID) AS Checks, Sum(gross_pay) AS Gross FROM [Payment Journal] WHERE "
     "[payee]='",
     "' AND Void=False"},
    {"Name='", "'"},
    {"UPDATE [Work Journal] SET PaidFor=True WHERE [Name]='", "' AND [TimeInDate] <=#3/7/04#"},
};

constexpr std::string_view kPlainName = "Q";

std::optional<TranslatedSql> TryTranslate(std::string_view text, SqlDialect dialect) {
  try {
    return TranslateJetSql(text, dialect);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

bool Same(const std::optional<TranslatedSql>& a, const std::optional<TranslatedSql>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->sql == b->sql && a->sum_aliases == b->sum_aliases);
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = AsText(data, size);

  for (const SqlDialect dialect : {SqlDialect::kSqlite, SqlDialect::kPostgresql}) {
    // As a name.
    const bool refused = dialect == SqlDialect::kPostgresql && input.find('\0') != std::string_view::npos;
    const std::string quoted = "'" + QuoteName(input) + "'";
    for (const Template& t : kQueries) {
      if (refused) break;
      const std::string plain_query =
          std::string(t.before) + QuoteName(kPlainName) + std::string(t.after);
      const std::optional<TranslatedSql> plain = TryTranslate(plain_query, dialect);
      Require(plain.has_value(), "the query with a plain name translates", plain_query);
      const std::string plain_quoted = "'" + std::string(kPlainName) + "'";
      const std::size_t at = plain->sql.find(plain_quoted);
      Require(at != std::string::npos && at == plain->sql.rfind(plain_quoted),
              "the plain name stands once in its translation", plain->sql);

      std::string expected = plain->sql;
      expected.replace(at, plain_quoted.size(), quoted);
      const std::optional<TranslatedSql> named =
          TryTranslate(std::string(t.before) + QuoteName(input) + std::string(t.after), dialect);
      Require(named.has_value(), "a quoted name never makes a query untranslatable", input);
      Require(named->sql == expected, "a quoted name passes unchanged and alone", input);
      Require(named->sum_aliases == plain->sum_aliases, "a quoted name never adds a sum column",
              input);
    }

    // As a query.
    const std::optional<TranslatedSql> first = TryTranslate(input, dialect);
    Require(Same(first, TryTranslate(input, dialect)), "a query translates the same each time", input);
  }
  return 0;
}

}  // namespace veltrane::fuzz
