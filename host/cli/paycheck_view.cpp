#include "host/cli/paycheck_view.h"

#include <algorithm>
#include <sstream>
#include <string_view>
#include <vector>

#include "common/amount_text.h"
#include "host/cli/text_table.h"
#include "host/household/paycheck_lines.h"

namespace veltrane::cli {

using household::BlockLines;
using household::PaycheckLine;
using household::PaycheckLines;
using household::PaycheckStatus;

namespace {

constexpr std::size_t kRuleWidth = 66;

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

void ReportPayment(std::ostream& out, std::ostream& err,
                   const household::PaycheckOutcome& outcome) {
  const std::string id = std::to_string(outcome.check_id);
  std::string failure;
  try {
    std::ostringstream shown;  // whole or not at all: no half-drawn check
    RenderPaycheck(shown, outcome.shown);
    out << shown.str();
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "an unexpected failure";
  }
  if (!failure.empty()) {
    err << "paystead: warning: check ID " << id << " is paid and stored, but it cannot be shown ("
        << failure << "); see it with 'paystead check " << id << "'\n";
  }
  out << "Paid: check ID " << id << " is in the payment journal; " << outcome.hours_marked
      << (outcome.hours_marked == 1 ? " work-journal entry" : " work-journal entries")
      << " marked paid.\n";
}

}  // namespace veltrane::cli
