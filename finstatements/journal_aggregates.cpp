// The sums the per-tax statements and worksheets take of the payment
// journal. Each reads its rows with the journal query once; the sums under
// a yearly wage base read the period and the part of its year before it
// once each and count every payee's rows apart.
#include <map>
#include <set>

#include "common/date.h"
#include "common/display.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/journal_rows.h"
#include "finstatements/sort_list_use.h"

namespace veltrane {
namespace {

using Rows = std::vector<const JournalRow*>;

Rows Pointers(const std::vector<JournalRow>& rows) {
  Rows r;
  r.reserve(rows.size());
  for (const JournalRow& row : rows) r.push_back(&row);
  return r;
}

// The taxable amount of every row that carries `tax`, once per triple of it.
Money TaxCarried(const Rows& rows, std::string_view tax) {
  Money sum;
  for (const JournalRow* row : rows) {
    if (!row->MentionsTax(tax)) continue;
    for (int n = row->TaxTriples(tax); n > 0; --n) AddAmount(sum, row->Taxable());
  }
  return sum;
}

Money Taxable(const Rows& rows, std::string_view tax) {
  Money sum;
  if (tax.empty()) {
    for (const JournalRow* row : rows) AddAmount(sum, row->Taxable());
  } else if (IEquals(tax, kTaxEIC)) {
    for (const JournalRow* row : rows) {
      if (row->eic_pay && *row->eic_pay > Money()) AddAmount(sum, row->eic_pay);
    }
  } else {
    sum = TaxCarried(rows, tax);
  }
  return sum;
}

Money Withheld(const Rows& rows, std::string_view tax) {
  Money sum;
  for (const JournalRow* row : rows) {
    if (!tax.empty()) {
      if (row->MentionsTax(tax)) AddAmount(sum, NamedAmounts(row->withholding, kFieldSeparator, tax));
      continue;
    }
    for (const ListGroup& t : ReadList(row->withholding, kFieldSeparator, kWithholdingFields)) {
      if (!t[1].empty()) AddAmount(sum, ListAmount(t[1]));
    }
  }
  return sum;
}

// The amounts of the supplemental items of `kind` in every row that
// carries `tax` (every row when `tax` is empty).
Money SupplementalCarried(const Rows& rows, std::string_view kind, std::string_view tax) {
  Money sum;
  for (const JournalRow* row : rows) {
    if (row->MentionsTax(tax)) AddAmount(sum, NamedAmounts(row->supplemental, kSuppPaySeparator, kind));
  }
  return sum;
}

Money Supplemental(const Rows& rows, std::string_view kind, std::string_view tax) {
  if (IEquals(tax, kTaxEIC)) return Taxable(rows, "");
  if (!tax.empty()) return SupplementalCarried(rows, kind, tax);
  Money sum;
  for (const JournalRow* row : rows) {
    AddAmount(sum, NamedAmounts(row->supplemental, kSuppPaySeparator, kind));
  }
  return sum;
}

// Rows by payee, letter case ignored as the journal query compares names.
std::map<std::string, Rows> ByPayee(const std::vector<JournalRow>& rows) {
  std::map<std::string, Rows> groups;
  for (const JournalRow& row : rows) groups[ToLower(row.payee)].push_back(&row);
  return groups;
}

// The start of a period's year and the day before the period, when the
// period starts on a date other than 1 January.
struct PriorDays {
  std::string first, last;
};
std::optional<PriorDays> DaysBefore(const std::string& start) {
  std::optional<PriorDays> prior;
  RunStep([&] {
    const Date d = ParseDate(start);
    if (d.month() == std::chrono::January && d.day() == std::chrono::day{1}) return;
    prior = PriorDays{FormatShortDate(MakeDate(static_cast<int>(d.year()), 1, 1)),
                      FormatShortDate(Date{std::chrono::sys_days(d) - std::chrono::days(1)})};
  });
  return prior;
}

}  // namespace

Money clsFinStmnts::Impl::GetTaxablePayments(std::string_view tax, const std::string& strAttendant,
                                             const std::string& strStart,
                                             const std::string& strEnd) const noexcept {
  Money sum;
  RunStep([&] { sum = Taxable(Pointers(JournalRows(strAttendant, strStart, strEnd)), tax); });
  return sum;
}

Money clsFinStmnts::Impl::GetTaxWithheld(std::string_view tax, const std::string& strAttendant,
                                         const std::string& strStart,
                                         const std::string& strEnd) const noexcept {
  Money sum;
  RunStep([&] { sum = Withheld(Pointers(JournalRows(strAttendant, strStart, strEnd)), tax); });
  return sum;
}

Money clsFinStmnts::Impl::GetSupplementalPay(std::string_view kind, std::string_view tax,
                                             const std::string& strAttendant,
                                             const std::string& strStart,
                                             const std::string& strEnd) const noexcept {
  Money sum;
  RunStep([&] {
    sum = Supplemental(Pointers(JournalRows(strAttendant, strStart, strEnd)), kind, tax);
  });
  return sum;
}

std::vector<std::string> clsFinStmnts::Impl::GetPayeeList(
    const std::string& strStart, const std::string& strEnd) const noexcept {
  std::vector<std::string> payees;
  RunStep([&] {
    const std::vector<JournalRow>& rows = JournalRows(std::string(kAllAssistants), strStart, strEnd);
    SortList& sort = Sort();
    sort.Clear();
    std::set<std::string> seen;  // folded names already in the list
    for (const JournalRow& row : rows) {
      if (seen.insert(ToLower(row.payee)).second) RunStep([&] { AddDistinct(sort, row.payee); });
    }
    payees = ListItems(sort);
    sort.Clear();
  });
  payees.emplace_back();
  return payees;
}

Money clsFinStmnts::Impl::GetYTDTaxablePayments(std::string_view tax, const std::string& payee,
                                                const std::string& date) const noexcept {
  Money sum;
  RunStep([&] {
    const std::string first = FormatShortDate(MakeDate(static_cast<int>(ParseDate(date).year()), 1, 1));
    sum = TaxCarried(Pointers(JournalRows(payee, first, date)), tax);
  });
  return sum;
}

Money clsFinStmnts::Impl::GetYTDSupplementalPay(std::string_view kind, std::string_view tax,
                                                const std::string& payee,
                                                const std::string& date) const noexcept {
  Money sum;
  RunStep([&] {
    const std::string first = FormatShortDate(MakeDate(static_cast<int>(ParseDate(date).year()), 1, 1));
    sum = SupplementalCarried(Pointers(JournalRows(payee, first, date)), kind, tax);
  });
  return sum;
}

Money clsFinStmnts::Impl::WithinBase(const RowMeasures& measures, Money base,
                                     const std::string& strAttendant, const std::string& strStart,
                                     const std::string& strEnd) const noexcept {
  Money total;
  RunStep([&] {
    const bool everyone = IEquals(strAttendant, kAllAssistants);
    std::vector<std::string> payees;
    if (everyone) {
      payees = GetPayeeList(strStart, strEnd);
      payees.pop_back();  // the spare slot
    } else {
      payees.push_back(strAttendant);
    }
    static const std::vector<JournalRow> kNone;
    const std::vector<JournalRow>* before = &kNone;
    if (const std::optional<PriorDays> days = DaysBefore(strStart)) {
      RunStep([&] { before = &JournalRows(strAttendant, days->first, days->last); });
    }
    const std::vector<JournalRow>* during = &kNone;
    RunStep([&] { during = &JournalRows(strAttendant, strStart, strEnd); });
    std::map<std::string, Rows> prior_rows, period_rows;
    if (everyone) {
      prior_rows = ByPayee(*before);
      period_rows = ByPayee(*during);
    } else {
      // The query chose the attendant's rows; they are one payee's.
      prior_rows = {{ToLower(strAttendant), Pointers(*before)}};
      period_rows = {{ToLower(strAttendant), Pointers(*during)}};
    }
    for (const std::string& payee : payees) {
      const std::string key = ToLower(payee);
      const Money prior = measures.prior(prior_rows[key]);
      const Money period = measures.period(period_rows[key]);
      RunStep([&] {
        if (prior + period <= base) total += period;
        else if (prior < base) total += base - prior;
      });
    }
  });
  return total;
}

Money clsFinStmnts::Impl::GetPaymentsWithinBase(std::string_view tax, Money base,
                                                const std::string& strAttendant,
                                                const std::string& strStart,
                                                const std::string& strEnd) const noexcept {
  return WithinBase({[&](const Rows& rows) { return TaxCarried(rows, tax); },
                     [&](const Rows& rows) { return Taxable(rows, tax); }},
                    base, strAttendant, strStart, strEnd);
}

Money clsFinStmnts::Impl::GetSupplementalWithinBase(std::string_view kind, std::string_view tax,
                                                    Money base, const std::string& strAttendant,
                                                    const std::string& strStart,
                                                    const std::string& strEnd) const noexcept {
  return WithinBase({[&](const Rows& rows) { return SupplementalCarried(rows, kind, tax); },
                     [&](const Rows& rows) { return Supplemental(rows, kind, tax); }},
                    base, strAttendant, strStart, strEnd);
}

std::optional<Money> clsFinStmnts::Impl::GetFUTAWagesFor(const std::string& strAttendant,
                                                         const std::string& strStart,
                                                         const std::string& strEnd) const noexcept {
  std::optional<Money> wages;
  RunStep([&] {
    if (!db_) return;
    wages = clsFedTaxRules(locale_provider_).GetFUTAWages(*db_, strAttendant, strStart, strEnd);
  });
  return wages;
}

}  // namespace veltrane
