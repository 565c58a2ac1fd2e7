// Field values: every conversion of every kind of value either answers or
// raises ConversionError (no other failure, no undefined behaviour), the
// answers agree with the readers they stand on, and a value's text reads
// back as the value. The display of money, fractions and dates is run on
// the same values: it may refuse one (ConversionError), never misbehave.
//
// Input: the first byte picks the kind (Null, boolean, integer, double,
// money, text, date); the rest is the value's bytes.
#include <cmath>
#include <cstring>
#include <optional>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/display.h"
#include "common/errors.h"
#include "common/value.h"
#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

// What `convert` answers, or nullopt when it raises ConversionError.
template <class F>
auto Try(F convert) -> std::optional<decltype(convert())> {
  try {
    return convert();
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

template <class T>
T Bytes(const std::uint8_t* data, std::size_t size) {
  T value{};
  std::memcpy(&value, data, std::min(size, sizeof value));
  return value;
}

void ConvertEveryWay(const Value& v, std::string_view input) {
  Try([&] { return v.ToBool(); });
  Try([&] { return v.ToInt(); });
  const std::optional<double> number = Try([&] { return v.ToDouble(); });
  Require(!number || std::isfinite(*number) || std::holds_alternative<double>(v.storage()),
          "only a double value converts to a number that is not finite", input);
  Try([&] { return v.ToMoney(); });
  Try([&] { return v.ToDate(); });
  v.ToText();
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t kind = data[0] % 7;
  const std::uint8_t* bytes = data + 1;
  const std::size_t count = size - 1;
  const std::string_view input = AsText(data, size);

  switch (kind) {
    case 0:
      ConvertEveryWay(Value(), input);
      Require(!Try([] { return Value().ToMoney(); }), "Null is not money", input);
      break;
    case 1:
      ConvertEveryWay(Value(count > 0 && (bytes[0] & 1) != 0), input);
      break;
    case 2: {
      const auto i = Bytes<std::int64_t>(bytes, count);
      const Value v(i);
      ConvertEveryWay(v, input);
      Require(Try([&] { return v.ToInt(); }) == i, "an integer value is its integer", input);
      const std::optional<Money> money = Try([&] { return v.ToMoney(); });
      Require(!money || money->ticks() / Money::kScale == i, "an integer is whole dollars", input);
      Require(v.ToText() == std::to_string(i), "an integer's text is its digits", input);
      break;
    }
    case 3: {
      const auto d = Bytes<double>(bytes, count);
      const Value v(d);
      ConvertEveryWay(v, input);
      if (const std::optional<std::int64_t> i = Try([&] { return v.ToInt(); })) {
        Require(std::fabs(static_cast<double>(*i) - d) <= 0.5,
                "a double's integer is the nearest one", input);
      }
      Try([&] { return FormatPercent(d); });
      break;
    }
    case 4: {
      const Money m = Money::FromTicks(Bytes<std::int64_t>(bytes, count));
      const Value v(m);
      ConvertEveryWay(v, input);
      Require(Try([&] { return v.ToMoney(); }) == m, "a money value is its money", input);
      Require(Try([&] { return ParseAmount(v.ToText()); }) == m, "money's text reads back", input);
      Try([&] { return FormatCurrency(m); });
      break;
    }
    case 5: {
      const std::string text(reinterpret_cast<const char*>(bytes), count);
      const Value v(text);
      ConvertEveryWay(v, input);
      Require(Try([&] { return v.ToMoney(); }) == Try([&] { return ParseAmount(text); }),
              "a text's money is the amount it reads as", input);
      Require(Try([&] { return v.ToDate(); }) == Try([&] { return ParseDate(text); }),
              "a text's date is the date it reads as", input);
      Require(v.ToText() == text, "a text value's text is itself", input);
      break;
    }
    case 6: {
      const auto year = Bytes<std::int16_t>(bytes, count);
      const unsigned month = count > 2 ? bytes[2] : 1;
      const unsigned day = count > 3 ? bytes[3] : 1;
      const std::optional<Date> date = Try([&] { return MakeDate(year, month, day); });
      if (!date) break;
      const Value v(*date);
      ConvertEveryWay(v, input);
      if (year >= 1000 && year <= 9999) {
        Require(Try([&] { return ParseDate(v.ToText()); }) == date, "a date's text reads back",
                input);
      }
      Try([&] { return FormatMonthYear(*date); });
      break;
    }
  }
  return 0;
}

}  // namespace veltrane::fuzz
