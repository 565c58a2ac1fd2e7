#include "common/household_copy.h"

#include <string>

#include "common/database_backend.h"
#include "common/payroll_layout.h"
#include "common/payroll_schema.h"

namespace veltrane {
namespace {

std::string Bracketed(const char* table) { return "[" + std::string(table) + "]"; }

bool HasRows(Database& db, const char* table) {
  auto rs = db.OpenRecordset("SELECT Count(*) AS n FROM " + Bracketed(table), RecordsetType::kForwardOnly);
  const bool rows = rs->Field("n").ToInt() > 0;
  rs->Close();
  return rows;
}

// A server numbers new rows from a sequence of its own, which rows given
// their IDs leave behind.
void CatchUpKeys(Database& db, const layout::Table& table) {
  DatabaseBackend& backend = BackendOf(db);
  if (backend.dialect() != SqlDialect::kPostgresql) return;
  const std::string name = QuotedName(table.name, SqlDialect::kPostgresql);
  backend.ExecuteNative("SELECT setval(pg_get_serial_sequence('" + QuoteName(name) + "', 'id'), max(id)) FROM " +
                        name);
}

}  // namespace

void CopyHousehold(Database& from, Database& to) {
  TransactionScope tx(to);
  CreatePayrollSchema(to);
  for (const layout::Table& table : layout::PayrollTables()) {
    if (HasRows(to, table.name)) throw HouseholdNotEmptyError();
  }
  for (const layout::Table& table : layout::PayrollTables()) {
    auto rows = from.OpenRecordset("SELECT * FROM " + Bracketed(table.name) + " ORDER BY ID",
                                   RecordsetType::kForwardOnly);
    auto copy = to.OpenRecordset(table.name, RecordsetType::kTable);
    for (; !rows->IsEOF(); rows->MoveNext()) {
      copy->AddNew();
      for (const layout::Field& field : table.fields) copy->SetField(field.name, rows->Field(field.name));
      copy->Update();
    }
    rows->Close();
    copy->Close();
    CatchUpKeys(to, table);
  }
  tx.Commit();
}

}  // namespace veltrane
