// Recording the paycheck in the payment journal; check number and
// supplemental pay.
#include <limits>
#include <utility>
#include <vector>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/step.h"
#include "paytransaction/record_access.h"
#include "paytransaction/transaction.h"

namespace veltrane {

bool clsTransaction::ExecutePayment() noexcept {
  if (payment_journal_ == nullptr) return false;
  // Every value first, so the year-to-date amounts in the tables cover the
  // earlier checks of the year and this one, but not the new row. A value
  // that cannot be computed is written as its default.
  const CheckTotals totals = ComputeTotals();
  Value today, start, end;
  RunStep([&] { today = clock_.Today(); });
  RunStep([&] { start = ParseDate(start_date_); });
  RunStep([&] { end = ParseDate(end_date_); });
  const std::vector<std::pair<const char*, Value>> row = {
      {"Date", today},
      {"payee", assistant_},
      {"employer_info", BuildEmployerBlock()},
      {"employee_info", BuildEmployeeBlock()},
      {"check_number", check_number_},
      {"start_period", start},
      {"end_period", end},
      {"Earnings", BuildEarningsTable(totals.eic)},
      {"Deductions", BuildDeductionsTable()},
      {"gross_overtime", GetGrossOvertime()},
      {"gross_regular", GetGrossRegular()},
      {"gross_pay", totals.gross_pay},
      {"gross_pay_ytd", totals.gross_pay_ytd},
      {"net_pay", totals.net_pay},
      {"net_pay_ytd", totals.net_pay_ytd},
      {"withholding_liability_data", record_},
      {"supplemental_pay_data", supp_pay_},
      {"eic_pay", totals.eic},
      {"Paid", true},
      {"Void", false},
  };

  // The row is stored whole or not at all: a field that cannot be assigned
  // abandons the row rather than leave it half written.
  Recordset& rs = *payment_journal_;
  const bool stored = RunStep([&] {
    rs.AddNew();
    try {
      for (const auto& [field, value] : row) rs.SetField(field, value);
      rs.Update();
    } catch (...) {
      RunStep([&] { rs.CancelUpdate(); });
      throw;
    }
  });
  RunStep([&] { MoveToFirstRow(rs); });
  return stored;
}

std::int32_t clsTransaction::CheckNumber() const noexcept {
  std::int32_t number = 0;
  RunStep([&] {
    number = static_cast<std::int32_t>(ParseWholeNumber(check_number_, std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max()));
  });
  return number;
}

void clsTransaction::AddSuppPay(const std::string& strSupp) noexcept {
  supp_pay_ += strSupp;
  Reinit();
}

}  // namespace veltrane
