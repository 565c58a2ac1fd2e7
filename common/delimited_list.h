// The delimited lists that travel through the system: every field is
// followed by its separator, so lists join end to end and read as one.
//
// Reading splits the text at every separator (the text after the last one is
// one more field), then takes groups of k fields from field 0 while a whole
// group fits; a trailing incomplete group is ignored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/money.h"

namespace veltrane {

inline constexpr char kFieldSeparator = '|';       // every list but one
inline constexpr char kSuppPaySeparator = '\'';   // the supplemental pay list

// Fields per group of each list.
inline constexpr std::size_t kWithholdingFields = 3;    // name|withholding|liability|
inline constexpr std::size_t kSuppPayFields = 3;        // name'amount'tax list'
inline constexpr std::size_t kElectionFields = 3;       // tax|filing|number|
inline constexpr std::size_t kDeductionsFields = 3;     // name|current|year to date|
inline constexpr std::size_t kEarningsFields = 5;       // description|hours|rate|current|ytd|
inline constexpr std::size_t kTaxDefinitionFields = 9;  // name|flat|base|rates...|allowances|

using ListGroup = std::vector<std::string>;

std::vector<ListGroup> ReadList(std::string_view text, char separator, std::size_t group_size);

// The first group whose field 0 equals `name`, letter case ignored; null if
// none. The pointer is into `groups`.
const ListGroup* FindGroup(const std::vector<ListGroup>& groups, std::string_view name);

// Appends fields, each followed by the separator.
class ListWriter {
 public:
  explicit ListWriter(char separator = kFieldSeparator) : separator_(separator) {}
  ListWriter& Add(std::string_view field);
  ListWriter& Add(Money amount);  // as amount text
  const std::string& text() const { return text_; }

 private:
  char separator_;
  std::string text_;
};

}  // namespace veltrane
