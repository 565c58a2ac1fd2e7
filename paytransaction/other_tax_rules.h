// The calculator of state taxes and employer-defined withholdings. The
// transaction creates one per withholding computation through a factory the
// host (or a test) may replace.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/money.h"
#include "common/value.h"

namespace veltrane {

class OtherTaxRules {
 public:
  virtual ~OtherTaxRules() = default;
  // One record of the tax definition list: nine fields, each followed by "|".
  virtual void LoadDefinition(const std::string& definition) = 0;
  // One entry "name|withholding|liability|" for the loaded tax, given this
  // check's gross, the year-to-date gross before it, and the election's
  // filing and number fields. Raises on a definition it cannot use.
  virtual std::string GetWithholdingAndLiability(Money gross, Money gross_ytd, const std::string& filing,
                                                 const Value& number) = 0;
};

using OtherTaxRulesFactory = std::function<std::unique_ptr<OtherTaxRules>()>;

// The standard calculator: a flat amount when the definition has one;
// otherwise the rates applied to the part of the year's wages that lies
// under the wage base once the filing status's exemption allowance, times
// the election's number, is used up.
class clsOtherTaxRules final : public OtherTaxRules {
 public:
  void LoadDefinition(const std::string& definition) override;
  std::string GetWithholdingAndLiability(Money gross, Money gross_ytd, const std::string& filing,
                                         const Value& number) override;

 private:
  std::string definition_;
};

OtherTaxRulesFactory StandardOtherTaxRulesFactory();

}  // namespace veltrane
