// One paycheck cycle as a host runs it (set up, show, pay) against a
// payment journal of 10 years x 20 payees x 52 weekly checks.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "payroll_journal.h"
#include "paytransaction/transaction.h"

namespace veltrane::bench {
namespace {

class NullPayCheck : public PayCheckControl {
 public:
  void Clear() override {}
  void EmployeeInfo(const std::string&) override {}
  void EmployerInfo(const std::string&) override {}
  void CheckDate(const std::string&) override {}
  void CheckNumber(const std::string&) override {}
  void PeriodStartDate(const std::string&) override {}
  void PeriodEndDate(const std::string&) override {}
  void payee(const std::string&) override {}
  void RegHours(float) override {}
  void OTHours(float) override {}
  void GrossPay(Money) override {}
  void GrossYTD(Money) override {}
  void NetPay(Money) override {}
  void NetYTD(Money) override {}
  void Earnings(const std::string&) override {}
  void Deductions(const std::string&) override {}
  void Paid(bool) override {}
  void Void(bool) override {}
  void HasSuppPay(bool) override {}
};

void BM_PaycheckCycle(benchmark::State& state) {
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  auto db = BuildJournal(":memory:", 10, 20);
  auto ts = db->OpenRecordset("Tax Settings", RecordsetType::kTable);
  auto wj = db->OpenRecordset("Work Journal", RecordsetType::kTable);
  auto boss = db->OpenRecordset("Employer", RecordsetType::kTable);
  auto pj = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  auto people = db->OpenRecordset("Assistants", RecordsetType::kTable);
  FixedClock clock(MakeDate(2004, 12, 27));
  NullPayCheck control;
  clsTransaction tx(clock);
  for (auto _ : state) {
    tx.InitTransaction(*db, *ts, *wj, *boss, *pj, *people, &control, PayeeName(7), "12/20/04", "12/26/04", "1001",
                       false, "");
    tx.DisplayCurrentAsCheck();
    if (!tx.ExecutePayment()) state.SkipWithError("payment not stored");
  }
  state.counters["journal_rows"] = static_cast<double>(pj->RecordCount());
}
BENCHMARK(BM_PaycheckCycle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane::bench
