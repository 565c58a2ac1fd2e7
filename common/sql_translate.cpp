#include "common/sql_translate.h"

#include <list>
#include <unordered_map>
#include <vector>

#include "common/date.h"
#include "common/errors.h"
#include "common/text.h"

namespace veltrane {
namespace {

// One pass splits the text into tokens; everything after it looks only at
// tokens, so the inside of a quoted text or name is never read as SQL.
enum class Kind {
  kBlank,
  kWord,  // letters, digits and "_"
  kText,  // '...'
  kName,  // [...], "..." or `...`
  kDate,  // #...#
  kMark,  // any other single character
};

struct Token {
  Kind kind;
  std::string_view text;
};

// ASCII only, so the user's locale cannot change how a text is split.
bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Index just past the `close` that ends the run opened at `open_at`; where
// `doubled` a doubled `close` stands for itself.
std::size_t QuotedEnd(std::string_view s, std::size_t open_at, char close, bool doubled) {
  for (std::size_t i = open_at + 1; i < s.size(); ++i) {
    if (s[i] != close) continue;
    if (doubled && i + 1 < s.size() && s[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  throw ConversionError("unterminated quote in query text");
}

std::vector<Token> Tokenize(std::string_view s) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    const char next = i + 1 < s.size() ? s[i + 1] : '\0';
    Kind kind = Kind::kMark;
    std::size_t end = i + 1;
    if (IsBlank(c)) {
      kind = Kind::kBlank;
      while (end < s.size() && IsBlank(s[end])) ++end;
    } else if (IsWordChar(c)) {
      kind = Kind::kWord;
      while (end < s.size() && IsWordChar(s[end])) ++end;
    } else if (c == '\'') {
      kind = Kind::kText;
      end = QuotedEnd(s, i, c, true);
    } else if (c == '"' || c == '`') {
      kind = Kind::kName;
      end = QuotedEnd(s, i, c, true);
    } else if (c == '[') {
      kind = Kind::kName;
      end = QuotedEnd(s, i, ']', false);
    } else if (c == '#') {
      kind = Kind::kDate;
      end = s.find('#', i + 1);
      if (end == std::string_view::npos) throw ConversionError("unterminated date literal in query text");
      ++end;
    } else if ((c == '-' && next == '-') || (c == '/' && next == '*')) {
      throw ConversionError("comment in query text");
    }
    tokens.push_back({kind, s.substr(i, end - i)});
    i = end;
  }
  return tokens;
}

bool IsMark(const Token& t, char c) { return t.kind == Kind::kMark && t.text[0] == c; }
bool IsWord(const Token& t, std::string_view w) { return t.kind == Kind::kWord && IEquals(t.text, w); }
bool IsName(const Token& t) { return t.kind == Kind::kWord || t.kind == Kind::kName; }

// The name a word or quoted name stands for, in lower case.
std::string NameOf(const Token& t) {
  if (t.kind == Kind::kWord) return ToLower(t.text);
  const char open = t.text.front();
  const std::string_view inner = t.text.substr(1, t.text.size() - 2);
  if (open == '[') return ToLower(inner);
  std::string name;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    name.push_back(inner[i]);
    if (inner[i] == open) ++i;  // the second of a doubled quote
  }
  return ToLower(name);
}

// Records each "Sum ( column ) As alias", the column possibly written
// table.column; `t` holds the tokens without blanks.
void FindSumAliases(const std::vector<Token>& t, std::map<std::string, std::string>& aliases) {
  for (std::size_t i = 0; i + 5 < t.size(); ++i) {
    if (!IsWord(t[i], "Sum") || !IsMark(t[i + 1], '(') || !IsName(t[i + 2])) continue;
    std::size_t j = i + 2;
    while (j + 2 < t.size() && IsMark(t[j + 1], '.') && IsName(t[j + 2])) j += 2;
    if (j + 3 < t.size() && IsMark(t[j + 1], ')') && IsWord(t[j + 2], "As") && IsName(t[j + 3])) {
      aliases[NameOf(t[j + 3])] = NameOf(t[j]);
      i = j + 3;
    }
  }
}

void AppendQuotedName(std::string& out, std::string_view name, SqlDialect dialect) {
  out.push_back('"');
  for (char c : dialect == SqlDialect::kPostgresql ? ToLower(name) : std::string(name)) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

TranslatedSql Translate(std::string_view s, SqlDialect dialect) {
  const bool pg = dialect == SqlDialect::kPostgresql;
  // The server would end the text at a NUL, inside a quoted text perhaps.
  if (pg && s.find('\0') != std::string_view::npos) throw ConversionError("NUL character in query text");
  const std::vector<Token> tokens = Tokenize(s);
  TranslatedSql out;
  out.sql.reserve(s.size() + 16);
  std::vector<Token> solid;
  solid.reserve(tokens.size());
  const Token* previous = nullptr;
  for (const Token& t : tokens) {
    if (t.kind != Kind::kBlank) solid.push_back(t);
    if (pg && (t.kind == Kind::kText || t.kind == Kind::kName) && previous != nullptr &&
        (previous->kind == Kind::kWord || IsMark(*previous, '&'))) {
      out.sql.push_back(' ');
    }
    previous = &t;
    if (t.kind == Kind::kDate) {
      const std::string day = FormatIsoDate(ParseDate(t.text.substr(1, t.text.size() - 2)));
      out.sql += pg ? "DATE '" + day + "'" : "'" + day + "'";
    } else if (IsWord(t, "True")) {
      out.sql += pg ? "TRUE" : "1";
    } else if (IsWord(t, "False")) {
      out.sql += pg ? "FALSE" : "0";
    } else if (pg && t.kind == Kind::kName) {
      AppendQuotedName(out.sql, NameOf(t), dialect);
    } else if (pg && IsMark(t, '$')) {
      throw ConversionError("\"$\" in query text");
    } else {
      if (IsMark(t, ';')) out.statement_ends.push_back(out.sql.size());
      out.sql.append(t.text);
    }
  }
  FindSumAliases(solid, out.sum_aliases);
  return out;
}

// The most recently used translations. Entries are few and short, so the
// cache stays small whatever texts pass through it.
class TranslationCache {
 public:
  static constexpr std::size_t kEntries = 256;
  static constexpr std::size_t kLongestText = 4096;

  // The translation of `text`, from the cache or made and kept.
  TranslatedSql Get(std::string_view text, SqlDialect dialect) {
    if (text.size() > kLongestText) return Translate(text, dialect);
    if (const auto hit = index_.find(text); hit != index_.end()) {
      entries_.splice(entries_.begin(), entries_, hit->second);
      return hit->second->second;
    }
    TranslatedSql made = Translate(text, dialect);  // a text that fails is not kept
    entries_.emplace_front(std::string(text), made);
    index_.emplace(entries_.front().first, entries_.begin());
    if (entries_.size() > kEntries) {
      index_.erase(entries_.back().first);
      entries_.pop_back();
    }
    return made;
  }

 private:
  using Entry = std::pair<std::string, TranslatedSql>;
  std::list<Entry> entries_;  // most recently used first
  // Keys view the texts held by `entries_`, whose nodes never move.
  std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
};

}  // namespace

TranslatedSql TranslateJetSql(std::string_view text, SqlDialect dialect) {
  // One cache per thread and dialect: no locking, and two databases share
  // it safely because a translation depends only on the text.
  thread_local TranslationCache caches[2];
  return caches[dialect == SqlDialect::kPostgresql ? 1 : 0].Get(text, dialect);
}

std::vector<std::string> TranslatedSql::Statements() const {
  std::vector<std::string> statements;
  std::size_t from = 0;
  const auto add = [&](std::size_t to) {
    std::string statement = Trim(std::string_view(sql).substr(from, to - from));
    if (!statement.empty()) statements.push_back(std::move(statement));
    from = to + 1;
  };
  for (const std::size_t end : statement_ends) add(end);
  add(sql.size());
  return statements;
}

std::string QuotedName(std::string_view name, SqlDialect dialect) {
  std::string out;
  AppendQuotedName(out, name, dialect);
  return out;
}

}  // namespace veltrane
