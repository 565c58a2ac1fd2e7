#include "host/household/hours.h"

#include <chrono>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/text.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/household/paying.h"
#include "host/household/rows.h"

namespace veltrane::household {
namespace {

std::string OfDay(const std::string& name, Date day) {
  return "[Name]='" + QuoteName(name) + "' AND TimeInDate=#" + FormatSqlDate(day) + "#";
}

// The hours of a day a check pays cannot change.
void RequireUnpaidDay(Database& db, const std::string& name, Date day) {
  const std::vector<PaidCheck> paid = PaidChecks(db, name, day, day);
  if (paid.empty()) return;
  throw Fault("date",
              "the hours of " + name + " on " + FormatShortDate(day) + " are paid by check ID " +
                  std::to_string(paid.front().id) + ", for " + FormatShortDate(paid.front().start) +
                  " to " + FormatShortDate(paid.front().end),
              Remedy::kVoidToChange, paid.front().id);
}

struct DaySums {
  double all = 0;  // every entry, paid or not
  int unpaid_entries = 0;
  double unpaid_regular = 0, unpaid_overtime = 0;
};

DaySums SumsOfDay(Database& db, const std::string& name, Date day) {
  auto rs = db.OpenRecordset(
      "SELECT RegHours, OTHours, PaidFor FROM [Work Journal] WHERE " + OfDay(name, day),
      RecordsetType::kForwardOnly);
  DaySums sums;
  for (; !rs->IsEOF(); rs->MoveNext()) {
    const double regular = rs->Field("RegHours").ToDouble();
    const double overtime = rs->Field("OTHours").ToDouble();
    sums.all += regular + overtime;
    if (rs->Field("PaidFor").ToBool()) continue;
    ++sums.unpaid_entries;
    sums.unpaid_regular += regular;
    sums.unpaid_overtime += overtime;
  }
  rs->Close();
  return sums;
}

[[noreturn]] void TooMany(const HoursEntry& e, double recorded) {
  throw Fault("regular", FieldRef("regular") + " and " + FieldRef("overtime") +
                             " add up to more than the 24 hours of a day with the " +
                             FormatHours(static_cast<float>(recorded)) + " already recorded for " +
                             e.name + " on " + FormatShortDate(e.day));
}

void Insert(Recordset& rs, const HoursEntry& e) {
  rs.AddNew();
  rs.SetField("Name", e.name);
  rs.SetField("TimeInDate", e.day);
  rs.SetField("RegHours", static_cast<double>(e.regular));
  rs.SetField("OTHours", static_cast<double>(e.overtime));
  rs.SetField("PaidFor", false);
  rs.Update();
}

}  // namespace

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
  std::map<std::pair<std::string, Date>, double> added;  // by this call, per day
  for (const HoursEntry& e : entries) {
    RequireUnpaidDay(db, e.name, e.day);
    double& day = added[{e.name, e.day}];
    const double recorded = SumsOfDay(db, e.name, e.day).all + day;
    if (recorded + e.regular + e.overtime > 24) TooMany(e, recorded);
    day += static_cast<double>(e.regular) + e.overtime;
  }
  auto rs = db.OpenRecordset(kWorkJournalTable, RecordsetType::kTable);
  for (const HoursEntry& e : entries) Insert(*rs, e);
  rs->Close();
  tx.Commit();
}

int SetHours(Database& db, std::span<const HoursEntry> entries) {
  int changed = 0;
  TransactionScope tx(db);
  auto rs = db.OpenRecordset(kWorkJournalTable, RecordsetType::kTable);
  for (const HoursEntry& e : entries) {
    RequireUnpaidDay(db, e.name, e.day);
    const DaySums sums = SumsOfDay(db, e.name, e.day);
    const bool none = e.regular == 0 && e.overtime == 0;
    const bool same = none ? sums.unpaid_entries == 0
                           : sums.unpaid_entries == 1 && sums.unpaid_regular == e.regular &&
                                 sums.unpaid_overtime == e.overtime;
    if (same) continue;
    const double paid = sums.all - sums.unpaid_regular - sums.unpaid_overtime;
    if (paid + e.regular + e.overtime > 24) TooMany(e, paid);
    db.Execute("DELETE FROM [Work Journal] WHERE " + OfDay(e.name, e.day) + " AND PaidFor=False");
    if (!none) Insert(*rs, e);
    ++changed;
  }
  rs->Close();
  tx.Commit();
  return changed;
}

HoursEntry DeleteHours(Database& db, std::string_view assistant, std::string_view date) {
  HoursEntry removed;
  removed.name = RequireAssistant(db, assistant);
  removed.day = ReadDate("date", date);
  TransactionScope tx(db);
  const DaySums sums = SumsOfDay(db, removed.name, removed.day);
  RequireUnpaidDay(db, removed.name, removed.day);
  if (sums.unpaid_entries == 0) {
    throw Fault("date", "no unpaid hours are recorded for " + removed.name + " on " +
                            FormatShortDate(removed.day));
  }
  db.Execute("DELETE FROM [Work Journal] WHERE " + OfDay(removed.name, removed.day) +
             " AND PaidFor=False");
  tx.Commit();
  removed.regular = static_cast<float>(sums.unpaid_regular);
  removed.overtime = static_cast<float>(sums.unpaid_overtime);
  return removed;
}

std::map<std::pair<std::string, Date>, RecordedDay> RecordedDays(Database& db, Date first,
                                                                 Date last) {
  std::map<std::pair<std::string, Date>, RecordedDay> recorded;
  for (const HoursEntry& e :
       ListHours(db, {std::nullopt, FormatShortDate(first), FormatShortDate(last), false})) {
    RecordedDay& day = recorded[{e.name, e.day}];
    (e.paid ? day.paid_regular : day.regular) += e.regular;
    (e.paid ? day.paid_overtime : day.overtime) += e.overtime;
    if (!e.paid) ++day.entries;
  }
  using std::chrono::days;
  using std::chrono::sys_days;
  for (const std::string& name : AssistantNames(db)) {
    for (const PaidCheck& check : PaidChecks(db, name, first, last)) {
      const sys_days from = std::max(sys_days(check.start), sys_days(first));
      const sys_days to = std::min(sys_days(check.end), sys_days(last));
      for (sys_days d = from; d <= to; d += days(1)) {
        RecordedDay& day = recorded[{name, Date(d)}];
        if (!day.paid_by) day.paid_by = check.id;
      }
    }
  }
  return recorded;
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
