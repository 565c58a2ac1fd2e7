#include "host/household/input_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "host/household/fault.h"

namespace veltrane::household {
namespace {

// Length of the UTF-8 sequence at `i` (shortest form, no surrogates, at
// most U+10FFFF), or 0 when the bytes there are not one.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) {
    return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u;
  };
  const auto tail = [&](std::size_t k) { return (byte(k) & 0xC0u) == 0x80u; };
  const unsigned b = byte(i);
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return tail(i + 1) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    const unsigned lo = b == 0xE0 ? 0xA0 : 0x80, hi = b == 0xED ? 0x9F : 0xBF;
    return byte(i + 1) >= lo && byte(i + 1) <= hi && tail(i + 2) ? 3 : 0;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    const unsigned lo = b == 0xF0 ? 0x90 : 0x80, hi = b == 0xF4 ? 0x8F : 0xBF;
    return byte(i + 1) >= lo && byte(i + 1) <= hi && tail(i + 2) && tail(i + 3) ? 4 : 0;
  }
  return 0;
}

// C0 controls, DEL, and the C1 controls U+0080 to U+009F (C2 80 to C2 9F).
bool IsControlAt(std::string_view s, std::size_t i, std::size_t length) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (length == 1) return b < 0x20 || b == 0x7F;
  return length == 2 && b == 0xC2 && static_cast<unsigned char>(s[i + 1]) <= 0x9F;
}

[[noreturn]] void Fail(std::string_view field, std::string_view text, std::string_view fix) {
  throw Fault(std::string(field), Quoted(text) + " " + std::string(fix));
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// A name or text is stored and later printed as it is, so between the
// blanks around it it must be plain text: one line, UTF-8, no control
// characters (a terminal would obey them).
void CheckPlainText(std::string_view field, std::string_view text, std::string_view one_line_fix) {
  const std::string inner = Trim(text);
  if (HasLineBreak(inner)) Fail(field, text, one_line_fix);
  for (std::size_t i = 0; i < inner.size();) {
    const std::size_t length = Utf8Length(inner, i);
    if (length == 0) Fail(field, text, "is not valid UTF-8 text; give it as plain text");
    if (IsControlAt(inner, i, length))
      Fail(field, text, "holds a control character; give it as plain text");
    i += length;
  }
}

}  // namespace

// The text as it may be shown on a terminal: controls and bytes that are
// not UTF-8 are written as \xNN, so a message never carries them raw.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8Length(text, i);
    if (length == 0 || IsControlAt(text, i, length)) {
      for (std::size_t k = 0; k < std::max<std::size_t>(length, 1); ++k) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[i + k]));
        out += hex;
      }
      i += std::max<std::size_t>(length, 1);
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out + "'";
}

Money ReadAmount(std::string_view field, std::string_view text) {
  Money amount;
  try {
    amount = ParseAmount(text);
  } catch (const OutOfRangeError&) {
    Fail(field, text, "is too large for an amount");
  } catch (const ConversionError&) {
    Fail(field, text, "is not an amount; write dollars as decimal text, like 12.50");
  }
  if (amount < Money()) Fail(field, text, "is negative; give an amount of 0 or more");
  return amount;
}

std::string ReadPercent(std::string_view field, std::string_view text) {
  std::string number = Trim(text);
  if (number.ends_with('%')) number = Trim(std::string_view(number).substr(0, number.size() - 1));
  double rate = 0;
  try {
    rate = ParseNumber(number);
  } catch (const ConversionError&) {
    Fail(field, text, "is not a percentage; write it like 1.5 for 1.5%");
  }
  if (!std::isfinite(rate) || rate < 0 || rate > 100)
    Fail(field, text, "is not a percentage from 0 to 100");
  return number;
}

Date ReadDate(std::string_view field, std::string_view text) {
  Date d;
  try {
    d = ParseDate(text);
  } catch (const ConversionError&) {
    Fail(field, text, "is not a date; write it like 3/1/2004 or 2004-03-01");
  }
  const int year = static_cast<int>(d.year());
  if (year < 2000 || year > 2099)
    Fail(field, text, "is outside the years 2000 to 2099 that payroll dates may have");
  return d;
}

void RequireOrder(Date from, Date to) {
  if (from > to)
    throw Fault("from",
                FieldRef("from") + " is after " + FieldRef("to") + "; give the earlier day first");
}

float ReadHours(std::string_view field, std::string_view text) {
  return ReadHoursUpTo(field, text, 24);
}

float ReadHoursUpTo(std::string_view field, std::string_view text, double most) {
  double hours = 0;
  try {
    hours = ParseNumber(text);
  } catch (const ConversionError&) {
    Fail(field, text, "is not a number of hours; write it like 7.5");
  }
  if (!std::isfinite(hours) || hours < 0 || hours > most) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%g", most);
    Fail(field, text, std::string("is not a number of hours from 0 to ") + limit);
  }
  return static_cast<float>(hours);
}

bool ReadYesNo(std::string_view field, std::string_view text) {
  const std::string t = Trim(text);
  if (IEquals(t, "yes") || IEquals(t, "true")) return true;
  if (IEquals(t, "no") || IEquals(t, "false")) return false;
  Fail(field, text, "is neither yes nor no");
}

std::int64_t ReadWholeNumber(std::string_view field, std::string_view text, std::int64_t lo,
                             std::int64_t hi) {
  // Only digits: a person who types 2.5 or 1e1 allowances has made a slip.
  const std::string t = Trim(text);
  if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos) {
    try {
      return ParseWholeNumber(t, lo, hi);
    } catch (const ConversionError&) {
    }
  }
  Fail(field, text,
       "is not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
}

std::string ReadAssistantName(std::string_view text) {
  const std::string name = Trim(text);
  if (name.empty())
    throw Fault("name", "the assistant's name is empty; give a name such as \"Ann Lee\"");
  CheckPlainText("name", text, "holds a line break; give the name on one line");
  if (IEquals(name, kAllAssistants)) {
    Fail("name", text, "stands for every assistant in the statements; choose another name");
  }
  return name;
}

int ReadPayPeriod(std::string_view field, std::string_view text) {
  if (const auto code = PayPeriodCode(Trim(text))) return *code;
  std::string names;
  for (int code = 0; code < kPayPeriodCount; ++code) {
    names += (code == 0 ? "" : ", ") + std::string(PayPeriodName(code));
  }
  Fail(field, text, "is not a pay period; use one of " + names);
}

std::string ReadFilingStatus(std::string_view field, std::string_view text) {
  const std::string t = Trim(text);
  for (std::string_view status : {kFilingSingle, kFilingMarried, kFilingHeadOfHousehold}) {
    if (IEquals(t, status)) return std::string(status);
  }
  Fail(field, text, "is not a filing status; use Single, Married or Head of Household");
}

std::string ReadText(std::string_view field, std::string_view text) {
  CheckPlainText(field, text, "holds a line break; give it on one line");
  return Trim(text);
}

std::string ReadOutputName(std::string_view field, std::string_view text) {
  if (text.empty()) throw Fault(std::string(field), "give the name of a file or folder");
  if (text.front() == '-') {
    throw Fault(std::string(field), Quoted(text) +
                                        " begins with \"-\", which reads as an option; write " +
                                        Quoted("./" + std::string(text)) + " for that name");
  }
  return std::string(text);
}

}  // namespace veltrane::household
