// The whole-number reader: what it answers lies in the range asked for, and
// a text of whole digits is read exactly or refused.
//
// Input: the first byte picks one of the ranges the callers ask for; the
// rest is the text.
#include <array>
#include <cctype>
#include <limits>
#include <optional>

#include "common/amount_text.h"
#include "common/errors.h"
#include "common/text.h"
#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

struct Range {
  std::int64_t lo, hi;
};
using Limits64 = std::numeric_limits<std::int64_t>;
constexpr std::array<Range, 6> kRanges = {{
    {Limits64::min(), Limits64::max()},
    {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()},
    {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
    {0, 2},
    {0, Limits64::max()},
    {Limits64::min(), 0},
}};

// The value of an optionally signed run of digits with blanks around it,
// when it fits 64 bits; nullopt for any other text or a larger value.
// `whole` tells whether the text was such a run at all.
std::optional<std::int64_t> ExactInteger(std::string_view text, bool& whole) {
  const std::string s = Trim(text);
  std::string_view rest = s;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  whole = !rest.empty();
  std::uint64_t magnitude = 0;
  bool too_large = false;
  for (const char c : rest) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      whole = false;
      return std::nullopt;
    }
    too_large = too_large || __builtin_mul_overflow(magnitude, 10u, &magnitude) ||
                __builtin_add_overflow(magnitude, static_cast<unsigned>(c - '0'), &magnitude);
  }
  constexpr auto kMaxMagnitude = static_cast<std::uint64_t>(Limits64::max());
  if (!whole || too_large || magnitude > kMaxMagnitude + (negative ? 1 : 0)) return std::nullopt;
  // Negated as unsigned: the most negative value has no positive twin.
  return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Range range = kRanges[data[0] % kRanges.size()];
  const std::string_view text = AsText(data + 1, size - 1);
  std::int64_t read = 0;
  try {
    read = ParseWholeNumber(text, range.lo, range.hi);
  } catch (const ConversionError&) {
    return 0;
  }
  Require(read >= range.lo && read <= range.hi, "a whole number lies in the range asked for", text);
  bool whole = false;
  const std::optional<std::int64_t> exact = ExactInteger(text, whole);
  if (whole) Require(exact == read, "a text of whole digits is read exactly or refused", text);
  return 0;
}

}  // namespace veltrane::fuzz
