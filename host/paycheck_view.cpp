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

void Blocks(std::ostream& out, const PaycheckShown& c) {
  const auto employer = BlockLines(c.employer_info);
  const auto employee = BlockLines(c.employee_info);
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

void RenderPaycheck(std::ostream& out, const PaycheckShown& c) {
  const std::string rule(kRuleWidth, '-');
  std::string heading = "PAYCHECK";
  if (!c.check_number.empty()) heading += " No. " + c.check_number;
  heading += "   " + PaycheckStatus(c);
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
  for (const PaycheckLine& l : PaycheckLines(c)) {
    if (l.kind == PaycheckLine::Kind::kHeading) {
      table.AddRow({l.label});
    } else {
      table.AddRow({(l.kind == PaycheckLine::Kind::kItem ? "  " : "") + l.label, l.hours, l.rate,
                    l.current, l.year_to_date});
    }
  }
  table.Render(out);
  out << rule << '\n';
}

}  // namespace veltrane::host
