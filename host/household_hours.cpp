#include "host/household_hours.h"

#include "common/amount_text.h"
#include "host/host_errors.h"
#include "host/payroll_rows.h"
#include "host/user_input.h"

namespace veltrane::host {

HoursEntry CheckHours(Database& db, std::string_view name, std::string_view day,
                      std::string_view regular, std::optional<std::string_view> overtime) {
  HoursEntry entry;
  entry.name = RequireAssistant(db, name);
  entry.day = ReadDate("DATE", day);
  entry.regular = ReadHours("REG", regular);
  entry.overtime = overtime ? ReadHours("OT", *overtime) : 0.0f;
  if (static_cast<double>(entry.regular) + entry.overtime > 24) {
    throw UserError("REG and OT add up to more than the 24 hours of a day");
  }
  return entry;
}

void RecordHours(Database& db, std::span<const HoursEntry> entries) {
  TransactionScope tx(db);
  auto rs = db.OpenRecordset(kWorkJournalTable, RecordsetType::kTable);
  for (const HoursEntry& e : entries) {
    rs->AddNew();
    rs->SetField("Name", e.name);
    rs->SetField("TimeInDate", e.day);
    rs->SetField("RegHours", static_cast<double>(e.regular));
    rs->SetField("OTHours", static_cast<double>(e.overtime));
    rs->SetField("PaidFor", false);
    rs->Update();
  }
  rs->Close();
  tx.Commit();
}

std::vector<HoursEntry> ListHours(Database& db, const HoursFilter& filter) {
  std::string sql =
      "SELECT Name, TimeInDate, RegHours, OTHours, PaidFor FROM [Work Journal] WHERE 1=1";
  if (filter.name) sql += " AND [Name]='" + QuoteName(RequireAssistant(db, *filter.name)) + "'";
  std::optional<Date> from, to;
  if (filter.from) from = ReadDate("--from", *filter.from);
  if (filter.to) to = ReadDate("--to", *filter.to);
  if (from && to && *from > *to)
    throw UserError("--from is after --to; give the earlier day first");
  if (from) sql += " AND TimeInDate>=#" + FormatSqlDate(*from) + "#";
  if (to) sql += " AND TimeInDate<=#" + FormatSqlDate(*to) + "#";
  if (filter.unpaid_only) sql += " AND PaidFor=False";
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
  return entries;
}

}  // namespace veltrane::host
