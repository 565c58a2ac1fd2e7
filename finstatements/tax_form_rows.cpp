#include "finstatements/tax_form_rows.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <unordered_map>

#include "common/display.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "finstatements/fin_stmnts_impl.h"

namespace veltrane {
namespace {

using std::chrono::sys_days;

Date DayBefore(Date d) { return Date{sys_days(d) - std::chrono::days(1)}; }

Date NewYear(Date d) { return MakeDate(static_cast<int>(d.year()), 1, 1); }

Money TipAmounts(const JournalRow& row) {
  Money tips;
  AddAmount(tips, NamedAmounts(row.supplemental, kSuppPaySeparator, "Tip"));
  AddAmount(tips, NamedAmounts(row.supplemental, kSuppPaySeparator, "Tips"));
  return tips;
}

}  // namespace

FormPeriod FormPeriod::Of(const std::string& start, const std::string& end) {
  if (start.empty()) return {};
  return {ParseDate(start), ParseDate(end)};
}

bool FormPeriod::Contains(const JournalRow& row) const {
  if (!first) return true;
  return row.date && *first <= *row.date && *row.date <= *last;
}

FormPeriod FormPeriod::YearThrough(Date through) const {
  if (!first) return {};
  return {NewYear(*first), through};
}

int MonthNumber(Date d) {
  return static_cast<int>(d.year()) * 12 + static_cast<int>(static_cast<unsigned>(d.month())) - 1;
}

Date FirstOfMonth(int month_number) {
  return MakeDate(month_number / 12, static_cast<unsigned>(month_number % 12) + 1, 1);
}

Date LastOfMonth(Date d) {
  return Date{std::chrono::year_month_day_last(d.year(), std::chrono::month_day_last(d.month()))};
}

bool CarriesFederalTax(const JournalRow& row) {
  return row.MentionsTax(kTaxSocSec) || row.MentionsTax(kTaxMedicare) ||
         row.MentionsTax(kTaxFUTA) || row.MentionsTax(kTaxFIT);
}

bool CarriesTips(const JournalRow& row) {
  return IContains(row.supplemental, "Tip'") || IContains(row.supplemental, "Tips'");
}

Money WithheldAs(const JournalRow& row, std::string_view name) {
  if (name.empty() || !row.MentionsTax(name)) return Money();
  return NamedAmounts(row.withholding, kFieldSeparator, name);
}

Money GetSSTaxableAmount(Money base, Money earlier, Money amount) {
  if (earlier + amount <= base) return amount;
  return Max(base - earlier, Money());
}

std::vector<Money> EarlierSSWages(const std::vector<JournalRow>& rows) {
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(rows[a].date, rows[a].id) < std::tie(rows[b].date, rows[b].id);
  });

  struct Running {
    std::optional<std::chrono::year> year;
    Money wages;
  };
  std::unordered_map<std::string, Running> payees;
  std::vector<Money> earlier(rows.size());
  for (const std::size_t i : order) {
    const JournalRow& row = rows[i];
    if (!row.date) continue;
    Running& running = payees[ToLower(row.payee)];
    if (running.year != row.date->year()) running = {row.date->year(), Money()};
    earlier[i] = running.wages;
    if (row.MentionsTax(kTaxSocSec)) AddAmount(running.wages, row.Taxable());
  }
  return earlier;
}

FederalFigures& FederalFigures::operator+=(const FederalFigures& other) {
  AddAmount(compensation, other.compensation);
  AddAmount(fit_withheld, other.fit_withheld);
  AddAmount(ss_wages, other.ss_wages);
  AddAmount(ss_tips, other.ss_tips);
  AddAmount(medicare_wages, other.medicare_wages);
  AddAmount(eic_paid, other.eic_paid);
  return *this;
}

FederalFigures RowFigures(const JournalRow& row, Money earlier, Money ss_base, bool tips_apart) {
  FederalFigures f;
  const std::optional<Money> taxable = row.Taxable();
  if (CarriesFederalTax(row)) AddAmount(f.compensation, taxable);
  // A row without a date has no place in its payee's year.
  if (row.date && row.MentionsTax(kTaxSocSec)) {
    RunStep([&] {
      if (tips_apart && CarriesTips(row)) {
        // The check's wages come before its tips under the base.
        const Money tips = TipAmounts(row);
        const Money wages = Max(taxable.value_or(Money()) - tips, Money());
        f.ss_wages = GetSSTaxableAmount(ss_base, earlier, wages);
        f.ss_tips = GetSSTaxableAmount(ss_base, earlier + wages, tips);
      } else if (taxable) {
        f.ss_wages = GetSSTaxableAmount(ss_base, earlier, *taxable);
      }
    });
  }
  if (row.MentionsTax(kTaxMedicare)) AddAmount(f.medicare_wages, taxable);
  f.fit_withheld = WithheldAs(row, kTaxFIT);
  AddAmount(f.eic_paid, row.eic_pay);
  return f;
}

Money GetMonthlyNetTaxes(const FederalFigures& month, Money ss_rate, Money medicare_rate,
                         Money carry) {
  return Product(month.ss_wages, ss_rate) + Product(month.ss_tips, ss_rate) +
         Product(month.medicare_wages, medicare_rate) + month.fit_withheld - month.eic_paid +
         carry;
}

std::optional<Money> FUTAWages(const JournalRow& row) {
  if (!row.MentionsTax(kTaxFUTA)) return Money();
  return row.Taxable();
}

std::map<std::string, Money> FUTAWagesByPayee(const std::vector<JournalRow>& rows,
                                              const FormPeriod& period) {
  std::map<std::string, Money> payees;
  for (const JournalRow& row : rows) {
    if (period.Contains(row)) AddAmount(payees[ToLower(row.payee)], FUTAWages(row));
  }
  return payees;
}

Money GetFUTAExcessWages(const std::vector<JournalRow>& rows, const FormPeriod& period,
                         Money base) {
  Money excess;
  for (const auto& [payee, wages] : FUTAWagesByPayee(rows, period)) {
    if (wages > base) AddAmount(excess, wages - base);
  }
  return excess;
}

std::map<std::string, Money> GetPriorFUTAWages(const std::vector<JournalRow>& rows, Date date) {
  return FUTAWagesByPayee(rows, {NewYear(date), DayBefore(date)});
}

Money GetQuarterFUTAWages(const std::vector<JournalRow>& rows, const FormPeriod& quarter,
                          Money base) {
  std::map<std::string, Money> prior = GetPriorFUTAWages(rows, *quarter.first);
  Money total;
  for (const auto& entry : FUTAWagesByPayee(rows, quarter)) {
    // Plain variables: Clang 14 cannot capture a structured binding.
    const Money before = prior[entry.first];
    const Money wages = entry.second;
    if (before >= base) continue;
    RunStep([&] { total += before + wages < base ? wages : base - before; });
  }
  return total;
}

const std::vector<JournalRow>& clsFinStmnts::Impl::JournalRowsIn(const std::string& strAttendant,
                                                                 const FormPeriod& days) const {
  if (!days.first) return JournalRows(strAttendant, "", "");
  return JournalRows(strAttendant, FormatShortDate(*days.first), FormatShortDate(*days.last));
}

}  // namespace veltrane
