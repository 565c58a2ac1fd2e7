// The work journal: paystead hours add|list.
#include "common/amount_text.h"
#include "common/display.h"
#include "host/cli/command.h"
#include "host/cli/listing_views.h"
#include "host/household/hours.h"

namespace veltrane::cli {
namespace {

void HoursAdd(Session& session, const ParsedArgs& args) {
  const auto& p = args.positionals;
  Database& db = session.db();
  const household::HoursEntry entry =
      household::CheckHours(db, {p[0], p[1], p[2], p.size() > 3 ? p[3] : ""});
  household::RecordHours(db, {&entry, 1});
  session.out() << "Added " << FormatHours(entry.regular) << " regular and "
                << FormatHours(entry.overtime) << " overtime hours for " << entry.name << " on "
                << FormatShortDate(entry.day) << ".\n";
}

void HoursSet(Session& session, const ParsedArgs& args) {
  const auto& p = args.positionals;
  Database& db = session.db();
  const household::HoursEntry entry =
      household::CheckHours(db, {p[0], p[1], p[2], p.size() > 3 ? p[3] : ""});
  household::SetHours(db, {&entry, 1});
  session.out() << "Set the unpaid hours of " << entry.name << " on " << FormatShortDate(entry.day)
                << " to " << FormatHours(entry.regular) << " regular and "
                << FormatHours(entry.overtime) << " overtime.\n";
}

void HoursDelete(Session& session, const ParsedArgs& args) {
  const household::HoursEntry removed =
      household::DeleteHours(session.db(), args.positionals[0], args.positionals[1]);
  session.out() << "Removed the unpaid hours of " << removed.name << " on "
                << FormatShortDate(removed.day) << ": " << FormatHours(removed.regular)
                << " regular and " << FormatHours(removed.overtime) << " overtime.\n";
}

void HoursList(Session& session, const ParsedArgs& args) {
  household::HoursFilter filter;
  if (!args.positionals.empty()) filter.assistant = args.positionals[0];
  filter.from = args.Get("from");
  filter.to = args.Get("to");
  filter.unpaid_only = args.Has("unpaid");
  RenderHours(session.out(), household::ListHours(session.db(), filter));
}

}  // namespace

void AddHoursCommands(CommandTable& table) {
  table.push_back({{"hours", "add"},
                   "NAME DATE REG [OT]",
                   "record an assistant's regular and overtime hours of one day",
                   "DATE is m/d/yyyy or yyyy-mm-dd; hours are decimal (7.5), at most 24 in a day\n"
                   "with the hours already recorded for it.",
                   {},
                   3,
                   4,
                   HoursAdd,
                   {"assistant", "date", "regular", "overtime"}});
  table.push_back({{"hours", "set"},
                   "NAME DATE REG [OT]",
                   "correct an assistant's unpaid hours of one day: they become REG and OT",
                   "Replaces every unpaid entry of that day with one; 0 hours remove them. The\n"
                   "hours of a day a check pays cannot change until that check is voided.",
                   {},
                   3,
                   4,
                   HoursSet,
                   {"assistant", "date", "regular", "overtime"}});
  table.push_back({{"hours", "delete"},
                   "NAME DATE",
                   "remove an assistant's unpaid hours of one day",
                   "The hours of a day a check pays cannot change until that check is voided.",
                   {},
                   2,
                   2,
                   HoursDelete,
                   {"assistant", "date"}});
  table.push_back({{"hours", "list"},
                   "[NAME]",
                   "list the work journal",
                   "",
                   {{"from", true, false, "first day", "DATE"},
                    {"to", true, false, "last day", "DATE"},
                    {"unpaid", false, false, "only hours not yet paid"}},
                   0,
                   1,
                   HoursList,
                   {"assistant"}});
}

}  // namespace veltrane::cli
