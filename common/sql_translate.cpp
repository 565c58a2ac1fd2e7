#include "common/sql_translate.h"

#include <cctype>
#include <regex>

#include "common/date.h"
#include "common/errors.h"
#include "common/text.h"

namespace veltrane {
namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Index just past the closing `close` of a run starting at `open_at`;
// a doubled closing character inside a quoted text stands for itself.
std::size_t SkipQuoted(std::string_view s, std::size_t open_at, char close) {
  for (std::size_t i = open_at + 1; i < s.size(); ++i) {
    if (s[i] != close) continue;
    if (close != ']' && i + 1 < s.size() && s[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  throw ConversionError("unterminated quote in query text");
}

}  // namespace

TranslatedSql TranslateJetSql(std::string_view s) {
  TranslatedSql out;
  out.sql.reserve(s.size() + 16);
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\'' || c == '"' || c == '[') {
      const std::size_t end = SkipQuoted(s, i, c == '[' ? ']' : c);
      out.sql.append(s.substr(i, end - i));
      i = end;
    } else if (c == '#') {
      const std::size_t end = s.find('#', i + 1);
      if (end == std::string_view::npos) throw ConversionError("unterminated date literal");
      out.sql += "'" + FormatIsoDate(ParseDate(s.substr(i + 1, end - i - 1))) + "'";
      i = end + 1;
    } else if (IsWordChar(c)) {
      std::size_t end = i;
      while (end < s.size() && IsWordChar(s[end])) ++end;
      const std::string_view word = s.substr(i, end - i);
      if (IEquals(word, "True")) out.sql += "1";
      else if (IEquals(word, "False")) out.sql += "0";
      else out.sql.append(word);
      i = end;
    } else {
      out.sql.push_back(c);
      ++i;
    }
  }

  static const std::regex kSumAlias(
      R"(sum\s*\(\s*\[?([A-Za-z_][A-Za-z0-9_]*)\]?\s*\)\s+as\s+\[?([A-Za-z_][A-Za-z0-9_]*)\]?)",
      std::regex::icase);
  for (std::sregex_iterator it(out.sql.begin(), out.sql.end(), kSumAlias), last; it != last; ++it) {
    out.sum_aliases[ToLower((*it)[2].str())] = ToLower((*it)[1].str());
  }
  return out;
}

}  // namespace veltrane
