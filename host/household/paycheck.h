// The road of one paycheck: the request checked, the paycheck prepared with
// clsTransaction over the five record sets and shown on an in-memory
// control, and, when asked, paid: the payment-journal row and the marking
// of the period's unpaid hours as paid are one database transaction, so
// that a crash leaves both or neither, and a day is paid once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "common/database.h"
#include "common/date.h"
#include "common/locale.h"
#include "host/household/fault.h"
#include "paytransaction/memory_paycheck.h"

namespace veltrane::household {

// A paycheck as a person asks for it, texts as typed. Fields: "assistant",
// "from" and "to" (the period), "check" (a check number no check that is
// not void has; empty for the next after the highest used),
// "hours" ("40" or "40,2": the regular and overtime hours of the period
// instead of the work journal's; empty for the journal's) and "supp"
// (supplemental pay items, "Bonus:50", or "Tip:20:Soc. Sec.,Medicare" with
// the elected taxes the item is subject to).
struct PaycheckInput {
  std::string assistant = {};
  std::string from = {};
  std::string to = {};
  std::string check = {};
  std::string hours = {};
  std::vector<std::string> supplemental = {};
};

// A request checked.
struct PaycheckRequest {
  std::string assistant;  // as stored in the assistants table
  Date from;
  Date to;
  std::string check_number;  // empty: the next number when the check is prepared
  // Regular and overtime hours entered by hand instead of the work journal.
  std::optional<std::pair<float, float>> manual_hours;
  std::string supplemental_pay;  // a supplemental pay list, may be empty
};

// A Fault naming the field at fault, or with Remedy::kSetPayPeriod when no
// pay period is set.
PaycheckRequest CheckPaycheckRequest(Database& db, const PaycheckInput& input);

struct PaycheckOutcome {
  PaycheckShown shown;
  // Changes whenever what the paycheck shows changes: a payment of a
  // preview names it, so that what is paid is what was looked at.
  std::string fingerprint;
  bool paid = false;
  std::int64_t check_id = 0;      // the stored row, when paid
  std::int64_t hours_marked = 0;  // work-journal entries marked paid
  // Why the paycheck is not paid, or paying it would be refused: a day of
  // the period already paid (Remedy::kVoidCheck), nothing to pay
  // (Remedy::kRecordHours), withholdings above the pay.
  std::optional<Fault> refusal;
};

// Prepares the paycheck as of `clock`'s today and shows it; stores nothing.
// A Fault when the work journal holds hours of the period that cannot be a
// day's, or when a check not void has the check number asked for.
PaycheckOutcome PreparePaycheck(Database& db, const Clock& clock, const PaycheckRequest& request);

// Prepares, shows and pays the paycheck in one write transaction, so that
// no other payer comes between its checks and the payment. A day of the
// period already paid by a check that is not void is a Fault
// (Remedy::kVoidCheck), as are a check number in use and hours no day can
// hold; a paycheck with
// nothing to pay or a negative net pay is not paid (outcome.refusal).
// Nothing is stored unless outcome.paid.
PaycheckOutcome PayPaycheck(Database& db, const Clock& clock, const PaycheckRequest& request);

// Pays the paycheck only when it still is the one previewed with
// `fingerprint`; otherwise nothing is stored and outcome.refusal says
// whether the period is already paid (a form sent twice) or the paycheck
// changed since the preview.
PaycheckOutcome PayPreviewedPaycheck(Database& db, const Clock& clock,
                                     const PaycheckRequest& request,
                                     const std::string& fingerprint);

// Why the federal taxes of every paycheck are 0 under this locale, to be
// told before a paycheck is shown; nullopt under US English.
std::optional<std::string> LocaleWarning(const LocaleProvider& locale);

}  // namespace veltrane::household
