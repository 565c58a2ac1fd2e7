// The one description of the payroll tables: the fields of each, with the
// kind of value a field holds, and the indexes; and the statements that
// make them in either dialect. Internal to the database layer: the schema
// check (payroll_schema.cpp), the household copy and the agent's layout
// use it.
#pragma once

#include <string>
#include <vector>

#include "common/sql_translate.h"

namespace veltrane::layout {

enum class FieldType {
  kKey,    // the row's number, given by the database
  kText,   // compared without regard to letter case
  kDate,   // a day
  kMoney,  // an exact count of ten-thousandths
  kHours,  // a double, never Null, 0 by default
  kFlag,   // a boolean, never Null, false by default
};

struct Field {
  const char* name;
  FieldType type;
  bool required = false;  // never Null
  bool unique = false;
};

struct Index {
  const char* name;
  std::vector<const char*> fields;
};

struct Table {
  const char* name;
  std::vector<Field> fields;
  std::vector<Index> indexes;
};

// "Payment Journal", "Work Journal", "Assistants", "Tax Settings" and
// "Employer", in that order.
const std::vector<Table>& PayrollTables();

// The type a field of `type` is declared with in `dialect`, as the
// database's catalog reports it: CURRENCY, DATE, BOOLEAN... for SQLite;
// currency, date, boolean... for PostgreSQL.
std::string DeclaredType(FieldType type, SqlDialect dialect);

// A field's definition in a CREATE TABLE of `dialect`: its name, type and
// constraints (a key is the table's primary key, given by the database).
std::string FieldDefinition(const Field& field, SqlDialect dialect);

// CREATE TABLE and CREATE INDEX statements for every table, in `dialect`,
// each leaving what exists alone, so that running them all on an older
// layout adds only what it lacks. On PostgreSQL they need the citext
// extension and the currency domain (a bigint).
std::vector<std::string> CreateStatements(SqlDialect dialect);

}  // namespace veltrane::layout
