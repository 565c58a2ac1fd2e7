// A household's payroll database as it stands after years of weekly pay:
// 20 assistants, one paid check a week each, plus their employer, settings
// and the current week's hours.
#pragma once

#include <memory>
#include <string>

#include "common/amount_text.h"
#include "common/date.h"
#include "common/payroll_schema.h"
#include "common/sqlite_database.h"

namespace veltrane::bench {

inline std::string PayeeName(int i) { return "Assistant " + std::to_string(i); }

// Fills the empty database `db` with the payroll schema and `years` x 52
// weeks x `payees` checks ending in 2004.
inline void FillJournal(Database& db_to_fill, int years, int payees) {
  Database* db = &db_to_fill;
  CreatePayrollSchema(*db);
  TransactionScope tx(*db);
  {
    auto ts = db->OpenRecordset("Tax Settings", RecordsetType::kTable);
    ts->AddNew();
    ts->SetField("PayrollPeriod", "0");
    ts->SetField("SDIBase", "7000");
    ts->SetField("SDIEmployeeRate", "1");
    ts->Update();
    auto boss = db->OpenRecordset("Employer", RecordsetType::kTable);
    boss->AddNew();
    boss->SetField("first_name", "Pat");
    boss->SetField("last_name", "Moss");
    boss->SetField("address1", "1 Main St");
    boss->Update();
  }
  auto people = db->OpenRecordset("Assistants", RecordsetType::kTable);
  auto journal = db->OpenRecordset("Payment Journal", RecordsetType::kTable);
  auto hours = db->OpenRecordset("Work Journal", RecordsetType::kTable);
  for (int p = 0; p < payees; ++p) {
    people->AddNew();
    people->SetField("Name", PayeeName(p));
    people->SetField("first_name", "First");
    people->SetField("last_name", "Last");
    people->SetField("regular_hourly_rate", ParseAmount("10"));
    people->SetField("overtime_hourly_rate", ParseAmount("15"));
    people->SetField("Withholdings", "FIT|Single|1|Soc. Sec.|||Medicare|||FUTA|||SDI|Single|0|");
    people->Update();
    for (int d = 0; d < 5; ++d) {
      hours->AddNew();
      hours->SetField("Name", PayeeName(p));
      hours->SetField("TimeInDate", MakeDate(2004, 12, 20 + d));
      hours->SetField("RegHours", 6.0);
      hours->Update();
    }
  }
  const auto first = std::chrono::sys_days(MakeDate(2004 - years + 1, 1, 5));
  for (int w = 0; w < 52 * years; ++w) {
    const Date end{first + std::chrono::days(7 * w)};
    for (int p = 0; p < payees; ++p) {
      journal->AddNew();
      journal->SetField("Date", end);
      journal->SetField("payee", PayeeName(p));
      journal->SetField("start_period", end);
      journal->SetField("end_period", end);
      journal->SetField("gross_regular", ParseAmount("300"));
      journal->SetField("gross_pay", ParseAmount("300"));
      journal->SetField("net_pay", ParseAmount("252.443"));
      journal->SetField("eic_pay", Money());
      journal->SetField("withholding_liability_data",
                        "FIT|21.607|0|Soc. Sec.|18.6|18.6|Medicare|4.35|4.35|FUTA|0|18.6|SDI|3|0|");
      journal->SetField("supplemental_pay_data", w % 13 == 0 ? "Bonus'50''" : "");
      journal->SetField("Earnings", "Regular|30|10|300|300|Overtime|0|15|0|0|");
      journal->SetField("Deductions", "FIT|21.607|21.607|Soc. Sec.|18.6|18.6|Medicare|4.35|4.35|SDI|3|3|");
      journal->SetField("Paid", true);
      journal->SetField("Void", false);
      journal->Update();
    }
  }
  tx.Commit();
}

// The same in the SQLite database at `path` (":memory:" or a file).
inline std::unique_ptr<Database> BuildJournal(const std::string& path, int years, int payees) {
  auto db = OpenSqliteDatabase(path);
  FillJournal(*db, years, payees);
  return db;
}

}  // namespace veltrane::bench
