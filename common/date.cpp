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

// The one- or two-digit number at `i`, moving past it; -1 when it has fewer
// than `least` digits or is larger than `most`.
int TwoDigits(std::string_view s, std::size_t& i, int least, int most) {
  int v = 0, n = 0;
  for (; n < 2 && i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++n, ++i) {
    v = v * 10 + (s[i] - '0');
  }
  return n >= least && v <= most ? v : -1;
}

// "h:mm", "h:mm:ss" or "h:mm:ss.fff" on a 24-hour clock, or when
// `twelve_hour_allowed` a 12-hour one followed by " AM" or " PM".
bool IsTimeOfDay(std::string_view s, bool twelve_hour_allowed) {
  std::size_t i = 0;
  const int hour = TwoDigits(s, i, 1, 23);
  if (hour < 0 || i >= s.size() || s[i++] != ':' || TwoDigits(s, i, 2, 59) < 0) return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (TwoDigits(s, i, 2, 59) < 0) return false;
    if (i < s.size() && s[i] == '.') {
      const std::size_t digits = ++i;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
      if (i == digits) return false;
    }
  }
  if (i == s.size()) return true;
  if (!twelve_hour_allowed || s[i] != ' ') return false;
  const std::string meridiem = Trim(s.substr(i));
  return (IEquals(meridiem, "AM") || IEquals(meridiem, "PM")) && hour >= 1 && hour <= 12;
}

Date ParseDayPart(std::string_view date_part) {
  std::vector<int> n;
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
  throw ConversionError("not a date");
}

}  // namespace

Date MakeDate(int year, unsigned month, unsigned day) {
  const Date d{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
  if (!d.ok()) throw ConversionError("not a calendar date");
  return d;
}

Date ParseDate(std::string_view text) {
  const std::string s = Trim(text);
  // The date is the text up to the first blank, or the "T" of an ISO time.
  const std::size_t cut = s.find_first_of(" T");
  const std::string_view date_part = std::string_view(s).substr(0, cut);
  const bool iso = date_part.find('/') == std::string_view::npos;
  try {
    const Date d = ParseDayPart(date_part);
    if (cut == std::string::npos) return d;
    // Only a time of day may follow, and it is dropped.
    if (s[cut] == 'T' ? iso && IsTimeOfDay(std::string_view(s).substr(cut + 1), false)
                      : IsTimeOfDay(Trim(std::string_view(s).substr(cut)), true)) {
      return d;
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
