// The payment journal: paystead check ID, paystead journal, paystead void ID.
#include <cstdint>
#include <limits>

#include "common/display.h"
#include "host/command.h"
#include "host/host_errors.h"
#include "host/listing_views.h"
#include "host/paycheck_view.h"
#include "host/payroll_rows.h"
#include "host/terminal_paycheck.h"
#include "host/user_input.h"
#include "paytransaction/transaction.h"

namespace veltrane::host {
namespace {

std::int32_t ReadCheckId(const std::string& text) {
  return static_cast<std::int32_t>(
      ReadWholeNumber("ID", text, 1, std::numeric_limits<std::int32_t>::max()));
}

// The stored check's row, opened on its own; UserError when there is none.
std::unique_ptr<Recordset> RequireCheck(Database& db, std::int32_t id) {
  auto rs = db.OpenRecordset("SELECT * FROM [Payment Journal] WHERE ID=" + std::to_string(id),
                             RecordsetType::kForwardOnly);
  if (rs->IsEOF())
    throw UserError("there is no check with ID " + std::to_string(id) + "; see 'paystead journal'");
  return rs;
}

void Check(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  const std::int32_t id = ReadCheckId(args.positionals[0]);
  RequireCheck(db, id)->Close();
  auto journal = db.OpenRecordset(kPaymentJournalTable, RecordsetType::kTable);
  TerminalPaycheck control;
  clsTransaction transaction(session.clock());
  transaction.DisplayPaidCheck(&control, *journal, id);
  journal->Close();
  RenderPaycheck(session.out(), control.shown());
}

void Journal(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  std::string sql =
      "SELECT ID, [Date], payee, check_number, start_period, end_period, gross_pay, net_pay, "
      "[Void] "
      "FROM [Payment Journal] WHERE 1=1";
  if (!args.positionals.empty())
    sql += " AND [payee]='" + QuoteName(RequireAssistant(db, args.positionals[0])) + "'";
  std::optional<Date> from, to;
  if (const auto v = args.Get("from")) from = ReadDate("--from", *v);
  if (const auto v = args.Get("to")) to = ReadDate("--to", *v);
  if (from && to && *from > *to)
    throw UserError("--from is after --to; give the earlier day first");
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
  RenderJournal(session.out(), entries);
}

// Voids the check and makes the hours of its period payable again, unless
// another check that is not void pays the same day.
void VoidCheck(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  const std::int32_t id = ReadCheckId(args.positionals[0]);
  TransactionScope tx(db);
  auto row = RequireCheck(db, id);
  const std::string payee = row->Field("payee").ToText();
  const Date start = row->Field("start_period").ToDate();
  const Date end = row->Field("end_period").ToDate();
  const Money gross = row->Field("gross_pay").ToMoney();
  const bool was_void = row->Field("Void").ToBool();
  row->Close();
  if (was_void) throw UserError("check " + std::to_string(id) + " is already void");

  db.Execute("UPDATE [Payment Journal] SET [Void]=True WHERE ID=" + std::to_string(id));
  const std::int64_t unpaid = db.Execute(
      "UPDATE [Work Journal] SET PaidFor=False WHERE [Name]='" + QuoteName(payee) +
      "' AND PaidFor=True AND TimeInDate>=#" + FormatSqlDate(start) + "# AND TimeInDate<=#" +
      FormatSqlDate(end) +
      "# AND NOT EXISTS (SELECT 1 FROM [Payment Journal] AS p WHERE p.payee=[Work Journal].[Name] "
      "AND p.[Void]=False AND p.start_period<=[Work Journal].TimeInDate AND p.end_period>=[Work "
      "Journal].TimeInDate)");
  tx.Commit();
  session.out() << "Check " << id << " (" << payee << ", " << FormatShortDate(start) << " to "
                << FormatShortDate(end) << ", " << FormatCurrency(gross) << ") is void; " << unpaid
                << (unpaid == 1 ? " work-journal entry" : " work-journal entries")
                << " of its period unpaid again.\n";
}

}  // namespace

void AddJournalCommands(CommandTable& table) {
  table.push_back({{"check"}, "ID", "show a stored check", "", {}, 1, 1, Check});
  table.push_back({{"journal"},
                   "[NAME]",
                   "list the stored checks, by check date",
                   "",
                   {{"from", true, false, "first check date", "DATE"},
                    {"to", true, false, "last check date", "DATE"}},
                   0,
                   1,
                   Journal});
  table.push_back({{"void"},
                   "ID",
                   "void a stored check",
                   "A void check leaves every total and statement. The hours of its period become\n"
                   "unpaid again, unless another check that is not void covers their day.",
                   {},
                   1,
                   1,
                   VoidCheck});
}

}  // namespace veltrane::host
