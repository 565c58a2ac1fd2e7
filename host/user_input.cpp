#include "host/user_input.h"

#include <cmath>
#include <cstdio>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "host/host_errors.h"

namespace veltrane::host {
namespace {

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

[[noreturn]] void Fail(std::string_view what, std::string_view text, std::string_view fix) {
  throw UserError(std::string(what) + ": " + Quoted(text) + " " + std::string(fix));
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

Money ReadAmount(std::string_view what, std::string_view text) {
  Money amount;
  try {
    amount = ParseAmount(text);
  } catch (const ConversionError&) {
    Fail(what, text, "is not an amount; write dollars as decimal text, like 12.50");
  }
  if (amount < Money()) Fail(what, text, "is negative; give an amount of 0 or more");
  return amount;
}

std::string ReadPercent(std::string_view what, std::string_view text) {
  std::string number = Trim(text);
  if (number.ends_with('%')) number = Trim(std::string_view(number).substr(0, number.size() - 1));
  double rate = 0;
  try {
    rate = ParseNumber(number);
  } catch (const ConversionError&) {
    Fail(what, text, "is not a percentage; write it like 1.5 for 1.5%");
  }
  if (!std::isfinite(rate) || rate < 0 || rate > 100)
    Fail(what, text, "is not a percentage from 0 to 100");
  return number;
}

Date ReadDate(std::string_view what, std::string_view text) {
  Date d;
  try {
    d = ParseDate(text);
  } catch (const ConversionError&) {
    Fail(what, text, "is not a date; write it like 3/1/2004 or 2004-03-01");
  }
  const int year = static_cast<int>(d.year());
  if (year < 2000 || year > 2099)
    Fail(what, text, "is outside the years 2000 to 2099 that payroll dates may have");
  return d;
}

float ReadHours(std::string_view what, std::string_view text) {
  return ReadHoursUpTo(what, text, 24);
}

float ReadHoursUpTo(std::string_view what, std::string_view text, double most) {
  double hours = 0;
  try {
    hours = ParseNumber(text);
  } catch (const ConversionError&) {
    Fail(what, text, "is not a number of hours; write it like 7.5");
  }
  if (!std::isfinite(hours) || hours < 0 || hours > most) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%g", most);
    Fail(what, text, std::string("is not a number of hours from 0 to ") + limit);
  }
  return static_cast<float>(hours);
}

bool ReadYesNo(std::string_view what, std::string_view text) {
  const std::string t = Trim(text);
  if (IEquals(t, "yes") || IEquals(t, "true")) return true;
  if (IEquals(t, "no") || IEquals(t, "false")) return false;
  Fail(what, text, "is neither yes nor no");
}

std::int64_t ReadWholeNumber(std::string_view what, std::string_view text, std::int64_t lo,
                             std::int64_t hi) {
  const std::string t = Trim(text);
  const bool digits =
      !t.empty() && t.size() <= 18 && t.find_first_not_of("0123456789") == std::string::npos;
  const std::int64_t n = digits ? std::stoll(t) : -1;
  if (!digits || n < lo || n > hi) {
    Fail(what, text,
         "is not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
  }
  return n;
}

std::string ReadAssistantName(std::string_view text) {
  const std::string name = Trim(text);
  if (name.empty())
    throw UserError("the assistant's name is empty; give a name such as \"Ann Lee\"");
  if (HasLineBreak(name)) Fail("NAME", text, "holds a line break; give the name on one line");
  if (IEquals(name, kAllAssistants)) {
    Fail("NAME", text, "stands for every assistant in the statements; choose another name");
  }
  return name;
}

int ReadPayPeriod(std::string_view what, std::string_view text) {
  if (const auto code = PayPeriodCode(Trim(text))) return *code;
  std::string names;
  for (int code = 0; code < kPayPeriodCount; ++code) {
    names += (code == 0 ? "" : ", ") + std::string(PayPeriodName(code));
  }
  Fail(what, text, "is not a pay period; use one of " + names);
}

std::string ReadFilingStatus(std::string_view what, std::string_view text) {
  const std::string t = Trim(text);
  for (std::string_view status : {kFilingSingle, kFilingMarried, kFilingHeadOfHousehold}) {
    if (IEquals(t, status)) return std::string(status);
  }
  Fail(what, text, "is not a filing status; use Single, Married or Head of Household");
}

std::string ReadText(std::string_view what, std::string_view text) {
  if (HasLineBreak(text)) Fail(what, text, "holds a line break; give it on one line");
  return Trim(text);
}

}  // namespace veltrane::host
