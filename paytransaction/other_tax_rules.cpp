#include "paytransaction/other_tax_rules.h"

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/errors.h"
#include "common/tax_names.h"
#include "common/text.h"

namespace veltrane {
namespace {

// Definition fields.
enum : std::size_t { kName, kFlat, kBase, kWithholdingRate, kEmployerRate, kEmployeeRate, kMarried, kSingle, kHousehold };

// An empty setting is none (0); any other text must be a number.
double RateOf(const std::string& text) { return Trim(text).empty() ? 0.0 : ParseNumber(text) / 100.0; }
Money AmountOf(const std::string& text) { return Trim(text).empty() ? Money() : ParseAmount(text); }

}  // namespace

void clsOtherTaxRules::LoadDefinition(const std::string& definition) { definition_ = definition; }

std::string clsOtherTaxRules::GetWithholdingAndLiability(Money gross, Money gross_ytd, const std::string& filing,
                                                         const Value& number) {
  const auto groups = ReadList(definition_, kFieldSeparator, kTaxDefinitionFields);
  if (groups.empty()) throw ConversionError("no tax definition loaded");
  const ListGroup& d = groups.front();

  Money withholding, liability;
  if (!Trim(d[kFlat]).empty()) {
    withholding = ParseAmount(d[kFlat]);
  } else {
    // The part of this check's wages that lies under the wage base once the
    // year's exemption allowance is used up.
    const Money after = gross_ytd + gross;
    const bool capped = !Trim(d[kBase]).empty();
    const Money base = capped ? ParseAmount(d[kBase]) : Money();
    std::size_t allowance_field = 0;
    if (IEquals(Trim(filing), kFilingMarried)) allowance_field = kMarried;
    else if (IEquals(Trim(filing), kFilingSingle)) allowance_field = kSingle;
    else if (IEquals(Trim(filing), kFilingHeadOfHousehold)) allowance_field = kHousehold;
    const std::string count = number.ToText();
    const double allowances = Trim(count).empty() ? 0.0 : ParseNumber(count);
    const Money exempt = allowance_field == 0 ? Money() : AmountOf(d[allowance_field]).Times(allowances);
    const auto exposed = [&](Money wages) {
      const Money limited = capped ? Min(wages, base) : wages;
      return Max(Money(), limited - exempt);
    };
    const Money taxable = exposed(after) - exposed(gross_ytd);
    withholding = taxable.Times(RateOf(d[kWithholdingRate]));
    liability = taxable.Times(RateOf(d[kEmployerRate]));
  }
  return ListWriter().Add(d[kName]).Add(withholding).Add(liability).text();
}

OtherTaxRulesFactory StandardOtherTaxRulesFactory() {
  return [] { return std::make_unique<clsOtherTaxRules>(); };
}

}  // namespace veltrane
