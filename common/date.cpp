#include "common/date.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "common/errors.h"
#include "common/text.h"

namespace veltrane {
namespace {

// Splits the leading date part at `sep`; each part must be all digits.
bool SplitNumbers(std::string_view s, char sep, std::vector<int>& out) {
  out.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t end = s.find(sep, start);
    const std::string_view part = s.substr(start, end == std::string_view::npos ? s.npos : end - start);
    if (part.empty() || part.size() > 4) return false;
    int v = 0;
    for (char c : part) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
      v = v * 10 + (c - '0');
    }
    out.push_back(v);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace

Date MakeDate(int year, unsigned month, unsigned day) {
  const Date d{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
  if (!d.ok()) throw ConversionError("not a calendar date");
  return d;
}

Date ParseDate(std::string_view text) {
  const std::string s = Trim(text);
  // The date is the text up to the first blank or "T" of a time of day.
  std::string_view date_part = s;
  const std::size_t cut = date_part.find_first_of(" T");
  if (cut != std::string_view::npos) date_part = date_part.substr(0, cut);
  std::vector<int> n;
  try {
    if (SplitNumbers(date_part, '/', n) && n.size() == 3) {
      const std::size_t year_digits = date_part.size() - date_part.rfind('/') - 1;
      int year = n[2];
      if (year_digits <= 2) year += 2000;
      else if (year_digits != 4) throw ConversionError("bad year");
      return MakeDate(year, static_cast<unsigned>(n[0]), static_cast<unsigned>(n[1]));
    }
    if (SplitNumbers(date_part, '-', n) && n.size() == 3 && date_part.find('-') == 4) {
      return MakeDate(n[0], static_cast<unsigned>(n[1]), static_cast<unsigned>(n[2]));
    }
  } catch (const ConversionError&) {
  }
  throw ConversionError("not a date: '" + s + "'");
}

std::string FormatSqlDate(Date d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u/%u/%02d", static_cast<unsigned>(d.month()),
                static_cast<unsigned>(d.day()), static_cast<int>(d.year()) % 100);
  return buf;
}

std::string FormatIsoDate(Date d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(d.year()),
                static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  return buf;
}

}  // namespace veltrane
