// A payroll database of either kind, the five record sets a host hands
// over, and a paycheck control that keeps every call in order.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/amount_text.h"
#include "common/clock.h"
#include "common/payroll_schema.h"
#include "paytransaction/transaction.h"
#include "support/test_databases.h"

namespace veltrane::testing {

inline Money M(const char* text) { return ParseAmount(text); }

class RecordingPayCheck : public PayCheckControl {
 public:
  std::vector<std::string> calls;        // "Member=value", in order
  std::map<std::string, std::string> last;  // latest value of each member

  void Clear() override { Note("Clear", ""); }
  void EmployeeInfo(const std::string& v) override { Note("EmployeeInfo", v); }
  void EmployerInfo(const std::string& v) override { Note("EmployerInfo", v); }
  void CheckDate(const std::string& v) override { Note("CheckDate", v); }
  void CheckNumber(const std::string& v) override { Note("CheckNumber", v); }
  void PeriodStartDate(const std::string& v) override { Note("PeriodStartDate", v); }
  void PeriodEndDate(const std::string& v) override { Note("PeriodEndDate", v); }
  void payee(const std::string& v) override { Note("payee", v); }
  void RegHours(float v) override { Note("RegHours", FormatHours(v)); }
  void OTHours(float v) override { Note("OTHours", FormatHours(v)); }
  void GrossPay(Money v) override { Note("GrossPay", FormatAmount(v)); }
  void GrossYTD(Money v) override { Note("GrossYTD", FormatAmount(v)); }
  void NetPay(Money v) override { Note("NetPay", FormatAmount(v)); }
  void NetYTD(Money v) override { Note("NetYTD", FormatAmount(v)); }
  void Earnings(const std::string& v) override { Note("Earnings", v); }
  void Deductions(const std::string& v) override { Note("Deductions", v); }
  void Paid(bool v) override { Note("Paid", v ? "True" : "False"); }
  void Void(bool v) override { Note("Void", v ? "True" : "False"); }
  void HasSuppPay(bool v) override { Note("HasSuppPay", v ? "True" : "False"); }

 private:
  void Note(const std::string& member, const std::string& value) {
    calls.push_back(member + "=" + value);
    last[member] = value;
  }
};

using Fields = std::vector<std::pair<std::string, Value>>;

class TransactionTest : public ::testing::TestWithParam<Backend> {
 protected:
  TransactionTest() : clock(MakeDate(2004, 3, 15)) { ::setenv("LC_ALL", "en_US.UTF-8", 1); }

  void SetUp() final {
    db = NewPayrollDatabase(GetParam());
    if (db) SetUpHousehold();
  }
  // The rows a fixture starts from.
  virtual void SetUpHousehold() {}

  void Insert(const std::string& table, const Fields& fields) {
    auto rs = db->OpenRecordset(table, RecordsetType::kTable);
    rs->AddNew();
    for (const auto& [name, value] : fields) rs->SetField(name, value);
    rs->Update();
  }

  void AddAssistant(const std::string& name, const char* rate, const char* ot_rate, const std::string& elections,
                    Fields more = {}) {
    more.insert(more.begin(), {{"Name", name},
                               {"first_name", "Ann"},
                               {"last_name", "Lee"},
                               {"regular_hourly_rate", M(rate)},
                               {"overtime_hourly_rate", M(ot_rate)},
                               {"Withholdings", elections}});
    Insert("Assistants", more);
  }

  void AddHours(const std::string& name, const char* day, double reg, double ot = 0, bool paid = false) {
    Insert("Work Journal", {{"Name", name}, {"TimeInDate", ParseDate(day)}, {"RegHours", reg}, {"OTHours", ot},
                            {"PaidFor", paid}});
  }

  // A stored check of an earlier paycheck.
  void AddPayment(const std::string& payee, const char* end, Fields more = {}, bool paid = true, bool is_void = false) {
    more.insert(more.begin(), {{"payee", payee}, {"Date", ParseDate(end)}, {"start_period", ParseDate(end)},
                               {"end_period", ParseDate(end)}, {"Paid", paid}, {"Void", is_void}});
    Insert("Payment Journal", more);
  }

  // Replaces the tax settings row; call before the first Init.
  void Settings(const Fields& fields) {
    db->Execute("DELETE FROM [Tax Settings]");
    Insert("Tax Settings", fields);
  }

  void OpenSets() {
    tax_settings = db->OpenRecordset("Tax Settings", RecordsetType::kTable);
    work_journal = db->OpenRecordset("Work Journal", RecordsetType::kTable);
    master = db->OpenRecordset("Employer", RecordsetType::kTable);
    payment_journal = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
    assistants = db->OpenRecordset("Assistants", RecordsetType::kTable);
  }

  // Opens the host's record sets (first time) and sets up the paycheck.
  void Init(const std::string& name, const std::string& start = "3/1/04", const std::string& end = "3/7/04",
            const std::string& supp = "", const std::string& check = "", bool no_timesheet = false) {
    if (!tax_settings) OpenSets();
    tx.InitTransaction(*db, *tax_settings, *work_journal, *master, *payment_journal, *assistants, &paycheck, name,
                       start, end, check, no_timesheet, supp);
  }

  // The paycheck as DisplayCurrentAsCheck shows it.
  std::map<std::string, std::string> Shown() {
    paycheck = RecordingPayCheck();
    tx.DisplayCurrentAsCheck();
    return paycheck.last;
  }

  // Every stored row of the payment journal, freshly read.
  std::unique_ptr<Recordset> Journal() { return db->OpenRecordset("Payment Journal", RecordsetType::kDynaset); }

  FixedClock clock;
  std::unique_ptr<Database> db;
  std::unique_ptr<Recordset> tax_settings, work_journal, master, payment_journal, assistants;
  RecordingPayCheck paycheck;
  clsTransaction tx{clock};
};

inline const char* kFederal = "FIT|Single|1|Soc. Sec.|||Medicare|||FUTA|||";
inline const Fields kWeekly = {{"PayrollPeriod", "0"}};

}  // namespace veltrane::testing
