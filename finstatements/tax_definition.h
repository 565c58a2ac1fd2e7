// A tax definition as the state-tax and other-withholding statements read
// it: nine texts, those of one OtherWithholdings record or the ones a state
// tax's settings make. An empty text is a setting that is not set.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/money.h"

namespace veltrane {

using TaxDefinition = std::vector<std::string>;

// The positions of the nine fields.
enum TaxDefinitionField : std::size_t {
  kDefName = 0,
  kDefFlatAmount = 1,
  kDefWageBase = 2,
  kDefWithholdingRate = 3,
  kDefEmployerRate = 4,
  kDefEmployeeRate = 5,
  kDefMarried = 6,
  kDefSingle = 7,
  kDefHousehold = 8,
};

// Whether any of the three exemption allowances is set.
bool HasAllowances(const TaxDefinition& definition);

// The fraction a percentage text stands for ("3.5" -> 0.035): the text is
// read as a single-precision number, widened to double and divided by 100.
// An empty text, or one that is no finite number, is a rate of 0.
double RateFraction(std::string_view percent) noexcept;

// The rate of `percent` shown as a percentage: "3.5" -> "3.50%".
std::string PercentText(std::string_view percent);

// `base` times the rate of `percent`, in double precision and brought to
// money; raises ConversionError when the product is out of range.
Money RateTimes(std::string_view percent, Money base);

}  // namespace veltrane
