// An agent's households on one PostgreSQL database: the registry of them,
// and a connection of the agent's acting as one of them.
//
// Ownership: every function borrows the agent's database it is given; a
// HouseholdRole borrows it for its own life.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/database.h"

namespace veltrane::agent {

struct Household {
  std::int64_t number = 0;
  std::string role;  // the server role whose rows are the household's
  std::string name;  // the employer's name, as the agent knows it
  std::string ein;   // the employer identification number, may be empty
};

// A connection to the agent's database at `uri`, as the agent. A Fault of
// "db" when `uri` does not name a PostgreSQL server.
std::unique_ptr<Database> OpenAgentDatabase(const std::string& uri);

// A Fault of "db" when `agent` holds no agent's layout.
void RequireAgent(Database& agent);

// Makes the agent's layout (common/agent_layout.h) unless it is there.
void InitAgent(Database& agent);

// Registers a household and makes its role. A Fault of "name" for an empty
// name, of "ein" for a number that is not an employer identification
// number, and of "db" when the database holds no agent's layout.
Household AddHousehold(Database& agent, std::string_view name, std::string_view ein);

// Every household, by number.
std::vector<Household> ListHouseholds(Database& agent);

// The household of a number or a role's name; a Fault of "household" when
// there is none.
Household FindHousehold(Database& agent, std::string_view which);

// Makes the agent's connection `db` act as `household` from now on: the
// components run on it as on the household's own connection, and see its
// rows only. A worker serving households one after another moves from one
// to the next without going back to the agent, so the connection keeps
// what it prepared. Outside a transaction only.
void ActAsHousehold(Database& db, const Household& household);

// The agent's connection acting as a household for the scope's life: the
// components run on it as on the household's own connection, and see its
// rows only. Outside a transaction only.
class HouseholdRole {
 public:
  HouseholdRole(Database& agent, const Household& household);
  ~HouseholdRole();
  HouseholdRole(const HouseholdRole&) = delete;
  HouseholdRole& operator=(const HouseholdRole&) = delete;

 private:
  Database& agent_;
};

}  // namespace veltrane::agent
