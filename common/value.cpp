#include "common/value.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/errors.h"
#include "common/text.h"

namespace veltrane {
namespace {
template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

[[noreturn]] void Fail(const char* what) { throw ConversionError(what); }
}  // namespace

bool Value::ToBool() const {
  return std::visit(
      Overload{[](std::monostate) -> bool { Fail("Null is not a boolean"); },
               [](bool b) { return b; }, [](std::int64_t i) { return i != 0; },
               [](double d) { return d != 0; }, [](Money m) { return !m.IsZero(); },
               [](const std::string& s) -> bool {
                 if (IEquals(Trim(s), "True")) return true;
                 if (IEquals(Trim(s), "False")) return false;
                 return ParseNumber(s) != 0;
               },
               [](Date) -> bool { Fail("a date is not a boolean"); }},
      v_);
}

double Value::ToDouble() const {
  return std::visit(
      Overload{[](std::monostate) -> double { Fail("Null is not a number"); },
               [](bool b) { return b ? -1.0 : 0.0; },
               [](std::int64_t i) { return static_cast<double>(i); }, [](double d) { return d; },
               [](Money m) { return m.ToDouble(); },
               [](const std::string& s) { return ParseNumber(s); },
               [](Date) -> double { Fail("a date is not a number"); }},
      v_);
}

std::int64_t Value::ToInt() const {
  if (const auto* i = std::get_if<std::int64_t>(&v_)) return *i;
  const double d = std::nearbyint(ToDouble());
  if (!(d >= -9.2e18 && d <= 9.2e18)) Fail("number out of range");
  return static_cast<std::int64_t>(d);
}

Money Value::ToMoney() const {
  if (const auto* m = std::get_if<Money>(&v_)) return *m;
  if (const auto* i = std::get_if<std::int64_t>(&v_)) return Money::Dollars(*i);
  if (const auto* s = std::get_if<std::string>(&v_)) return ParseAmount(*s);
  return Money::FromDouble(ToDouble());
}

Date Value::ToDate() const {
  if (const auto* d = std::get_if<Date>(&v_)) return *d;
  if (const auto* s = std::get_if<std::string>(&v_)) return ParseDate(*s);
  Fail(IsNull() ? "Null is not a date" : "not a date");
}

std::string Value::ToText() const& {
  return std::visit(
      Overload{[](std::monostate) { return std::string(); },
               [](bool b) { return std::string(b ? "True" : "False"); },
               [](std::int64_t i) { return std::to_string(i); },
               [](double d) {
                 char buf[32];
                 std::snprintf(buf, sizeof buf, "%.15g", d);
                 return std::string(buf);
               },
               [](Money m) { return FormatAmount(m); }, [](const std::string& s) { return s; },
               [](Date d) { return FormatShortDate(d); }},
      v_);
}

std::string Value::ToText() && {
  if (auto* text = std::get_if<std::string>(&v_)) return std::move(*text);
  return std::as_const(*this).ToText();
}

}  // namespace veltrane
