// The payment-journal rows a statement reads, each read once from its
// query, and the lists inside them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/database.h"
#include "common/date.h"
#include "common/delimited_list.h"
#include "common/money.h"

namespace veltrane {

// One row; a field that is Null or cannot be read is left empty, so a sum
// over it adds nothing for that row.
struct JournalRow {
  std::int64_t id = 0;
  std::optional<Date> date;
  std::string payee;
  std::optional<Money> gross_pay, gross_regular, gross_overtime, eic_pay, net_pay;
  std::string withholding;   // name|withheld|liability| triples
  std::string supplemental;  // kind'amount'tax list' triples

  // Gross pay less advance EIC: EIC is paid with the wages but is no wage.
  std::optional<Money> Taxable() const;
  // Whether the withholding list names `tax` followed by "|", letter case
  // ignored (a longer name ending in it passes; its triples do not count).
  bool MentionsTax(std::string_view tax) const;
  // The withholding triples named `tax` (letter case ignored).
  int TaxTriples(std::string_view tax) const;
};

// Runs `sql` forward-only and reads every row; raises DatabaseError when
// the query cannot be run.
std::vector<JournalRow> ReadJournalRows(Database& db, const std::string& sql);

// An amount item of a list, or nothing when it is empty or not an amount.
std::optional<Money> ListAmount(std::string_view text);

// Adds `amount` to `sum` unless the sum would overflow, which keeps it.
void AddAmount(Money& sum, std::optional<Money> amount);

// The sum of the amount items (the second field) of the triples of `list`
// named `name`, letter case ignored; an empty or unreadable item adds
// nothing.
Money NamedAmounts(std::string_view list, char separator, std::string_view name);

}  // namespace veltrane
