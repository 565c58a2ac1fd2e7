// An agent's database: many households on one PostgreSQL database, each a
// role of the server, whose rows the server keeps apart.
//
// The five payroll tables are made once, in the schema agent_rows, each
// with a leading column `household` (the role that owns the row, by
// default the role writing it), a primary key of household and ID, and a
// row-level security policy that lets a role see and write its own rows
// only. The schema `household` holds a view of each table named as the
// components name it, without the household column, so the components
// run on a household's connection unchanged, and the stamp. A household's
// role may use those two schemas and nothing else; the agent's registry
// (schema `agent`) is not readable by households.
#pragma once

#include <string>

#include "common/database.h"

namespace veltrane {

// The schema a household's connection works in.
inline constexpr const char* kHouseholdSchema = "household";
// The role every household's role is a member of.
inline constexpr const char* kHouseholdsGroup = "paystead_households";

// Makes the agent's layout in `agent`, a connection to an empty database
// of the server as a role that may create roles, in one transaction; a
// database that has it already is left as it is. Raises DatabaseError.
void CreateAgentLayout(Database& agent);

// Whether `agent` holds the agent's layout.
bool HasAgentLayout(Database& agent);

// Registers a household under `name` and `ein` (texts stored as given)
// and makes its role; returns the role's name,
// "h_<database oid>_<number>", unique on the server. Inside the caller's
// transaction, if one is open.
std::string AddHouseholdRole(Database& agent, const std::string& name, const std::string& ein);

// Removes a household's role and its entry in the registry; for a
// household that holds no rows (one whose import failed).
void RemoveHouseholdRole(Database& agent, const std::string& role);

}  // namespace veltrane
