#include "host/household/identities.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/text.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"

namespace veltrane::household {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// The digits of `text` when it is `lengths` runs of digits joined by single
// dashes, or the same digits without them; nullopt otherwise.
std::optional<std::string> Digits(std::string_view text,
                                  std::initializer_list<std::size_t> lengths) {
  std::size_t total = 0;
  for (std::size_t n : lengths) total += n;
  if (text.size() == total)
    return AllDigits(text) ? std::optional(std::string(text)) : std::nullopt;
  std::string digits;
  std::size_t at = 0;
  for (std::size_t n : lengths) {
    if (at > 0) {
      if (at >= text.size() || text[at] != '-') return std::nullopt;
      ++at;
    }
    const std::string_view run = text.substr(at, n);
    if (run.size() != n || !AllDigits(run)) return std::nullopt;
    digits += run;
    at += n;
  }
  if (at != text.size()) return std::nullopt;
  return digits;
}

// Why nine digits are no Social Security number, or empty.
std::string SsnRule(const std::string& d) {
  const int area = std::stoi(d.substr(0, 3));
  if (area == 0 || area == 666 || area >= 900)
    return "is not a Social Security number: no number begins with " + d.substr(0, 3);
  if (d.substr(3, 2) == "00")
    return "is not a Social Security number: its middle two digits are 00";
  if (d.substr(5) == "0000")
    return "is not a Social Security number: its last four digits are 0000";
  return "";
}

constexpr std::array<std::string_view, 62> kStates = {
    "AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "FL", "GA", "HI", "ID", "IL", "IN", "IA", "KS",
    "KY", "LA", "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY",
    "NC", "ND", "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX", "UT", "VT", "VA", "WA", "WV",
    "WI", "WY", "DC", "AS", "GU", "MP", "PR", "VI", "FM", "MH", "PW", "AA", "AE", "AP"};

}  // namespace

std::string ReadSsn(std::string_view field, std::string_view text) {
  const std::string t = ReadText(field, text);
  if (t.empty()) return t;
  const auto d = Digits(t, {3, 2, 4});
  if (!d) {
    throw Fault(
        std::string(field),
        Quoted(text) + " is not a Social Security number; write nine digits, like 123-45-6789");
  }
  if (const std::string rule = SsnRule(*d); !rule.empty())
    throw Fault(std::string(field), Quoted(text) + " " + rule);
  return d->substr(0, 3) + "-" + d->substr(3, 2) + "-" + d->substr(5);
}

std::string ReadEmployerId(std::string_view field, std::string_view text) {
  const std::string t = ReadText(field, text);
  if (t.empty()) return t;
  const auto d = Digits(t, {2, 7});
  if (!d) {
    throw Fault(std::string(field), Quoted(text) +
                                        " is not an employer identification number; write nine "
                                        "digits, like 12-3456789");
  }
  return d->substr(0, 2) + "-" + d->substr(2);
}

std::string ReadZip(std::string_view field, std::string_view text) {
  const std::string t = ReadText(field, text);
  if (t.empty()) return t;
  if (const auto five = Digits(t, {5})) return *five;
  if (const auto nine = Digits(t, {5, 4})) return nine->substr(0, 5) + "-" + nine->substr(5);
  throw Fault(std::string(field),
              Quoted(text) + " is not a ZIP code; write five digits, or five and four, like 62704");
}

std::string ReadState(std::string_view field, std::string_view text) {
  const std::string t = ToUpper(ReadText(field, text));
  if (t.empty() || std::find(kStates.begin(), kStates.end(), t) != kStates.end()) return t;
  throw Fault(std::string(field),
              Quoted(text) + " is not a state's postal code; write two letters, like IL");
}

std::optional<std::string> SsnProblem(std::string_view stored) {
  if (Trim(stored).empty()) return "is missing";
  try {
    ReadSsn("ssn", stored);
  } catch (const Fault& f) {
    return f.text();
  }
  return std::nullopt;
}

std::optional<std::string> EmployerIdProblem(std::string_view stored) {
  if (Trim(stored).empty()) return "is missing";
  try {
    ReadEmployerId("employer-id", stored);
  } catch (const Fault& f) {
    return f.text();
  }
  return std::nullopt;
}

}  // namespace veltrane::household
