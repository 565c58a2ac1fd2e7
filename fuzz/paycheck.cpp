// A paycheck from arbitrary texts: the assistant's withholding elections,
// the employer's tax definitions, the supplemental pay, the pay period, and
// an earlier check's stored withholdings and supplemental pay. Preparing,
// showing and paying it never fails outside the steps the transaction
// absorbs, and the stored check shows what the prepared one showed.
//
// Input: those six texts, one a line.
#include <cstdlib>
#include <memory>
#include <optional>

#include "common/clock.h"
#include "common/date.h"
#include "common/sqlite_database.h"
#include "fuzz/fuzz_target.h"
#include "paytransaction/memory_paycheck.h"
#include "paytransaction/transaction.h"

namespace veltrane::fuzz {
namespace {

constexpr const char* kAssistant = "Ann Lee";

// What a prepared and a stored check must show alike: the totals and the
// tables.
bool SameFigures(const PaycheckShown& a, const PaycheckShown& b) {
  return a.gross_pay == b.gross_pay && a.gross_ytd == b.gross_ytd && a.net_pay == b.net_pay &&
         a.net_ytd == b.net_ytd && a.earnings == b.earnings && a.deductions == b.deductions;
}

using Fields = std::initializer_list<std::pair<const char*, Value>>;

void Insert(Database& db, const char* table, Fields fields) {
  auto rs = db.OpenRecordset(table, RecordsetType::kTable);
  rs->AddNew();
  for (const auto& [name, value] : fields) rs->SetField(name, value);
  rs->Update();
}

// One database for the whole run, emptied for each input: making the
// schema costs far more than a paycheck.
Database& EmptyPayrollDatabase() {
  static const std::unique_ptr<Database> db = [] {
    ::setenv("LC_ALL", "en_US.UTF-8", 1);  // the federal rules compute under US English only
    auto made = OpenSqliteDatabase(":memory:");
    CreatePayrollSchema(*made);
    return made;
  }();
  for (const char* table :
       {"[Payment Journal]", "[Work Journal]", "Assistants", "[Tax Settings]", "Employer"}) {
    db->Execute(std::string("DELETE FROM ") + table);
  }
  return *db;
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string_view> texts = SplitFields(AsText(data, size), 6);
  const auto text = [&](std::size_t i) { return Value(std::string(texts[i])); };
  const auto day = [](int d) { return Value(MakeDate(2004, 3, static_cast<unsigned>(d))); };

  Database& db = EmptyPayrollDatabase();
  Insert(db, "Employer", {{"first_name", "Dana"}, {"last_name", "Whitfield"}});
  Insert(db, "Assistants",
         {{"Name", kAssistant},
          {"first_name", "Ann"},
          {"last_name", "Lee"},
          {"regular_hourly_rate", Money::Dollars(10)},
          {"overtime_hourly_rate", Money::Dollars(15)},
          {"Withholdings", text(0)}});
  Insert(db, "Tax Settings", {{"OtherWithholdings", text(1)}, {"PayrollPeriod", text(3)}});
  for (int d = 1; d <= 5; ++d) {
    Insert(db, "Work Journal",
           {{"Name", kAssistant},
            {"TimeInDate", day(d)},
            {"RegHours", 8.0},
            {"OTHours", d == 5 ? 2.0 : 0.0}});
  }
  Insert(db, "Payment Journal",
         {{"payee", kAssistant},
          {"Date", Value(MakeDate(2004, 2, 27))},
          {"start_period", Value(MakeDate(2004, 2, 21))},
          {"end_period", Value(MakeDate(2004, 2, 27))},
          {"gross_pay", Money::Dollars(400)},
          {"net_pay", Money::Dollars(350)},
          {"withholding_liability_data", text(4)},
          {"supplemental_pay_data", text(5)},
          {"Paid", true},
          {"Void", false}});

  const auto open = [&](const char* table) {
    return db.OpenRecordset(table, RecordsetType::kTable);
  };
  auto tax_settings = open("Tax Settings");
  auto work_journal = open("Work Journal");
  auto employer = open("Employer");
  auto payment_journal = open("Payment Journal");
  auto assistants = open("Assistants");

  const FixedClock clock(MakeDate(2004, 3, 8));
  clsTransaction transaction(clock);
  MemoryPayCheck prepared;
  transaction.InitTransaction(db, *tax_settings, *work_journal, *employer, *payment_journal,
                              *assistants, &prepared, kAssistant, "3/1/04", "3/7/04", "101", false,
                              std::string(texts[2]));
  transaction.DisplayCurrentAsCheck();
  if (!transaction.ExecutePayment()) return 0;

  auto last = db.OpenRecordset("SELECT Max(ID) As [Last] FROM [Payment Journal]",
                               RecordsetType::kForwardOnly);
  const auto id = static_cast<std::int32_t>(last->Field("Last").ToInt());
  last->Close();
  MemoryPayCheck stored;
  transaction.DisplayPaidCheck(&stored, *payment_journal, id);
  Require(SameFigures(stored.shown(), prepared.shown()),
          "the stored check shows what the prepared one showed", AsText(data, size));
  return 0;
}

}  // namespace veltrane::fuzz
