#include "host/agent/moving.h"

#include <filesystem>

#include "common/agent_layout.h"
#include "common/household_copy.h"
#include "host/household/database_file.h"
#include "host/household/rows.h"

namespace veltrane::agent {

Household ImportHousehold(Database& agent, const std::string& path, const std::string& name) {
  RequireAgent(agent);
  household::OpenedHousehold file = household::OpenHousehold(path);
  const household::EmployerHeading employer = household::ReadEmployerHeading(*file.db);
  std::string shown = name.empty() ? employer.name : name;
  if (shown.empty()) shown = std::filesystem::path(path).stem().string();
  const Household added = FindHousehold(agent, AddHouseholdRole(agent, shown, employer.id));
  try {
    HouseholdRole acting(agent, added);
    CopyHousehold(*file.db, agent);
  } catch (...) {
    RemoveHouseholdRole(agent, added.role);
    throw;
  }
  return added;
}

void ExportHousehold(Database& agent, const Household& household, const std::string& path) {
  household::CreatedHousehold file = household::CreateHousehold(path, false);
  try {
    HouseholdRole acting(agent, household);
    CopyHousehold(agent, *file.db);
  } catch (...) {
    // No file that holds part of a household is left to pass for it.
    file.db.reset();
    std::error_code ec;
    std::filesystem::remove(path, ec);
    throw;
  }
}

}  // namespace veltrane::agent
