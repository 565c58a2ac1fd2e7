#include "common/sqlite_database.h"

namespace veltrane {

// Declared types carry the logical type to the record sets: CURRENCY holds
// ten-thousandths as an integer (the CHECK keeps binary floats out, so sums
// stay exact), DATE holds "yyyy-mm-dd", BOOLEAN holds 0 or 1. Text compares
// without regard to letter case.
void CreatePayrollSchema(Database& db) {
  static const char* const kStatements[] = {
      R"(CREATE TABLE IF NOT EXISTS "Payment Journal" (
        ID INTEGER PRIMARY KEY AUTOINCREMENT,
        "Date" DATE,
        payee TEXT COLLATE NOCASE,
        employer_info TEXT COLLATE NOCASE,
        employee_info TEXT COLLATE NOCASE,
        check_number TEXT COLLATE NOCASE,
        start_period DATE,
        end_period DATE,
        Earnings TEXT COLLATE NOCASE,
        Deductions TEXT COLLATE NOCASE,
        gross_regular CURRENCY CHECK (typeof(gross_regular) IN ('integer','null')),
        gross_overtime CURRENCY CHECK (typeof(gross_overtime) IN ('integer','null')),
        gross_pay CURRENCY CHECK (typeof(gross_pay) IN ('integer','null')),
        gross_pay_ytd CURRENCY CHECK (typeof(gross_pay_ytd) IN ('integer','null')),
        net_pay CURRENCY CHECK (typeof(net_pay) IN ('integer','null')),
        net_pay_ytd CURRENCY CHECK (typeof(net_pay_ytd) IN ('integer','null')),
        eic_pay CURRENCY CHECK (typeof(eic_pay) IN ('integer','null')),
        withholding_liability_data TEXT COLLATE NOCASE,
        supplemental_pay_data TEXT COLLATE NOCASE,
        Paid BOOLEAN NOT NULL DEFAULT 0,
        Void BOOLEAN NOT NULL DEFAULT 0))",
      R"(CREATE INDEX IF NOT EXISTS "Payment Journal by payee and end" ON "Payment Journal" (payee, end_period))",
      R"(CREATE INDEX IF NOT EXISTS "Payment Journal by payee and date" ON "Payment Journal" (payee, "Date"))",
      R"(CREATE INDEX IF NOT EXISTS "Payment Journal by date" ON "Payment Journal" ("Date"))",
      R"(CREATE TABLE IF NOT EXISTS "Work Journal" (
        ID INTEGER PRIMARY KEY AUTOINCREMENT,
        Name TEXT COLLATE NOCASE NOT NULL,
        TimeInDate DATE NOT NULL,
        RegHours DOUBLE NOT NULL DEFAULT 0,
        OTHours DOUBLE NOT NULL DEFAULT 0,
        PaidFor BOOLEAN NOT NULL DEFAULT 0))",
      R"(CREATE INDEX IF NOT EXISTS "Work Journal by name and day" ON "Work Journal" (Name, TimeInDate))",
      R"(CREATE TABLE IF NOT EXISTS Assistants (
        ID INTEGER PRIMARY KEY AUTOINCREMENT,
        Name TEXT COLLATE NOCASE NOT NULL UNIQUE,
        Title TEXT COLLATE NOCASE,
        first_name TEXT COLLATE NOCASE,
        mi TEXT COLLATE NOCASE,
        last_name TEXT COLLATE NOCASE,
        address1 TEXT COLLATE NOCASE,
        address2 TEXT COLLATE NOCASE,
        city TEXT COLLATE NOCASE,
        state TEXT COLLATE NOCASE,
        zip TEXT COLLATE NOCASE,
        social_security_number TEXT COLLATE NOCASE,
        regular_hourly_rate CURRENCY CHECK (typeof(regular_hourly_rate) IN ('integer','null')),
        overtime_hourly_rate CURRENCY CHECK (typeof(overtime_hourly_rate) IN ('integer','null')),
        Withholdings TEXT COLLATE NOCASE))",
      R"(CREATE TABLE IF NOT EXISTS "Tax Settings" (
        ID INTEGER PRIMARY KEY AUTOINCREMENT,
        PayrollPeriod TEXT COLLATE NOCASE,
        OtherWithholdings TEXT COLLATE NOCASE,
        SITRate TEXT COLLATE NOCASE, SITSingle TEXT COLLATE NOCASE,
        SITMarried TEXT COLLATE NOCASE, SITHousehold TEXT COLLATE NOCASE,
        SDIBase TEXT COLLATE NOCASE, SDIEmployeeRate TEXT COLLATE NOCASE,
        SDIEmployerRate TEXT COLLATE NOCASE, SDISingle TEXT COLLATE NOCASE,
        SDIMarried TEXT COLLATE NOCASE, SDIHousehold TEXT COLLATE NOCASE,
        SDIWithholding TEXT COLLATE NOCASE, SDIUseExemptions TEXT COLLATE NOCASE,
        SUIBase TEXT COLLATE NOCASE, SUIEmployeeRate TEXT COLLATE NOCASE,
        SUIEmployerRate TEXT COLLATE NOCASE, SUISingle TEXT COLLATE NOCASE,
        SUIMarried TEXT COLLATE NOCASE, SUIHousehold TEXT COLLATE NOCASE,
        SUIWithholding TEXT COLLATE NOCASE, SUIUseExemptions TEXT COLLATE NOCASE,
        SUIState TEXT COLLATE NOCASE, SUIReportingNumber TEXT COLLATE NOCASE,
        SUIWithholdingName TEXT COLLATE NOCASE,
        EICReduce BOOLEAN NOT NULL DEFAULT 0,
        EICPayInFull BOOLEAN NOT NULL DEFAULT 0))",
      R"(CREATE TABLE IF NOT EXISTS Employer (
        ID INTEGER PRIMARY KEY AUTOINCREMENT,
        Title TEXT COLLATE NOCASE,
        first_name TEXT COLLATE NOCASE,
        mi TEXT COLLATE NOCASE,
        last_name TEXT COLLATE NOCASE,
        address1 TEXT COLLATE NOCASE,
        address2 TEXT COLLATE NOCASE,
        city TEXT COLLATE NOCASE,
        state TEXT COLLATE NOCASE,
        zip TEXT COLLATE NOCASE,
        federal_employer_id TEXT COLLATE NOCASE))",
  };
  TransactionScope tx(db);
  for (const char* sql : kStatements) db.Execute(sql);
  tx.Commit();
}

}  // namespace veltrane
