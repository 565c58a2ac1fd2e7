// The figures the tax form worksheets take from journal rows. A worksheet
// reads its attendant's rows once, from 1 January of its period's year on,
// and works out every line from them in memory: each payee's earlier Social
// Security wages of the year and FUTA wages of earlier quarters come from
// the same rows, so no row or payee needs a query of its own.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/date.h"
#include "common/money.h"
#include "finstatements/journal_rows.h"

namespace veltrane {

// A worksheet's days, both inclusive; every day when the start text is
// empty (then the end text is not read either).
struct FormPeriod {
  std::optional<Date> first, last;

  // Raises ConversionError when a text that is read is not a date.
  static FormPeriod Of(const std::string& start, const std::string& end);
  bool Contains(const JournalRow& row) const;
  // From 1 January of the first day's year through `through`, the days a
  // worksheet reads to know each payee's earlier wages of the year; every
  // day when there is no first day.
  FormPeriod YearThrough(Date through) const;
};

// Months counted from year 0, so that consecutive months differ by one.
int MonthNumber(Date d);
Date FirstOfMonth(int month_number);
Date LastOfMonth(Date d);

// Whether a row carries Soc. Sec., Medicare, FUTA or FIT.
bool CarriesFederalTax(const JournalRow& row);
// A row carries tips when its supplemental pay names "Tip" or "Tips".
bool CarriesTips(const JournalRow& row);

// The withholding amounts of the row's entries named `name`, when the row
// carries it; 0 otherwise, and for an empty name (an unnamed withholding,
// such as an unconfigured SUI, is none).
Money WithheldAs(const JournalRow& row, std::string_view name);

// The part of `amount` that lies under the Social Security `base` once the
// payee's `earlier` wages of the year are counted: all of it while earlier
// plus amount stays within the base, otherwise what is left of the base,
// never below 0.
Money GetSSTaxableAmount(Money base, Money earlier, Money amount);

// For each of `rows`, the Social Security wages its payee (letter case
// ignored) was paid earlier in the row's year: the taxable amounts of the
// payee's rows carrying Soc. Sec. dated from 1 January up to the day
// before, and of those dated the same day with a lower journal ID. `rows`
// must hold every such row of the years they cover; a row without a date
// neither has nor adds earlier wages.
std::vector<Money> EarlierSSWages(const std::vector<JournalRow>& rows);

// The federal amounts of Form 941 and Schedule H that rows add up to.
struct FederalFigures {
  Money compensation;    // taxable pay of rows carrying a federal tax
  Money fit_withheld;
  Money ss_wages;        // under the Social Security base
  Money ss_tips;         // under the base, after the row's other wages
  Money medicare_wages;  // no base
  Money eic_paid;

  // Adds every amount; a sum that would overflow keeps its value.
  FederalFigures& operator+=(const FederalFigures& other);
};

// What one row adds, `earlier` being its payee's earlier Social Security
// wages. With `tips_apart`, a row carrying tips puts its "Tip"/"Tips"
// amounts into the tips and the rest of its taxable pay into the wages,
// wages first under the base; otherwise all of it goes into the wages.
FederalFigures RowFigures(const JournalRow& row, Money earlier, Money ss_base, bool tips_apart);

// Social Security tax on wages and on tips, Medicare tax and income tax
// withheld, less EIC paid, plus the `carry` of earlier months. Each tax is
// the money product of its wages and rate.
Money GetMonthlyNetTaxes(const FederalFigures& month, Money ss_rate, Money medicare_rate,
                         Money carry);

// A row's FUTA wages: its taxable pay when it carries FUTA, 0 when it does
// not, nothing when its pay cannot be read.
std::optional<Money> FUTAWages(const JournalRow& row);
// The FUTA wages of the rows in `period`, per payee (keyed by the name in
// lower case, so that names differing only in letter case are one payee).
std::map<std::string, Money> FUTAWagesByPayee(const std::vector<JournalRow>& rows,
                                              const FormPeriod& period);
// The sum over the payees of their FUTA wages in `period` above `base`.
Money GetFUTAExcessWages(const std::vector<JournalRow>& rows, const FormPeriod& period,
                         Money base);
// Each payee's FUTA wages from 1 January of `date`'s year to the day
// before `date`.
std::map<std::string, Money> GetPriorFUTAWages(const std::vector<JournalRow>& rows, Date date);
// The sum over the payees of their FUTA wages in `quarter` that still lie
// under `base` once their earlier wages of the year are counted.
Money GetQuarterFUTAWages(const std::vector<JournalRow>& rows, const FormPeriod& quarter,
                          Money base);

}  // namespace veltrane
