#include "host/agent/households.h"

#include <charconv>

#include "common/agent_layout.h"
#include "common/open_database.h"
#include "common/pg_database.h"
#include "host/household/fault.h"
#include "host/household/identities.h"

namespace veltrane::agent {
namespace {

using household::Fault;

}  // namespace

void RequireAgent(Database& agent) {
  if (!HasAgentLayout(agent))
    throw Fault("db",
                "the database holds no agent's households; make it an agent's database first");
}

namespace {

std::vector<Household> Read(Database& agent, const std::string& where) {
  RequireAgent(agent);
  std::vector<Household> households;
  auto rs = agent.OpenRecordset(
      "SELECT number, role, name, ein FROM agent.households" + where + " ORDER BY number",
      RecordsetType::kForwardOnly);
  for (; !rs->IsEOF(); rs->MoveNext()) {
    households.push_back({rs->Field("number").ToInt(), rs->Field("role").ToText(),
                          rs->Field("name").ToText(), rs->Field("ein").ToText()});
  }
  rs->Close();
  return households;
}

}  // namespace

std::unique_ptr<Database> OpenAgentDatabase(const std::string& uri) {
  if (!IsServerLocation(uri))
    throw Fault(
        "db", "an agent's households are kept on a PostgreSQL server: name it as postgresql://...");
  return OpenDatabase(uri);
}

void InitAgent(Database& agent) { CreateAgentLayout(agent); }

Household AddHousehold(Database& agent, std::string_view name, std::string_view ein) {
  RequireAgent(agent);
  if (name.empty()) throw Fault("name", "the household needs a name");
  const std::string id = household::ReadEmployerId("ein", ein);
  const std::string role = AddHouseholdRole(agent, std::string(name), id);
  return Read(agent, " WHERE role = '" + QuoteName(role) + "'").at(0);
}

std::vector<Household> ListHouseholds(Database& agent) { return Read(agent, ""); }

Household FindHousehold(Database& agent, std::string_view which) {
  std::int64_t number = 0;
  const auto [end, ec] = std::from_chars(which.data(), which.data() + which.size(), number);
  const bool is_number = ec == std::errc() && end == which.data() + which.size();
  const auto found = Read(agent, is_number ? " WHERE number = " + std::to_string(number)
                                           : " WHERE role = '" + QuoteName(which) + "'");
  if (found.empty()) throw Fault("household", "there is no household '" + std::string(which) + "'");
  return found.front();
}

void ActAsHousehold(Database& db, const Household& household) {
  ActAs(db, household.role, kHouseholdSchema);
}

HouseholdRole::HouseholdRole(Database& agent, const Household& household) : agent_(agent) {
  ActAsHousehold(agent, household);
}

HouseholdRole::~HouseholdRole() {
  try {
    ActAs(agent_, "", "");
  } catch (...) {
    // A connection that cannot go back is lost; it is made again as the
    // agent.
  }
}

}  // namespace veltrane::agent
