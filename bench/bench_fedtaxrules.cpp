// Federal income tax withholding per paycheck, and FUTA wages of a
// household's year for all attendants.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "common/date.h"
#include "common/locale.h"
#include "common/sqlite_database.h"
#include "fedtaxrules/fed_tax_rules.h"

namespace veltrane {
namespace {

const FixedLocaleProvider kUs(kLocaleEnUs);

void BM_GetFITWithholding(benchmark::State& state) {
  const clsFedTaxRules rules(kUs);
  static constexpr const char* kPeriods[] = {"Weekly", "Biweekly", "Monthly", "Daily"};
  static constexpr const char* kStatuses[] = {"Single", "Married", "Head of Household"};
  std::int64_t i = 0;
  for (auto _ : state) {
    const Money wages = Money::FromTicks(1'000'000 + (i * 7919) % 20'000'000);
    benchmark::DoNotOptimize(rules.GetFITWithholding(
        wages, kStatuses[i % 3], static_cast<std::int16_t>(i % 4), kPeriods[i % 4]));
    ++i;
  }
}
BENCHMARK(BM_GetFITWithholding);

// 20 attendants paid weekly through 2004: 1,040 journal rows.
std::unique_ptr<Database> YearOfWeeklyPaychecks() {
  auto db = OpenSqliteDatabase(":memory:");
  CreatePayrollSchema(*db);
  TransactionScope tx(*db);
  const auto journal = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  const std::chrono::sys_days first = MakeDate(2004, 1, 2);
  for (int week = 0; week < 52; ++week) {
    for (int payee = 0; payee < 20; ++payee) {
      journal->AddNew();
      journal->SetField("Date", Date(first + std::chrono::days(7 * week)));
      journal->SetField("payee", "Assistant " + std::to_string(payee));
      journal->SetField("gross_pay", Money::Dollars(150 + 10 * payee));
      journal->SetField("eic_pay", payee % 4 == 0 ? Money::Dollars(20) : Money());
      journal->SetField("withholding_liability_data",
                        payee % 5 == 0 ? "Soc. Sec.|10|10|Medicare|2|2|"
                                       : "Soc. Sec.|10|10|Medicare|2|2|FIT|5|0|FUTA|0|9.3|");
      journal->SetField("Paid", true);
      journal->SetField("Void", false);
      journal->Update();
    }
  }
  journal->Close();
  tx.Commit();
  return db;
}

void BM_GetFUTAWagesAllAssistantsYear(benchmark::State& state) {
  const auto db = YearOfWeeklyPaychecks();
  const clsFedTaxRules rules(kUs);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rules.GetFUTAWages(*db, "All Assistants", "1/1/04", "12/31/04"));
  }
}
BENCHMARK(BM_GetFUTAWagesAllAssistantsYear)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane
