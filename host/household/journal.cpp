#include "host/household/journal.h"

#include <limits>

#include "common/amount_text.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/household/rows.h"
#include "paytransaction/transaction.h"

namespace veltrane::household {
namespace {

// The stored check's row, opened on its own; a Fault when there is none.
std::unique_ptr<Recordset> RequireCheck(Database& db, std::int32_t id) {
  auto rs = db.OpenRecordset("SELECT * FROM [Payment Journal] WHERE ID=" + std::to_string(id),
                             RecordsetType::kForwardOnly);
  if (rs->IsEOF())
    throw Fault("id", "there is no check with ID " + std::to_string(id), Remedy::kListChecks);
  return rs;
}

// The check as a void would find it; a Fault when there is none or it is
// void already.
VoidOutcome CheckToVoid(Database& db, std::int32_t id) {
  VoidOutcome check;
  check.id = id;
  auto row = RequireCheck(db, id);
  check.payee = row->Field("payee").ToText();
  check.start = row->Field("start_period").ToDate();
  check.end = row->Field("end_period").ToDate();
  check.gross = row->Field("gross_pay").ToMoney();
  const bool was_void = row->Field("Void").ToBool();
  row->Close();
  if (was_void) throw Fault("", "check " + std::to_string(id) + " is already void");
  return check;
}

// The paid hours of the check's period that become payable again when it is
// void: those of days no other check that is not void pays.
std::string HoursFreedByVoid(const VoidOutcome& check) {
  return "[Name]='" + QuoteName(check.payee) + "' AND PaidFor=True AND TimeInDate>=#" +
         FormatSqlDate(check.start) + "# AND TimeInDate<=#" + FormatSqlDate(check.end) +
         "# AND NOT EXISTS (SELECT 1 FROM [Payment Journal] AS p WHERE p.payee=[Work "
         "Journal].[Name] "
         "AND p.[Void]=False AND p.ID<>" +
         std::to_string(check.id) +
         " AND p.start_period<=[Work Journal].TimeInDate AND p.end_period>=[Work "
         "Journal].TimeInDate)";
}

}  // namespace

std::int32_t ReadCheckId(std::string_view text) {
  return static_cast<std::int32_t>(
      ReadWholeNumber("id", text, 1, std::numeric_limits<std::int32_t>::max()));
}

std::vector<JournalEntry> ListChecks(Database& db, const JournalFilter& filter) {
  std::string sql =
      "SELECT ID, [Date], payee, check_number, start_period, end_period, gross_pay, net_pay, "
      "[Void] "
      "FROM [Payment Journal] WHERE 1=1";
  if (filter.payee) sql += " AND [payee]='" + QuoteName(RequireAssistant(db, *filter.payee)) + "'";
  std::optional<Date> from, to;
  if (filter.from) from = ReadDate("from", *filter.from);
  if (filter.to) to = ReadDate("to", *filter.to);
  if (from && to) RequireOrder(*from, *to);
  if (from) sql += " AND [Date]>=#" + FormatSqlDate(*from) + "#";
  if (to) sql += " AND [Date]<=#" + FormatSqlDate(*to) + "#";
  sql += " ORDER BY [Date], ID";

  std::vector<JournalEntry> entries;
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    entries.push_back({rs->Field("ID").ToInt(), rs->Field("Date").ToDate(),
                       rs->Field("payee").ToText(), rs->Field("check_number").ToText(),
                       rs->Field("start_period").ToDate(), rs->Field("end_period").ToDate(),
                       rs->Field("gross_pay").ToMoney(), rs->Field("net_pay").ToMoney(),
                       rs->Field("Void").ToBool()});
  }
  rs->Close();
  return entries;
}

PaycheckShown ShowCheck(Database& db, const Clock& clock, std::int32_t id) {
  RequireCheck(db, id)->Close();
  auto journal = db.OpenRecordset(kPaymentJournalTable, RecordsetType::kTable);
  MemoryPayCheck control;
  clsTransaction transaction(clock);
  transaction.DisplayPaidCheck(&control, *journal, id);
  journal->Close();
  return control.shown();
}

PaidTotals TotalsPaid(Database& db, std::string_view assistant) {
  PaidTotals totals;
  const std::string who = "='" + QuoteName(assistant) + "'";
  auto pay = db.OpenRecordset(
      "SELECT Count(ID) AS Checks, Sum(gross_pay) AS Gross, Sum(net_pay) AS Net, Sum(eic_pay) AS "
      "EIC FROM [Payment Journal] WHERE [payee]" +
          who + " AND [Void]=False",
      RecordsetType::kForwardOnly);
  totals.checks = pay->Field("Checks").ToInt();
  if (totals.checks > 0) {
    totals.gross = pay->Field("Gross").ToMoney();
    totals.net = pay->Field("Net").ToMoney();
    totals.eic = pay->Field("EIC").ToMoney();
  }
  pay->Close();
  auto hours = db.OpenRecordset(
      "SELECT Sum(RegHours) AS Reg, Sum(OTHours) AS OT, Count(ID) AS Entries FROM [Work Journal] "
      "WHERE [Name]" +
          who + " AND PaidFor=True",
      RecordsetType::kForwardOnly);
  if (hours->Field("Entries").ToInt() > 0) {
    totals.regular_hours = hours->Field("Reg").ToDouble();
    totals.overtime_hours = hours->Field("OT").ToDouble();
  }
  hours->Close();
  return totals;
}

VoidOutcome VoidCheck(Database& db, std::int32_t id) {
  TransactionScope tx(db);
  VoidOutcome outcome = CheckToVoid(db, id);
  db.Execute("UPDATE [Payment Journal] SET [Void]=True WHERE ID=" + std::to_string(id));
  outcome.hours_unpaid =
      db.Execute("UPDATE [Work Journal] SET PaidFor=False WHERE " + HoursFreedByVoid(outcome));
  tx.Commit();
  return outcome;
}

VoidPreview PreviewVoid(Database& db, std::int32_t id) {
  VoidPreview preview;
  preview.check = CheckToVoid(db, id);
  auto rs = db.OpenRecordset("SELECT TimeInDate FROM [Work Journal] WHERE " +
                                 HoursFreedByVoid(preview.check) + " ORDER BY TimeInDate",
                             RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    const Date day = rs->Field("TimeInDate").ToDate();
    ++preview.check.hours_unpaid;
    if (preview.days.empty() || preview.days.back() != day) preview.days.push_back(day);
  }
  rs->Close();
  return preview;
}

}  // namespace veltrane::household
