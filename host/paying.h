// The road of one paycheck, shared by 'paystead paycheck' and the demo:
// prepare it with clsTransaction over the five record sets, show it on the
// terminal control, and, when asked, pay it: the payment-journal row and the
// marking of the period's unpaid hours as paid are one database transaction,
// so that a crash leaves both or neither, and a period is paid once.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "common/clock.h"
#include "common/database.h"
#include "common/date.h"
#include "host/terminal_paycheck.h"

namespace veltrane::host {

struct PaycheckRequest {
  std::string assistant;  // as stored in the assistants table
  Date from;
  Date to;
  std::string check_number;  // may be empty
  // Regular and overtime hours entered by hand instead of the work journal.
  std::optional<std::pair<float, float>> manual_hours;
  std::string supplemental_pay;  // a supplemental pay list, may be empty
};

struct PaycheckOutcome {
  PaycheckShown shown;
  bool paid = false;
  std::int64_t check_id = 0;      // the stored row, when paid
  std::int64_t hours_marked = 0;  // work-journal entries marked paid
  std::string refusal;            // why a payment was not made, when asked and not paid
};

// Prepares the paycheck as of `clock`'s today and shows it; stores nothing.
// Raises UserError when the work journal holds hours of the period that
// cannot be a day's.
PaycheckOutcome PreparePaycheck(Database& db, const Clock& clock, const PaycheckRequest& request);

// Prepares, shows and pays the paycheck in one write transaction, so that
// no other payer comes between its checks and the payment. Raises
// UserError, storing nothing, when a paid check that is not void pays a day
// of the period (PaidOverlap) or when the work journal holds hours of the
// period that cannot be a day's. A paycheck with nothing to pay or a
// negative net pay is refused (outcome.refusal) and nothing is stored.
PaycheckOutcome PayPaycheck(Database& db, const Clock& clock, const PaycheckRequest& request);

// Why the request's period cannot be paid again: the paid check, not void,
// of the same assistant whose period shares a day with it, named by ID,
// number and period; empty when there is none.
std::string PaidOverlap(Database& db, const PaycheckRequest& request);

// Shows a paid check on `out` and says where it is stored. The payment is
// already committed, so a check that cannot be shown is reported on `err`
// and the report still ends as a success; nothing is raised.
void ReportPayment(std::ostream& out, std::ostream& err, const PaycheckOutcome& outcome);

}  // namespace veltrane::host
