#include "host/household/paying.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/sqlite_database.h"
#include "common/step.h"
#include "host/household/fault_point.h"
#include "host/household/rows.h"
#include "paytransaction/transaction.h"

namespace veltrane::household {
namespace {

// The record sets a transaction borrows; they live as long as it does.
struct TransactionRecordsets {
  explicit TransactionRecordsets(Database& db)
      : tax_settings(db.OpenRecordset(kTaxSettingsTable, RecordsetType::kTable)),
        work_journal(db.OpenRecordset(kWorkJournalTable, RecordsetType::kTable)),
        employer(db.OpenRecordset(kEmployerTable, RecordsetType::kTable)),
        payment_journal(db.OpenRecordset(kPaymentJournalTable, RecordsetType::kTable)),
        assistants(db.OpenRecordset(kAssistantsTable, RecordsetType::kTable)) {}

  std::unique_ptr<Recordset> tax_settings;
  std::unique_ptr<Recordset> work_journal;
  std::unique_ptr<Recordset> employer;
  std::unique_ptr<Recordset> payment_journal;
  std::unique_ptr<Recordset> assistants;
};

// Why a paycheck that shows this cannot be paid, if it cannot.
std::optional<Fault> Refusal(const PaycheckRequest& r, const PaycheckShown& shown) {
  const Money gross = shown.gross_pay.value_or(Money());
  const Money net = shown.net_pay.value_or(Money());
  if (gross.IsZero()) {
    return Fault("",
                 "there is nothing to pay " + r.assistant + " for " + FormatShortDate(r.from) +
                     " to " + FormatShortDate(r.to) + ": no unpaid hours",
                 Remedy::kRecordHours);
  }
  if (net < Money()) {
    return Fault(
        "", "the net pay would be " + FormatCurrency(net) + ": the withholdings exceed the pay");
  }
  return std::nullopt;
}

Fault AlreadyPaid(const PaycheckRequest& r, const PaidCheck& paid) {
  return Fault("",
               r.assistant + " is already paid for days of " + FormatShortDate(r.from) + " to " +
                   FormatShortDate(r.to) + ": check ID " + std::to_string(paid.id) +
                   (paid.number.empty() ? " (no check number)" : " (No. " + paid.number + ")") +
                   " pays " + FormatShortDate(paid.start) + " to " + FormatShortDate(paid.end),
               Remedy::kVoidCheck, paid.id);
}

// The period's criteria for the work-journal entries this paycheck pays,
// the same ones the transaction sums.
std::string UnpaidHoursOfPeriod(const PaycheckRequest& r) {
  return "[Name]='" + QuoteName(r.assistant) + "' AND [PaidFor]=False AND [TimeInDate]>=#" +
         FormatSqlDate(r.from) + "# AND [TimeInDate]<=#" + FormatSqlDate(r.to) + "#";
}

// An entry's hours as stored: the number, when it is one, and the text the
// message shows ("30", "nan", "none" for Null).
struct StoredHours {
  std::optional<double> number;
  std::string text = "none";
};

StoredHours ReadStoredHours(Recordset& rs, const char* field) {
  StoredHours hours;
  RunStep([&] {
    const Value v = rs.Field(field);
    if (v.IsNull()) return;
    hours.text = v.ToText();
    hours.number = v.ToDouble();
  });
  return hours;
}

bool IsDaysHours(const StoredHours& h) { return h.number && *h.number >= 0 && *h.number <= 24; }

// Another program may have written the work journal: an entry whose hours
// no day can hold would be paid as it stands (or make the sum infinite), so
// it stops the paycheck with the entry named.
void RequireDaysHours(Database& db, const PaycheckRequest& r) {
  auto rs = db.OpenRecordset("SELECT TimeInDate, RegHours, OTHours FROM [Work Journal] WHERE " +
                                 UnpaidHoursOfPeriod(r) + " ORDER BY TimeInDate, ID",
                             RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    const StoredHours regular = ReadStoredHours(*rs, "RegHours");
    const StoredHours overtime = ReadStoredHours(*rs, "OTHours");
    if (IsDaysHours(regular) && IsDaysHours(overtime) && *regular.number + *overtime.number <= 24)
      continue;
    std::string day = "a day that is not a date";
    RunStep([&] { day = FormatShortDate(rs->Field("TimeInDate").ToDate()); });
    throw Fault("", "the work journal holds hours for " + r.assistant + " on " + day +
                        " that a day cannot hold (regular " + regular.text + ", overtime " +
                        overtime.text + "); correct that entry, then prepare the paycheck again");
  }
  rs->Close();
}

std::int64_t NewestCheckId(Database& db) {
  auto rs = db.OpenRecordset("SELECT Max(ID) AS NewestID FROM [Payment Journal]",
                             RecordsetType::kForwardOnly);
  const std::int64_t id = rs->Field("NewestID").ToInt();
  rs->Close();
  return id;
}

// A paycheck prepared with clsTransaction over the five record sets and
// shown on an in-memory control; the transaction can then pay it.
struct PreparedPaycheck {
  PreparedPaycheck(Database& db, const Clock& clock, const PaycheckRequest& r)
      : sets(db), transaction(clock) {
    RequireDaysHours(db, r);
    // A check without a number takes the next one when it is prepared.
    const std::string number = r.check_number.empty() ? NextCheckNumber(db) : r.check_number;
    transaction.InitTransaction(db, *sets.tax_settings, *sets.work_journal, *sets.employer,
                                *sets.payment_journal, *sets.assistants, &control, r.assistant,
                                FormatShortDate(r.from), FormatShortDate(r.to), number, false,
                                r.supplemental_pay);
    if (r.manual_hours)
      transaction.ComputeHoursManually(r.manual_hours->first, r.manual_hours->second);
    transaction.DisplayCurrentAsCheck();
    outcome.shown = control.shown();
    outcome.fingerprint = PaycheckFingerprint(r, outcome.shown);
    outcome.refusal = Refusal(r, outcome.shown);
  }

  TransactionRecordsets sets;
  MemoryPayCheck control;
  clsTransaction transaction;
  PaycheckOutcome outcome;
};

}  // namespace

std::vector<PaidCheck> PaidChecks(Database& db, std::string_view assistant, Date from, Date to) {
  auto rs = db.OpenRecordset(
      "SELECT ID, check_number, start_period, end_period FROM [Payment Journal] WHERE [payee]='" +
          QuoteName(assistant) + "' AND [Paid]=True AND [Void]=False AND [start_period]<=#" +
          FormatSqlDate(to) + "# AND [end_period]>=#" + FormatSqlDate(from) +
          "# ORDER BY start_period, ID",
      RecordsetType::kForwardOnly);
  std::vector<PaidCheck> paid;
  for (; !rs->IsEOF(); rs->MoveNext()) {
    paid.push_back({rs->Field("ID").ToInt(), rs->Field("check_number").ToText(),
                    rs->Field("start_period").ToDate(), rs->Field("end_period").ToDate()});
  }
  rs->Close();
  return paid;
}

std::string NextCheckNumber(Database& db) {
  auto rs = db.OpenRecordset("SELECT check_number FROM [Payment Journal] WHERE check_number<>''",
                             RecordsetType::kForwardOnly);
  std::int64_t highest = 0;
  for (; !rs->IsEOF(); rs->MoveNext()) {
    // A number written by another program may be no number; it is not counted.
    RunStep([&] {
      highest = std::max(highest, ParseWholeNumber(rs->Field("check_number").ToText(), 0,
                                                   std::numeric_limits<std::int32_t>::max() - 1));
    });
  }
  rs->Close();
  return std::to_string(highest + 1);
}

void RequireFreeCheckNumber(Database& db, const std::string& number) {
  auto rs = db.OpenRecordset(
      "SELECT ID, payee, start_period, end_period FROM [Payment Journal] WHERE [Void]=False AND "
      "check_number='" +
          QuoteName(number) + "' ORDER BY ID",
      RecordsetType::kForwardOnly);
  if (rs->IsEOF()) return;
  const std::string text = "check number " + number + " is already used by check ID " +
                           std::to_string(rs->Field("ID").ToInt()) + " (" +
                           rs->Field("payee").ToText() + ", " +
                           FormatShortDate(rs->Field("start_period").ToDate()) + " to " +
                           FormatShortDate(rs->Field("end_period").ToDate()) +
                           "); give another number, or leave it blank for the next one";
  rs->Close();
  throw Fault("check", text);
}

std::optional<PaidCheck> PaidOverlap(Database& db, const PaycheckRequest& request) {
  const std::vector<PaidCheck> paid = PaidChecks(db, request.assistant, request.from, request.to);
  if (paid.empty()) return std::nullopt;
  return paid.front();
}

PaycheckOutcome PreparePaycheck(Database& db, const Clock& clock, const PaycheckRequest& request) {
  // A period already paid says so first: a form sent again is the likely cause.
  const auto paid = PaidOverlap(db, request);
  if (!paid && !request.check_number.empty()) RequireFreeCheckNumber(db, request.check_number);
  PaycheckOutcome outcome = PreparedPaycheck(db, clock, request).outcome;
  if (paid) outcome.refusal = AlreadyPaid(request, *paid);
  return outcome;
}

PaycheckOutcome PayPaycheck(Database& db, const Clock& clock, const PaycheckRequest& request) {
  // The write lock is taken before the payment journal and the hours are
  // read, so that no other payer can pay the period, and no entry can be
  // added, between these reads and the payment.
  TransactionScope tx(db);
  if (const auto paid = PaidOverlap(db, request)) throw AlreadyPaid(request, *paid);
  if (!request.check_number.empty()) RequireFreeCheckNumber(db, request.check_number);
  PreparedPaycheck prepared(db, clock, request);
  PaycheckOutcome& outcome = prepared.outcome;
  if (outcome.refusal) return outcome;
  if (!prepared.transaction.ExecutePayment()) {
    outcome.refusal = Fault("", "the payment could not be stored; nothing was paid");
    return outcome;
  }
  FaultPoint("after-payment");
  outcome.hours_marked =
      db.Execute("UPDATE [Work Journal] SET PaidFor=True WHERE " + UnpaidHoursOfPeriod(request));
  outcome.check_id = NewestCheckId(db);
  FaultPoint("before-commit");
  tx.Commit();
  outcome.paid = true;
  // Shows the check as it was stored. The hours shown stay those of the
  // paycheck, as the stored row does not hold them.
  prepared.transaction.DisplayPaidCheck(&prepared.control, *prepared.sets.payment_journal,
                                        static_cast<std::int32_t>(outcome.check_id));
  outcome.shown = prepared.control.shown();
  return outcome;
}

}  // namespace veltrane::household
