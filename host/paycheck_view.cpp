#include "host/paycheck_view.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/errors.h"
#include "host/text_table.h"

namespace veltrane::host {
namespace {

constexpr std::size_t kRuleWidth = 66;

std::vector<std::string> Lines(std::string_view block) {
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

std::string Status(const PaycheckShown& c) {
  if (c.is_void) return "VOID";
  return c.paid ? "PAID" : "NOT PAID";
}

void Blocks(std::ostream& out, const PaycheckShown& c) {
  const auto employer = Lines(c.employer_info);
  const auto employee = Lines(c.employee_info);
  constexpr std::string_view kNone = "(none on file)";
  std::size_t width = kNone.size();
  for (const auto& l : employer) width = std::max(width, l.size());
  width += 4;
  const auto row = [&](const std::string& left, const std::string& right) {
    std::string text = left + std::string(width - left.size(), ' ') + right;
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << '\n';
  };
  row("Employer", "Employee");
  if (employer.empty()) row(std::string(kNone), "");
  for (std::size_t i = 0; i < std::max(employer.size(), employee.size()); ++i) {
    row(i < employer.size() ? employer[i] : "", i < employee.size() ? employee[i] : "");
  }
}

}  // namespace

void RenderPaycheck(std::ostream& out, const PaycheckShown& c) {
  const std::string rule(kRuleWidth, '-');
  std::string heading = "PAYCHECK";
  if (!c.check_number.empty()) heading += " No. " + c.check_number;
  heading += "   " + Status(c);
  const std::string date = "Date " + c.check_date;
  out << rule << '\n';
  out << heading
      << std::string(kRuleWidth > heading.size() + date.size()
                         ? kRuleWidth - heading.size() - date.size()
                         : 1,
                     ' ')
      << date << '\n';
  out << "Pay to " << c.payee << "   for " << c.period_start << " to " << c.period_end << '\n';
  out << rule << '\n';
  Blocks(out, c);
  out << '\n';
  if (c.regular_hours || c.overtime_hours) {
    out << "Hours: " << FormatHours(c.regular_hours.value_or(0)) << " regular, "
        << FormatHours(c.overtime_hours.value_or(0)) << " overtime\n\n";
  }

  using Align = TextTable::Align;
  TextTable table({{"", Align::kLeft},
                   {"Hours", Align::kRight},
                   {"Rate", Align::kRight},
                   {"Current", Align::kRight},
                   {"Year to date", Align::kRight}});
  table.AddRow({"Earnings"});
  for (const ListGroup& r : ReadList(c.earnings, kFieldSeparator, kEarningsFields)) {
    // Rows without hours (the credit, supplemental pay) carry 0 hours at 0.
    const bool hourly = !(IsZeroText(r[1]) && IsZeroText(r[2]));
    table.AddRow({"  " + r[0], hourly ? r[1] : "", hourly ? Currency(r[2]) : "", Currency(r[3]),
                  Currency(r[4])});
  }
  table.AddRow({"Deductions"});
  const auto deductions = ReadList(c.deductions, kFieldSeparator, kDeductionsFields);
  if (deductions.empty()) table.AddRow({"  (none)"});
  for (const ListGroup& r : deductions)
    table.AddRow({"  " + r[0], "", "", Currency(r[1]), Currency(r[2])});
  table.AddRow({"Gross pay", "", "", Currency(c.gross_pay), Currency(c.gross_ytd)});
  table.AddRow({"Net pay", "", "", Currency(c.net_pay), Currency(c.net_ytd)});
  table.Render(out);
  out << rule << '\n';
}

}  // namespace veltrane::host
