// The amount reader and writer: every Money is written as a text that reads
// back as the same Money, and a text is read exactly or refused, never
// wrapped around.
//
// Input: the first 8 bytes are a Money (ten-thousandths); the whole input
// is also read as an amount text.
#include <cctype>
#include <cstring>
#include <optional>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/text.h"
#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

// The text FormatAmount writes for a plain decimal of at most four fraction
// digits (blanks around it, a sign, leading zeros allowed), worked out on
// the digits alone; nullopt for any other text.
std::optional<std::string> CanonicalDecimal(std::string_view text) {
  const std::string s = Trim(text);
  std::string_view rest = s;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  const auto digits = [](std::string_view& r) {
    std::size_t n = 0;
    while (n < r.size() && std::isdigit(static_cast<unsigned char>(r[n]))) ++n;
    const std::string_view run = r.substr(0, n);
    r.remove_prefix(n);
    return run;
  };
  std::string_view whole = digits(rest);
  std::string_view fraction;
  if (!rest.empty() && rest.front() == '.') {
    rest.remove_prefix(1);
    fraction = digits(rest);
  }
  if (!rest.empty() || (whole.empty() && fraction.empty()) || fraction.size() > 4) {
    return std::nullopt;
  }
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  if (whole.empty() && fraction.empty()) return "0";
  std::string canonical = negative ? "-" : "";
  canonical += whole.empty() ? "0" : std::string(whole);
  if (!fraction.empty()) canonical += "." + std::string(fraction);
  return canonical;
}

std::optional<Money> TryParse(std::string_view text) {
  try {
    return ParseAmount(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = AsText(data, size);
  if (size >= sizeof(std::int64_t)) {
    std::int64_t ticks = 0;
    std::memcpy(&ticks, data, sizeof ticks);
    const std::string written = FormatAmount(Money::FromTicks(ticks));
    Require(TryParse(written) == Money::FromTicks(ticks),
            "ParseAmount reads back what FormatAmount wrote", written);
  }

  const std::optional<Money> read = TryParse(input);
  if (!read) return 0;
  const std::string written = FormatAmount(*read);
  Require(TryParse(written) == read, "an amount read and written reads back the same", input);
  if (const std::optional<std::string> exact = CanonicalDecimal(input)) {
    Require(written == *exact, "a plain decimal is read exactly or refused", input);
  }
  return 0;
}

}  // namespace veltrane::fuzz
