// A household copied from a file to a server and back: every row of every
// table, every field as stored and every ID; and a database that holds
// payroll is never written over.
#include "common/household_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/amount_text.h"
#include "common/payroll_schema.h"
#include "common/pg_database.h"
#include "common/sqlite_database.h"
#include "support/test_databases.h"

namespace veltrane::testing {
namespace {

// Every field of every row of the payroll tables, in ID order, as text.
std::vector<std::string> Contents(Database& db) {
  std::vector<std::string> rows;
  for (const char* table : {"Payment Journal", "Work Journal", "Assistants", "Tax Settings", "Employer"}) {
    auto rs = db.OpenRecordset("SELECT * FROM [" + std::string(table) + "] ORDER BY ID", RecordsetType::kDynaset);
    for (; !rs->IsEOF(); rs->MoveNext()) {
      std::string row = table;
      for (const char* field : {"ID", "Date", "payee", "gross_pay", "net_pay", "eic_pay", "Paid", "Void", "Name",
                                "TimeInDate", "RegHours", "PaidFor", "regular_hourly_rate", "Withholdings",
                                "PayrollPeriod", "EICReduce", "first_name"}) {
        try {
          const Value v = rs->Field(field);
          row += std::string("|") + field + "=" + (v.IsNull() ? "Null" : v.ToText());
        } catch (const DatabaseError&) {  // not a field of this table
        }
      }
      rows.push_back(row);
    }
  }
  return rows;
}

void Insert(Database& db, const std::string& table, const std::vector<std::pair<std::string, Value>>& fields) {
  auto rs = db.OpenRecordset(table, RecordsetType::kTable);
  rs->AddNew();
  for (const auto& [name, value] : fields) rs->SetField(name, value);
  rs->Update();
}

std::unique_ptr<Database> Household() {
  auto db = OpenSqliteDatabase(":memory:");
  CreatePayrollSchema(*db);
  Insert(*db, "Employer", {{"first_name", "Dana"}});
  Insert(*db, "Tax Settings", {{"PayrollPeriod", "0"}, {"EICReduce", true}});
  Insert(*db, "Assistants", {{"Name", "Rosa O'Brien"}, {"regular_hourly_rate", ParseAmount("10.0001")},
                             {"Withholdings", "FIT|Single|1|"}});
  Insert(*db, "Assistants", {{"Name", "Zoë"}, {"regular_hourly_rate", Value()}});
  Insert(*db, "Work Journal", {{"Name", "Rosa O'Brien"}, {"TimeInDate", MakeDate(2004, 3, 1)},
                               {"RegHours", 7.0 / 3}, {"PaidFor", true}});
  for (int i = 0; i < 3; ++i) {
    Insert(*db, "Payment Journal", {{"Date", MakeDate(2004, 3, 8 + i)}, {"payee", "Rosa O'Brien"},
                                    {"gross_pay", Money::FromTicks(4300001 + i)},
                                    {"net_pay", Money::FromTicks(-1)},
                                    {"eic_pay", Money::FromTicks(INT64_MAX)}, {"Paid", true}});
  }
  db->Execute("DELETE FROM [Payment Journal] WHERE ID = 2");  // IDs with a gap
  return db;
}

TEST(HouseholdCopy, FromAFileToAServerAndBackKeepsEveryRowFieldAndId) {
  const std::string uri = NewServerSchema();
  if (uri.empty()) return;
  const auto file = Household();
  const auto server = OpenPostgresDatabase(uri);
  CopyHousehold(*file, *server);
  EXPECT_EQ(Contents(*server), Contents(*file));
  const auto back = OpenSqliteDatabase(":memory:");
  CopyHousehold(*server, *back);
  EXPECT_EQ(Contents(*back), Contents(*file));
  EXPECT_EQ(Contents(*back).size(), 7u);

  // New rows on the server are numbered after the copied ones.
  Insert(*server, "Payment Journal", {{"payee", "Zoë"}});
  auto newest = server->OpenRecordset("SELECT Max(ID) AS n FROM [Payment Journal]", RecordsetType::kForwardOnly);
  EXPECT_EQ(newest->Field("n").ToInt(), 4);
}

TEST(HouseholdCopy, NeverWritesOverADatabaseHoldingPayroll) {
  const auto from = Household();
  const auto to = OpenSqliteDatabase(":memory:");
  CreatePayrollSchema(*to);
  Insert(*to, "Work Journal", {{"Name", "Sam"}, {"TimeInDate", MakeDate(2004, 1, 5)}});
  const std::vector<std::string> before = Contents(*to);
  EXPECT_THROW(CopyHousehold(*from, *to), HouseholdNotEmptyError);
  EXPECT_EQ(Contents(*to), before);
  EXPECT_THROW(CopyHousehold(*from, *from), HouseholdNotEmptyError);
}

}  // namespace
}  // namespace veltrane::testing
