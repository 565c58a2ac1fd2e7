// clsTransaction: one paycheck being prepared for one assistant and one pay
// period, from the unpaid hours of the work journal to a stored row of the
// payment journal.
//
// The host opens the database and the five record sets and hands them to
// InitTransaction with its paycheck control. They are borrowed: the object
// keeps references to them until the next InitTransaction or its own end,
// never closes them, and they must outlive that use. The payment journal
// set receives the paid check; the year-to-date amounts are read from the
// "Payment Journal" table of the database, so a set that holds only part of
// it does not change them. One clsFedTaxRules,
// created on first use, serves every transaction of the program (it reads
// the user's locale then); each withholding computation makes one other-tax
// calculator through the factory and releases it.
//
// No operation throws and none shows a message: a step that fails is
// skipped and what it would have set keeps its default (0, empty text).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/database.h"
#include "common/money.h"
#include "paytransaction/other_tax_rules.h"
#include "paytransaction/paycheck_control.h"

namespace veltrane {

class clsTransaction {
 public:
  // `clock` gives today's date (check date, current year) and must outlive
  // the object. An empty factory means the standard other-tax calculator.
  explicit clsTransaction(const Clock& clock = DefaultClock(), OtherTaxRulesFactory other_taxes = {});
  ~clsTransaction();
  clsTransaction(const clsTransaction&) = delete;
  clsTransaction& operator=(const clsTransaction&) = delete;

  // Holds the paycheck's particulars and computes its taxable gross, the
  // year-to-date gross and the withholding and liability record.
  // `pvtPayCheck` may be null (no display). Dates are host date texts.
  void InitTransaction(Database& pdb, Recordset& prcsTaxSettings, Recordset& prcsWorkJournal,
                       Recordset& prcsMaster, Recordset& prcsPaymentJournal, Recordset& prcsAssistants,
                       PayCheckControl* pvtPayCheck, const std::string& strAtten,
                       const std::string& strStartDate, const std::string& strEndDate,
                       const std::string& CheckNumber, bool NoTimesheet, const std::string& SuppPay) noexcept;

  // Switches to hours entered by hand and recomputes.
  void ComputeHoursManually(double RegHours, double OTHours) noexcept;
  // Switches to manual hours for a new period and recomputes.
  void UpdateManualNoTimeSheetPayPeriod(const std::string& strStart, const std::string& strEnd) noexcept;

  // A fresh record "name|withholding|liability|..." of the current paycheck;
  // the held record is not changed.
  std::string WithholdingsAndLiabilities() noexcept;
  std::string GetWithholdingsAndLiabilities() const { return record_; }
  // Replaces the held record as it is, until the next recomputation.
  void SetWithholdingsAndLiabilities(const std::string& strWL) { record_ = strWL; }

  void DisplayCurrentAsCheck() noexcept;
  // Shows the stored check `rcsID` of `rcsPaymentJournal` on `vtPaycheck`;
  // an unknown ID leaves the control cleared.
  void DisplayPaidCheck(PayCheckControl* vtPaycheck, Recordset& rcsPaymentJournal, std::int32_t rcsID) noexcept;

  // Adds the paycheck to the payment journal as one paid, non-void row.
  // Returns whether the row was stored; when it was not, nothing was
  // written. Marking the work journal's hours paid is the host's step.
  bool ExecutePayment() noexcept;

  void CheckNumber(std::int32_t number) { check_number_ = std::to_string(number); }
  // The held check number, 0 when it is empty or not a number.
  std::int32_t CheckNumber() const noexcept;

  // Appends complete supplemental pay items ("name'amount'taxes'") and
  // recomputes the paycheck.
  void AddSuppPay(const std::string& strSupp) noexcept;

 private:
  // Re-runs InitTransaction with everything held.
  void Reinit() noexcept;

  // Hours, rates, elections, pay period and year-to-date sums. Each absorbs
  // its own failures and then gives 0 or the empty text.
  float GetRegularHours() const noexcept;
  float GetOvertimeHours() const noexcept;
  float HoursSum(const char* column, const char* alias) const noexcept;
  Money GetRegularRate() const noexcept;
  Money GetOvertimeRate() const noexcept;
  std::string GetWithholdingElections() const noexcept;
  std::string GetPayPeriodName() const noexcept;
  Money GetRegularPayYTD() const noexcept;
  Money GetOvertimePayYTD() const noexcept;
  Money GetEICPaidYTD() const noexcept;
  Money GetNetPayYTD() const noexcept;
  Money GetGrossPayYTD() const noexcept;
  Money YearToDateSum(const char* column, const char* alias) const noexcept;
  // The assistant's row of the assistants set, or null when there is none.
  Recordset* FindAssistant() const;

  // The money of the paycheck.
  Money GetGrossRegular() const noexcept;
  Money GetGrossOvertime() const noexcept;
  Money GetSupplementalTotal() const noexcept;
  Money ComputeTaxableGross() const noexcept;
  std::string BuildTaxDefinitions() const noexcept;
  Money ComputeEICPayment() const noexcept;
  Money GetEICLimit() const noexcept;
  Money GetNetBeforeEIC() const noexcept;
  // The totals a check shows and stores; each is 0 when it cannot be computed.
  struct CheckTotals {
    Money eic, gross_pay, gross_pay_ytd, net_pay, net_pay_ytd;
  };
  CheckTotals ComputeTotals() const noexcept;

  // The texts of the check and their year-to-date amounts.
  std::string BuildEmployeeBlock() const noexcept;
  std::string BuildEmployerBlock() const noexcept;
  std::string BuildEarningsTable(Money eic) const noexcept;
  std::string BuildDeductionsTable() const noexcept;
  // Year-to-date amounts by lower-case name from one query of the payment
  // journal table: supplemental items, or withholdings of the records.
  std::map<std::string, Money> GetSupplementalYTD() const noexcept;
  std::map<std::string, Money> GetWithholdingYTD() const noexcept;
  std::map<std::string, Money> JournalYearToDate(bool supplemental) const noexcept;

  const Clock& clock_;
  OtherTaxRulesFactory other_taxes_;

  Database* db_ = nullptr;
  Recordset* tax_settings_ = nullptr;
  Recordset* work_journal_ = nullptr;
  Recordset* master_ = nullptr;
  Recordset* payment_journal_ = nullptr;
  Recordset* assistants_ = nullptr;
  PayCheckControl* paycheck_ = nullptr;

  std::string assistant_;
  std::string start_date_;
  std::string end_date_;
  std::string check_number_;
  bool no_timesheet_ = false;
  std::string supp_pay_;
  int current_year_ = 0;
  float manual_regular_hours_ = 0;
  float manual_overtime_hours_ = 0;
  Money taxable_gross_;
  Money gross_pay_ytd_;
  std::string record_;
};

}  // namespace veltrane
