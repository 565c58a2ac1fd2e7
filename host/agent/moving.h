// A household moved whole between its own SQLite file and the agent's
// database: every row of every table, IDs and every money tick kept, so a
// household that changes agent takes its records along and its statements
// read the same.
//
// Ownership: the agent's database is borrowed.
#pragma once

#include <string>

#include "common/database.h"
#include "host/agent/households.h"

namespace veltrane::agent {

// Registers a household for the payroll file at `path` (named as its
// employer is, or `name` when given) and copies the file's rows into it,
// all or nothing: when the copy fails, the household is removed again. A
// Fault when the file is missing or not a payroll file.
Household ImportHousehold(Database& agent, const std::string& path, const std::string& name = "");

// Writes the household's rows into a new payroll file at `path`; a Fault
// when a file is there already.
void ExportHousehold(Database& agent, const Household& household, const std::string& path);

}  // namespace veltrane::agent
