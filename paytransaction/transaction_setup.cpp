// Setting up a paycheck: what it holds, the hours of the work journal, the
// assistant's rates and elections, the pay period and the year-to-date sums
// of the payment journal.

#include "common/amount_text.h"
#include "common/date.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "paytransaction/record_access.h"
#include "paytransaction/transaction.h"

namespace veltrane {

clsTransaction::clsTransaction(const Clock& clock, OtherTaxRulesFactory other_taxes)
    : clock_(clock), other_taxes_(other_taxes ? std::move(other_taxes) : StandardOtherTaxRulesFactory()) {}

clsTransaction::~clsTransaction() = default;

void clsTransaction::InitTransaction(Database& pdb, Recordset& prcsTaxSettings, Recordset& prcsWorkJournal,
                                     Recordset& prcsMaster, Recordset& prcsPaymentJournal,
                                     Recordset& prcsAssistants, PayCheckControl* pvtPayCheck,
                                     const std::string& strAtten, const std::string& strStartDate,
                                     const std::string& strEndDate, const std::string& CheckNumber,
                                     bool NoTimesheet, const std::string& SuppPay) noexcept {
  RunStep([&] {
    db_ = &pdb;
    tax_settings_ = &prcsTaxSettings;
    work_journal_ = &prcsWorkJournal;
    master_ = &prcsMaster;
    payment_journal_ = &prcsPaymentJournal;
    assistants_ = &prcsAssistants;
    paycheck_ = pvtPayCheck;
    assistant_ = strAtten;
    start_date_ = strStartDate;
    end_date_ = strEndDate;
    check_number_ = CheckNumber;
    no_timesheet_ = NoTimesheet;
    supp_pay_ = SuppPay;
  });
  current_year_ = 0;
  RunStep([&] { current_year_ = static_cast<int>(clock_.Today().year()); });
  taxable_gross_ = ComputeTaxableGross();
  gross_pay_ytd_ = GetGrossPayYTD();
  record_ = WithholdingsAndLiabilities();
}

void clsTransaction::Reinit() noexcept {
  if (db_ == nullptr) return;  // nothing held yet to compute from
  InitTransaction(*db_, *tax_settings_, *work_journal_, *master_, *payment_journal_, *assistants_, paycheck_,
                  assistant_, start_date_, end_date_, check_number_, no_timesheet_, supp_pay_);
}

void clsTransaction::ComputeHoursManually(double RegHours, double OTHours) noexcept {
  manual_regular_hours_ = static_cast<float>(RegHours);
  manual_overtime_hours_ = static_cast<float>(OTHours);
  no_timesheet_ = true;
  Reinit();
}

void clsTransaction::UpdateManualNoTimeSheetPayPeriod(const std::string& strStart,
                                                      const std::string& strEnd) noexcept {
  no_timesheet_ = true;
  start_date_ = strStart;
  end_date_ = strEnd;
  Reinit();
}

float clsTransaction::GetRegularHours() const noexcept {
  return no_timesheet_ ? manual_regular_hours_ : HoursSum("RegHours", "RegTot");
}

float clsTransaction::GetOvertimeHours() const noexcept {
  return no_timesheet_ ? manual_overtime_hours_ : HoursSum("OTHours", "OTTot");
}

float clsTransaction::HoursSum(const char* column, const char* alias) const noexcept {
  float hours = 0;
  RunStep([&] {
    const std::string sql = std::string("SELECT Sum(") + column + ") As [" + alias +
                            "] FROM [Work Journal] WHERE [Name]='" + QuoteName(assistant_) +
                            "' AND [PaidFor]= False AND [TimeInDate] >=#" + FormatSqlDate(ParseDate(start_date_)) +
                            "# and [TimeInDate] <=#" + FormatSqlDate(ParseDate(end_date_)) + "#";
    auto rs = db_->OpenRecordset(sql, RecordsetType::kForwardOnly);
    const Value sum = rs->Field(alias);
    rs->Close();
    hours = sum.IsNull() ? 0.0f : static_cast<float>(sum.ToDouble());
  });
  return hours;
}

Recordset* clsTransaction::FindAssistant() const {
  return FindFirstRow(*assistants_, "Name='" + QuoteName(assistant_) + "'") ? assistants_ : nullptr;
}

Money clsTransaction::GetRegularRate() const noexcept {
  Money rate;
  RunStep([&] {
    if (Recordset* row = FindAssistant()) rate = row->Field("regular_hourly_rate").ToMoney();
  });
  return rate;
}

Money clsTransaction::GetOvertimeRate() const noexcept {
  Money rate;
  RunStep([&] {
    if (Recordset* row = FindAssistant()) rate = row->Field("overtime_hourly_rate").ToMoney();
  });
  return rate;
}

std::string clsTransaction::GetWithholdingElections() const noexcept {
  std::string elections;
  RunStep([&] {
    if (Recordset* row = FindAssistant()) elections = row->Field("Withholdings").ToText();
  });
  return elections;
}

std::string clsTransaction::GetPayPeriodName() const noexcept {
  std::string name;
  RunStep([&] {
    if (!MoveToFirstRow(*tax_settings_)) return;
    const Value stored = tax_settings_->Field("PayrollPeriod");
    if (stored.IsText() && stored.ToText().empty()) return;
    // A value that is Null or not a number counts as code 0.
    float code = 0;
    RunStep([&] { code = static_cast<float>(stored.ToDouble()); });
    for (int c = 0; c < kPayPeriodCount; ++c) {
      if (code == static_cast<float>(c)) name = PayPeriodName(c);
    }
  });
  return name;
}

Money clsTransaction::YearToDateSum(const char* column, const char* alias) const noexcept {
  Money sum;
  RunStep([&] {
    const std::string first = FormatSqlDate(MakeDate(current_year_, 1, 1));
    const std::string last = FormatSqlDate(MakeDate(current_year_, 12, 31));
    const std::string sql = std::string("SELECT Sum(") + column + ") As [" + alias +
                            "] FROM [Payment Journal] WHERE [payee]='" + QuoteName(assistant_) +
                            "' AND [paid]= True AND [void] = False AND [end_period]>=#" + first +
                            "# AND [end_period] <=#" + last + "#";
    auto rs = db_->OpenRecordset(sql, RecordsetType::kForwardOnly);
    const Value v = rs->Field(alias);
    rs->Close();
    if (!v.IsNull()) sum = v.ToMoney();
  });
  return sum;
}

Money clsTransaction::GetOvertimePayYTD() const noexcept { return YearToDateSum("gross_overtime", "OTTotYTD"); }
Money clsTransaction::GetRegularPayYTD() const noexcept { return YearToDateSum("gross_regular", "RegYTD"); }
Money clsTransaction::GetEICPaidYTD() const noexcept { return YearToDateSum("eic_pay", "EICYTD"); }
Money clsTransaction::GetNetPayYTD() const noexcept { return YearToDateSum("net_pay", "NetYTD"); }
Money clsTransaction::GetGrossPayYTD() const noexcept { return YearToDateSum("gross_pay", "GrossYTD"); }

}  // namespace veltrane
