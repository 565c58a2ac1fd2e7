// The host's paycheck control, as the transaction fills it. Every member is
// written, never read. A host overrides the members its control has; a
// member it leaves out raises MissingMemberError, which loses only that one
// step of a display.
#pragma once

#include <string>

#include "common/errors.h"
#include "common/money.h"

namespace veltrane {

class PayCheckControl {
 public:
  virtual ~PayCheckControl() = default;

  virtual void Clear() { throw MissingMemberError("Clear"); }
  virtual void EmployeeInfo(const std::string&) { throw MissingMemberError("EmployeeInfo"); }
  virtual void EmployerInfo(const std::string&) { throw MissingMemberError("EmployerInfo"); }
  virtual void CheckDate(const std::string&) { throw MissingMemberError("CheckDate"); }
  virtual void CheckNumber(const std::string&) { throw MissingMemberError("CheckNumber"); }
  virtual void PeriodStartDate(const std::string&) { throw MissingMemberError("PeriodStartDate"); }
  virtual void PeriodEndDate(const std::string&) { throw MissingMemberError("PeriodEndDate"); }
  virtual void payee(const std::string&) { throw MissingMemberError("payee"); }
  virtual void RegHours(float) { throw MissingMemberError("RegHours"); }
  virtual void OTHours(float) { throw MissingMemberError("OTHours"); }
  virtual void GrossPay(Money) { throw MissingMemberError("GrossPay"); }
  virtual void GrossYTD(Money) { throw MissingMemberError("GrossYTD"); }
  virtual void NetPay(Money) { throw MissingMemberError("NetPay"); }
  virtual void NetYTD(Money) { throw MissingMemberError("NetYTD"); }
  // Five-field rows: description|hours|rate|current|year to date|
  virtual void Earnings(const std::string&) { throw MissingMemberError("Earnings"); }
  // Three-field rows: name|current withholding|year to date|
  virtual void Deductions(const std::string&) { throw MissingMemberError("Deductions"); }
  virtual void Paid(bool) { throw MissingMemberError("Paid"); }
  virtual void Void(bool) { throw MissingMemberError("Void"); }
  virtual void HasSuppPay(bool) { throw MissingMemberError("HasSuppPay"); }
};

}  // namespace veltrane
