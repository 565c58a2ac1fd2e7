#include "host/household/hours.h"

#include "common/amount_text.h"
#include "common/text.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/household/rows.h"

namespace veltrane::household {

HoursEntry CheckHours(Database& db, const HoursInput& input) {
  HoursEntry entry;
  entry.name = RequireAssistant(db, input.assistant);
  entry.day = ReadDate("date", input.date);
  // A blank is no hours, as on a time sheet.
  entry.regular = Trim(input.regular).empty() ? 0.0f : ReadHours("regular", input.regular);
  entry.overtime = Trim(input.overtime).empty() ? 0.0f : ReadHours("overtime", input.overtime);
  if (static_cast<double>(entry.regular) + entry.overtime > 24) {
    throw Fault("regular", FieldRef("regular") + " and " + FieldRef("overtime") +
                               " add up to more than the 24 hours of a day");
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
  if (filter.assistant)
    sql += " AND [Name]='" + QuoteName(RequireAssistant(db, *filter.assistant)) + "'";
  std::optional<Date> from, to;
  if (filter.from) from = ReadDate("from", *filter.from);
  if (filter.to) to = ReadDate("to", *filter.to);
  if (from && to) RequireOrder(*from, *to);
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

}  // namespace veltrane::household
