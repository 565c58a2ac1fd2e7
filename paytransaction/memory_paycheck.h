// A ready in-memory paycheck control for hosts, tests and tools: it keeps
// what the transaction shows on it. Every member of the control is present.
#pragma once

#include <optional>
#include <string>

#include "common/money.h"
#include "paytransaction/paycheck_control.h"

namespace veltrane {

// What a paycheck control shows; members never set stay empty.
struct PaycheckShown {
  std::string employee_info;  // lines joined by CR LF
  std::string employer_info;
  std::string check_date;
  std::string check_number;
  std::string period_start;
  std::string period_end;
  std::string payee;
  std::optional<float> regular_hours;
  std::optional<float> overtime_hours;
  std::optional<Money> gross_pay;
  std::optional<Money> gross_ytd;
  std::optional<Money> net_pay;
  std::optional<Money> net_ytd;
  std::string earnings;    // description|hours|rate|current|year to date| rows
  std::string deductions;  // name|current|year to date| rows
  bool paid = false;
  bool is_void = false;
  bool has_supp_pay = false;
};

class MemoryPayCheck final : public PayCheckControl {
 public:
  const PaycheckShown& shown() const { return shown_; }

  void Clear() override { shown_ = PaycheckShown(); }
  void EmployeeInfo(const std::string& v) override { shown_.employee_info = v; }
  void EmployerInfo(const std::string& v) override { shown_.employer_info = v; }
  void CheckDate(const std::string& v) override { shown_.check_date = v; }
  void CheckNumber(const std::string& v) override { shown_.check_number = v; }
  void PeriodStartDate(const std::string& v) override { shown_.period_start = v; }
  void PeriodEndDate(const std::string& v) override { shown_.period_end = v; }
  void payee(const std::string& v) override { shown_.payee = v; }
  void RegHours(float v) override { shown_.regular_hours = v; }
  void OTHours(float v) override { shown_.overtime_hours = v; }
  void GrossPay(Money v) override { shown_.gross_pay = v; }
  void GrossYTD(Money v) override { shown_.gross_ytd = v; }
  void NetPay(Money v) override { shown_.net_pay = v; }
  void NetYTD(Money v) override { shown_.net_ytd = v; }
  void Earnings(const std::string& v) override { shown_.earnings = v; }
  void Deductions(const std::string& v) override { shown_.deductions = v; }
  void Paid(bool v) override { shown_.paid = v; }
  void Void(bool v) override { shown_.is_void = v; }
  void HasSuppPay(bool v) override { shown_.has_supp_pay = v; }

 private:
  PaycheckShown shown_;
};

}  // namespace veltrane
