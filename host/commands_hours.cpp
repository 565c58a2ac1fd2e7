// The work journal: paystead hours add|list.
#include "common/amount_text.h"
#include "common/display.h"
#include "host/command.h"
#include "host/household_hours.h"
#include "host/listing_views.h"

namespace veltrane::host {
namespace {

void HoursAdd(Session& session, const ParsedArgs& args) {
  const auto& p = args.positionals;
  Database& db = session.db();
  const HoursEntry entry = CheckHours(
      db, p[0], p[1], p[2], p.size() > 3 ? std::optional<std::string_view>(p[3]) : std::nullopt);
  RecordHours(db, {&entry, 1});
  session.out() << "Added " << FormatHours(entry.regular) << " regular and "
                << FormatHours(entry.overtime) << " overtime hours for " << entry.name << " on "
                << FormatShortDate(entry.day) << ".\n";
}

void HoursList(Session& session, const ParsedArgs& args) {
  HoursFilter filter;
  if (!args.positionals.empty()) filter.name = args.positionals[0];
  filter.from = args.Get("from");
  filter.to = args.Get("to");
  filter.unpaid_only = args.Has("unpaid");
  RenderHours(session.out(), ListHours(session.db(), filter));
}

}  // namespace

void AddHoursCommands(CommandTable& table) {
  table.push_back({{"hours", "add"},
                   "NAME DATE REG [OT]",
                   "record an assistant's regular and overtime hours of one day",
                   "DATE is m/d/yyyy or yyyy-mm-dd; hours are decimal (7.5), at most 24 in all.",
                   {},
                   3,
                   4,
                   HoursAdd});
  table.push_back({{"hours", "list"},
                   "[NAME]",
                   "list the work journal",
                   "",
                   {{"from", true, false, "first day", "DATE"},
                    {"to", true, false, "last day", "DATE"},
                    {"unpaid", false, false, "only hours not yet paid"}},
                   0,
                   1,
                   HoursList});
}

}  // namespace veltrane::host
