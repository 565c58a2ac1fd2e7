// A field value as a record set hands it out: Null, boolean, integer,
// double, money, text or date.
//
// Converting Null or a malformed value to a number, money, boolean or date
// raises ConversionError; it never yields a silent default. Text of Null is
// the empty text, as when a field is printed.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "common/date.h"
#include "common/money.h"

namespace veltrane {

class Value {
 public:
  Value() = default;  // Null
  Value(bool v) : v_(v) {}
  Value(int v) : v_(std::int64_t{v}) {}
  Value(std::int64_t v) : v_(v) {}
  Value(double v) : v_(v) {}
  Value(Money v) : v_(v) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(const char* v) : v_(std::string(v)) {}
  Value(Date v) : v_(v) {}

  bool IsNull() const { return std::holds_alternative<std::monostate>(v_); }
  bool IsText() const { return std::holds_alternative<std::string>(v_); }

  bool ToBool() const;            // numbers: non-zero; text "True"/"False" or a number
  std::int64_t ToInt() const;     // nearest integer, ties to even
  double ToDouble() const;
  Money ToMoney() const;          // numbers are dollars; text is read as an amount
  Date ToDate() const;            // dates; text through ParseDate
  std::string ToText() const&;    // money as amount text, dates "m/d/yyyy", booleans "True"/"False"
  std::string ToText() &&;        // the same; a text is moved out rather than copied

  friend bool operator==(const Value&, const Value&) = default;

  using Storage = std::variant<std::monostate, bool, std::int64_t, double, Money, std::string, Date>;
  const Storage& storage() const { return v_; }

 private:
  Storage v_;
};

}  // namespace veltrane
