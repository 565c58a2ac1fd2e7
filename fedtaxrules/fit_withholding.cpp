// Federal income tax withholding by the percentage method: the allowances
// come off the wages and the rest runs through the six brackets of the
// period's table for the filing status.
#include <array>

#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "fedtaxrules/federal_rates.h"

namespace veltrane {
namespace {

// An amount in dollars and cents as money, at compile time.
consteval Money Usd(double dollars) {
  return Money::FromTicks(static_cast<std::int64_t>(dollars * Money::kScale + 0.5));
}

// Where a bracket starts (wages above `over`) and the tax due on the wages
// below it.
struct BracketStart {
  Money over;
  double base;
  consteval BracketStart(double threshold, double base_amount)
      : over(Usd(threshold)), base(base_amount) {}
};

// T0 / 0, T1 / B1, ..., T5 / B5: wages up to T0 owe nothing; wages X in
// (Tk, Tk+1] owe Bk plus kBracketRates[k] of X - Tk.
using WithholdingTable = std::array<BracketStart, 6>;
constexpr std::array<double, 6> kBracketRates = {0.1, 0.15, 0.25, 0.28, 0.33, 0.35};

struct PeriodTables {
  WithholdingTable single;  // also head of household
  WithholdingTable married;
};

// Per pay period, in PayPeriod order.
constexpr std::array<PeriodTables, kPayPeriodCount> kWithholdingTables = {{
    {/* Weekly */
     {{{51, 0}, {187, 13.60}, {592, 74.35}, {1317, 255.60}, {2860, 687.64}, {6177, 1782.25}}},
     {{{154, 0}, {429, 27.50}, {1245, 149.90}, {2270, 406.15}, {3568, 769.59}, {6271, 1661.58}}}},
    {/* Biweekly */
     {{{102, 0}, {373, 27.10}, {1185, 148.90}, {2635, 511.40}, {5719, 1374.92}, {12354, 3564.47}}},
     {{{308, 0}, {858, 55.00}, {2490, 299.80}, {4540, 812.30}, {7137, 1539.46}, {12542, 3323.11}}}},
    {/* Semimonthly */
     {{{110, 0}, {404, 29.40}, {1283, 161.25}, {2854, 554.00}, {6196, 1489.76}, {13383, 3861.47}}},
     {{{333, 0}, {929, 59.60}, {2698, 324.95}, {4919, 880.20}, {7731, 1667.56}, {13588, 3600.37}}}},
    {/* Monthly */
     {{{221, 0},
       {808, 58.70},
       {2567, 322.55},
       {5708, 1107.80},
       {12392, 2979.32},
       {26767, 7723.07}}},
     {{{667, 0},
       {1858, 119.10},
       {5396, 649.80},
       {9838, 1760.30},
       {15463, 3335.30},
       {27175, 7200.26}}}},
    {/* Quarterly */
     {{{663, 0},
       {2425, 176.20},
       {7700, 967.45},
       {17125, 3323.70},
       {37175, 8937.70},
       {80300, 23168.95}}},
     {{{2000, 0},
       {5575, 357.50},
       {16188, 1949.45},
       {29513, 5280.70},
       {46388, 10005.70},
       {81525, 21600.91}}}},
    {/* Semiannually */
     {{{1325, 0},
       {4850, 352.50},
       {15400, 1935.00},
       {34250, 6647.50},
       {74350, 17875.50},
       {160600, 46338.00}}},
     {{{4000, 0},
       {11150, 715.00},
       {32375, 3898.75},
       {59025, 10561.25},
       {92775, 20011.25},
       {163050, 43202.00}}}},
    {/* Annually */
     {{{2650, 0},
       {9700, 705.00},
       {30800, 3870.00},
       {68500, 13295.00},
       {148700, 35751.00},
       {321200, 92676.00}}},
     {{{8000, 0},
       {22300, 1430.00},
       {64750, 7797.50},
       {118050, 21122.50},
       {185550, 40022.50},
       {326100, 86404.00}}}},
    {/* Daily */
     {{{10.20, 0},
       {37.30, 2.71},
       {118.50, 14.89},
       {263.50, 51.14},
       {571.90, 137.49},
       {1235.40, 356.45}}},
     {{{30.80, 0},
       {85.80, 5.50},
       {249, 29.98},
       {454, 81.23},
       {713.70, 153.95},
       {1254.20, 332.32}}}},
}};

// A value equal to a threshold belongs to the lower bracket.
Money WithholdingAmount(const WithholdingTable& table, Money taxable) {
  if (taxable <= table[0].over) return Money();
  std::size_t k = table.size() - 1;
  while (taxable <= table[k].over) --k;
  const double amount = table[k].base + (taxable - table[k].over).ToDouble() * kBracketRates[k];
  return Max(Money::FromDouble(amount), Money());
}

const WithholdingTable* TableFor(const PeriodTables& tables, std::string_view status) {
  if (IEquals(status, kFilingSingle) || IEquals(status, kFilingHeadOfHousehold)) {
    return &tables.single;
  }
  if (IEquals(status, kFilingMarried)) return &tables.married;
  return nullptr;
}

using WithholdingOperation = Money (clsFedTaxRules::*)(Money, std::string_view, std::int16_t,
                                                       std::string_view) const noexcept;

}  // namespace

Money clsFedTaxRules::GetExemptionAmount(std::string_view strPayPeriod) const noexcept {
  Money amount;
  if (!Enabled()) return amount;
  const std::optional<int> period = PayPeriodCode(strPayPeriod);
  if (!period) return amount;
  RunStep([&] { amount = Money::FromDouble(federal2004::kExemptionByPeriod[*period]); });
  return amount;
}

Money clsFedTaxRules::FederalWithholdingOf(int period, Money gross, std::string_view status,
                                           std::int16_t exemptions,
                                           std::string_view pay_period) const noexcept {
  Money amount;
  if (!Enabled()) return amount;
  const WithholdingTable* table = TableFor(kWithholdingTables[period], status);
  if (table == nullptr) return amount;
  RunStep([&] {
    // The allowance count is a small integer: the product through double is
    // exact to the ten-thousandth.
    const Money taxable =
        gross - GetExemptionAmount(pay_period).Times(static_cast<double>(exemptions));
    amount = WithholdingAmount(*table, taxable);
  });
  return amount;
}

Money clsFedTaxRules::GetFITWithholding(Money curGrossWages, std::string_view strFilingStatus,
                                        std::int16_t intExemptions,
                                        std::string_view strPayPeriod) const noexcept {
  static constexpr std::array<WithholdingOperation, kPayPeriodCount> kByPeriod = {
      &clsFedTaxRules::GetWeeklyFederalWithholding,
      &clsFedTaxRules::GetBiweeklyFederalWithholding,
      &clsFedTaxRules::GetSemimonthlyFederalWithholding,
      &clsFedTaxRules::GetMonthlyFederalWithholding,
      &clsFedTaxRules::GetQuarterlyFederalWithholding,
      &clsFedTaxRules::GetSemiannualFederalWithholding,
      &clsFedTaxRules::GetAnnualFederalWithholding,
      &clsFedTaxRules::GetDailyFederalWithholding};
  if (!Enabled()) return Money();
  const std::optional<int> period = PayPeriodCode(strPayPeriod);
  if (!period) return Money();
  return (this->*kByPeriod[*period])(curGrossWages, strFilingStatus, intExemptions, strPayPeriod);
}

#define VELTRANE_PERIOD_WITHHOLDING(Operation, Period)                                       \
  Money clsFedTaxRules::Operation(Money curGrossWages, std::string_view strFilingStatus,     \
                                  std::int16_t intExemptions, std::string_view strPayPeriod) \
      const noexcept {                                                                       \
    return FederalWithholdingOf(static_cast<int>(PayPeriod::Period), curGrossWages,          \
                                strFilingStatus, intExemptions, strPayPeriod);               \
  }
VELTRANE_PERIOD_WITHHOLDING(GetWeeklyFederalWithholding, kWeekly)
VELTRANE_PERIOD_WITHHOLDING(GetBiweeklyFederalWithholding, kBiweekly)
VELTRANE_PERIOD_WITHHOLDING(GetSemimonthlyFederalWithholding, kSemimonthly)
VELTRANE_PERIOD_WITHHOLDING(GetMonthlyFederalWithholding, kMonthly)
VELTRANE_PERIOD_WITHHOLDING(GetQuarterlyFederalWithholding, kQuarterly)
VELTRANE_PERIOD_WITHHOLDING(GetSemiannualFederalWithholding, kSemiannually)
VELTRANE_PERIOD_WITHHOLDING(GetAnnualFederalWithholding, kAnnually)
VELTRANE_PERIOD_WITHHOLDING(GetDailyFederalWithholding, kDaily)
#undef VELTRANE_PERIOD_WITHHOLDING

}  // namespace veltrane
