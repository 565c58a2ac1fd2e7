#include "host/cli/listing_views.h"

#include "common/amount_text.h"
#include "common/display.h"
#include "host/cli/text_table.h"
#include "host/household/elections.h"

namespace veltrane::cli {
namespace {

using Align = TextTable::Align;

std::string Plural(std::size_t n, const std::string& one, const std::string& many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void RenderHours(std::ostream& out, const std::vector<HoursEntry>& entries) {
  if (entries.empty()) {
    out << "No hours found.\n";
    return;
  }
  TextTable table(
      {{"Date"}, {"Assistant"}, {"Regular", Align::kRight}, {"Overtime", Align::kRight}, {"Paid"}});
  double regular = 0, overtime = 0;
  for (const HoursEntry& e : entries) {
    table.AddRow({FormatShortDate(e.day), e.name, FormatHours(e.regular), FormatHours(e.overtime),
                  e.paid ? "yes" : "no"});
    regular += e.regular;
    overtime += e.overtime;
  }
  table.Render(out);
  out << "Total: " << Plural(entries.size(), "entry", "entries") << ", "
      << FormatHours(static_cast<float>(regular)) << " regular and "
      << FormatHours(static_cast<float>(overtime)) << " overtime hours\n";
}

void RenderJournal(std::ostream& out, const std::vector<JournalEntry>& entries) {
  if (entries.empty()) {
    out << "No checks found.\n";
    return;
  }
  TextTable table({{"ID", Align::kRight},
                   {"Date"},
                   {"Payee"},
                   {"Check"},
                   {"Period"},
                   {"Gross", Align::kRight},
                   {"Net", Align::kRight},
                   {""}});
  Money gross, net;
  std::size_t counted = 0;
  for (const JournalEntry& e : entries) {
    table.AddRow({std::to_string(e.id), FormatShortDate(e.date), e.payee, e.check_number,
                  FormatShortDate(e.start) + " - " + FormatShortDate(e.end),
                  FormatCurrency(e.gross), FormatCurrency(e.net), e.is_void ? "VOID" : ""});
    if (e.is_void) continue;
    gross += e.gross;
    net += e.net;
    ++counted;
  }
  table.Render(out);
  out << "Total of " << Plural(counted, "check", "checks") << " not void: gross "
      << FormatCurrency(gross) << ", net " << FormatCurrency(net) << '\n';
}

void RenderAssistants(std::ostream& out, const std::vector<RowImage>& assistants) {
  if (assistants.empty()) {
    out << "No assistants yet; add one with 'paystead assistant add NAME'.\n";
    return;
  }
  TextTable table({{"Name"},
                   {"Full name"},
                   {"Rate", Align::kRight},
                   {"OT rate", Align::kRight},
                   {"Withholdings"}});
  const auto money = [](const Value& v) {
    return v.IsNull() ? std::string() : FormatCurrency(v.ToMoney());
  };
  for (const RowImage& a : assistants) {
    table.AddRow({a.Text("Name"), household::FullName(a), money(a.Get("regular_hourly_rate")),
                  money(a.Get("overtime_hourly_rate")),
                  household::DescribeElections(a.Text("Withholdings"))});
  }
  table.Render(out);
}

void RenderFields(std::ostream& out,
                  const std::vector<std::pair<std::string, std::string>>& fields) {
  TextTable table({{""}, {""}});
  for (const auto& [label, value] : fields) table.AddRow({label, value});
  table.Render(out);
}

}  // namespace veltrane::cli
