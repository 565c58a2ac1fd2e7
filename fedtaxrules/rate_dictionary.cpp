#include "fedtaxrules/rate_dictionary.h"

#include <stdexcept>

namespace veltrane {

double RateToDouble(const RateValue& value) {
  return std::visit(
      [](auto v) -> double {
        if constexpr (std::is_same_v<decltype(v), Money>) {
          return v.ToDouble();
        } else {
          return static_cast<double>(v);
        }
      },
      value);
}

Money RateToMoney(const RateValue& value) {
  if (const auto* m = std::get_if<Money>(&value)) return *m;
  if (const auto* i = std::get_if<std::int16_t>(&value)) return Money::Dollars(*i);
  return Money::FromDouble(RateToDouble(value));
}

void RateDictionary::Add(std::string key, RateValue value) {
  if (Contains(key)) throw std::invalid_argument("rate key already present: " + key);
  entries_.emplace_back(std::move(key), value);
}

void RateDictionary::Set(std::string_view key, RateValue value) {
  if (RateValue* existing = FindMutable(key)) {
    *existing = value;
  } else {
    entries_.emplace_back(std::string(key), value);
  }
}

const RateValue* RateDictionary::Find(std::string_view key) const {
  for (const auto& [k, v] : entries_) {
    if (k == key) return &v;
  }
  return nullptr;
}

RateValue* RateDictionary::FindMutable(std::string_view key) {
  return const_cast<RateValue*>(std::as_const(*this).Find(key));
}

const RateValue& RateDictionary::At(std::string_view key) const {
  if (const RateValue* v = Find(key)) return *v;
  throw std::out_of_range("no rate under key " + std::string(key));
}

}  // namespace veltrane
