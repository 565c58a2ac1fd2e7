// The work journal: paystead hours add|list.
#include "common/amount_text.h"
#include "common/display.h"
#include "host/command.h"
#include "host/host_errors.h"
#include "host/listing_views.h"
#include "host/payroll_rows.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

void HoursAdd(Session& session, const ParsedArgs& args) {
  const auto& p = args.positionals;
  Database& db = session.db();
  const std::string name = RequireAssistant(db, p[0]);
  const Date day = ReadDate("DATE", p[1]);
  const float regular = ReadHours("REG", p[2]);
  const float overtime = p.size() > 3 ? ReadHours("OT", p[3]) : 0.0f;
  if (static_cast<double>(regular) + overtime > 24) {
    throw UserError("REG and OT add up to more than the 24 hours of a day");
  }

  TransactionScope tx(db);
  auto rs = db.OpenRecordset(kWorkJournalTable, RecordsetType::kTable);
  rs->AddNew();
  rs->SetField("Name", name);
  rs->SetField("TimeInDate", day);
  rs->SetField("RegHours", static_cast<double>(regular));
  rs->SetField("OTHours", static_cast<double>(overtime));
  rs->SetField("PaidFor", false);
  rs->Update();
  rs->Close();
  tx.Commit();
  session.out() << "Added " << FormatHours(regular) << " regular and " << FormatHours(overtime)
                << " overtime hours for " << name << " on " << FormatShortDate(day) << ".\n";
}

void HoursList(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  std::string sql =
      "SELECT Name, TimeInDate, RegHours, OTHours, PaidFor FROM [Work Journal] WHERE 1=1";
  if (!args.positionals.empty())
    sql += " AND [Name]='" + QuoteName(RequireAssistant(db, args.positionals[0])) + "'";
  std::optional<Date> from, to;
  if (const auto v = args.Get("from")) from = ReadDate("--from", *v);
  if (const auto v = args.Get("to")) to = ReadDate("--to", *v);
  if (from && to && *from > *to)
    throw UserError("--from is after --to; give the earlier day first");
  if (from) sql += " AND TimeInDate>=#" + FormatSqlDate(*from) + "#";
  if (to) sql += " AND TimeInDate<=#" + FormatSqlDate(*to) + "#";
  if (args.Has("unpaid")) sql += " AND PaidFor=False";
  sql += " ORDER BY TimeInDate, Name, ID";

  std::vector<HoursEntry> entries;
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    entries.push_back({rs->Field("TimeInDate").ToDate(), rs->Field("Name").ToText(),
                       static_cast<float>(rs->Field("RegHours").ToDouble()),
                       static_cast<float>(rs->Field("OTHours").ToDouble()),
                       rs->Field("PaidFor").ToBool()});
  }
  rs->Close();
  RenderHours(session.out(), entries);
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
