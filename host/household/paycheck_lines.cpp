#include "host/household/paycheck_lines.h"

#include <optional>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/errors.h"

namespace veltrane::household {
namespace {

// An amount of a table as currency; a text that is not an amount is shown
// as it stands rather than hidden.
std::string Currency(const std::string& amount_text) {
  try {
    return FormatCurrency(ParseAmount(amount_text));
  } catch (const ConversionError&) {
    return amount_text;
  }
}

std::string Currency(const std::optional<Money>& amount) {
  return amount ? FormatCurrency(*amount) : "";
}

bool IsZeroText(const std::string& text) {
  try {
    return ParseNumber(text) == 0;
  } catch (const ConversionError&) {
    return false;
  }
}

}  // namespace

std::vector<std::string> BlockLines(std::string_view block) {
  std::vector<std::string> lines;
  if (block.empty()) return lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = block.find("\r\n", start);
    lines.emplace_back(
        block.substr(start, end == std::string_view::npos ? block.npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 2;
  }
  return lines;
}

PaycheckShown PayStubOf(const PaycheckShown& check) {
  PaycheckShown stub = check;
  const std::size_t last_line = stub.employee_info.rfind("\r\n");
  if (last_line == std::string::npos) return stub;
  std::string& block = stub.employee_info;
  int kept = 0;
  for (std::size_t i = block.size(); i > last_line + 2; --i) {
    char& c = block[i - 1];
    if (c >= '0' && c <= '9' && ++kept > 4) c = 'X';
  }
  return stub;
}

std::string PaycheckStatus(const PaycheckShown& c) {
  if (c.is_void) return "VOID";
  return c.paid ? "PAID" : "NOT PAID";
}

std::vector<PaycheckLine> PaycheckLines(const PaycheckShown& c) {
  using Kind = PaycheckLine::Kind;
  std::vector<PaycheckLine> lines;
  lines.push_back({Kind::kHeading, "Earnings", "", "", "", ""});
  for (const ListGroup& r : ReadList(c.earnings, kFieldSeparator, kEarningsFields)) {
    // Rows without hours (the credit, supplemental pay) carry 0 hours at 0.
    const bool hourly = !(IsZeroText(r[1]) && IsZeroText(r[2]));
    lines.push_back({Kind::kItem, r[0], hourly ? r[1] : "", hourly ? Currency(r[2]) : "",
                     Currency(r[3]), Currency(r[4])});
  }
  lines.push_back({Kind::kHeading, "Deductions", "", "", "", ""});
  const auto deductions = ReadList(c.deductions, kFieldSeparator, kDeductionsFields);
  if (deductions.empty()) lines.push_back({Kind::kItem, "(none)", "", "", "", ""});
  for (const ListGroup& r : deductions)
    lines.push_back({Kind::kItem, r[0], "", "", Currency(r[1]), Currency(r[2])});
  lines.push_back(
      {Kind::kTotal, "Gross pay", "", "", Currency(c.gross_pay), Currency(c.gross_ytd)});
  lines.push_back({Kind::kTotal, "Net pay", "", "", Currency(c.net_pay), Currency(c.net_ytd)});
  return lines;
}

}  // namespace veltrane::household
