// A string-keyed dictionary of typed rate values, as clsFedTaxRules hands
// out its rate table. Each value keeps the type it was added with (double,
// 16-bit integer, money or 32-bit float); readers convert it to the type they
// need. Keys are compared exactly (letter case matters) and entries keep the
// order in which they were added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "common/money.h"

namespace veltrane {

using RateValue = std::variant<double, std::int16_t, Money, float>;

// The value as a double: a float is widened as it is, money is dollars.
double RateToDouble(const RateValue& value);
// The value as money: numbers are dollars, taken to the nearest
// ten-thousandth (ties to even). Raises ConversionError when out of range.
Money RateToMoney(const RateValue& value);

class RateDictionary {
 public:
  using Entry = std::pair<std::string, RateValue>;

  // Appends a new entry; raises std::invalid_argument when the key is
  // already present (the existing entry is kept).
  void Add(std::string key, RateValue value);
  // Replaces the value of an existing key, or appends a new entry.
  void Set(std::string_view key, RateValue value);

  bool Contains(std::string_view key) const { return Find(key) != nullptr; }
  // The value of `key`, or null when there is none. The pointer is valid
  // until the dictionary is next changed.
  const RateValue* Find(std::string_view key) const;
  // The value of `key`; raises std::out_of_range when there is none.
  const RateValue& At(std::string_view key) const;
  double GetDouble(std::string_view key) const { return RateToDouble(At(key)); }
  Money GetMoney(std::string_view key) const { return RateToMoney(At(key)); }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // Entries in the order they were added.
  std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<Entry>::const_iterator end() const { return entries_.end(); }

 private:
  RateValue* FindMutable(std::string_view key);

  // A rate table has a couple of dozen entries: a linear search is the
  // simplest way to keep their order and beats hashing at this size.
  std::vector<Entry> entries_;
};

}  // namespace veltrane
