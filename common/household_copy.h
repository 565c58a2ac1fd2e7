// Copying a whole household from one payroll database to another, a file
// to a server or back.
#pragma once

#include "common/database.h"
#include "common/errors.h"

namespace veltrane {

// The database copied to holds payroll rows already; nothing was copied.
class HouseholdNotEmptyError : public DatabaseError {
 public:
  HouseholdNotEmptyError() : DatabaseError("it holds payroll rows already; nothing was copied") {}
};

// Copies every row of every payroll table of `from`, a payroll database of
// this layout (as OpenPayrollDatabase gives), to `to`: each field as stored
// (money to the ten-thousandth, days, flags, hours, texts) and each row's
// ID kept. `to` is given this layout first when it has none. All of it in
// one transaction of `to`, so that a failure leaves it as it was.
// Raises HouseholdNotEmptyError when a payroll table of `to` holds a row,
// PayrollSchemaError for a `to` of another application or a newer layout,
// DatabaseBusyError or DatabaseError otherwise. The two databases are the
// caller's; neither is kept.
void CopyHousehold(Database& from, Database& to);

}  // namespace veltrane
