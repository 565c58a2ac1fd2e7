// Assistants rows for the statements that read an assistant's elections.
#pragma once

#include <string>

#include "common/database.h"

namespace veltrane::testing {

// Adds an assistant with the withholding election list `withholdings`.
inline void AddAssistant(Database& db, const std::string& name, const std::string& withholdings) {
  auto rs = db.OpenRecordset("Assistants", RecordsetType::kTable);
  rs->AddNew();
  rs->SetField("Name", name);
  rs->SetField("Withholdings", withholdings);
  rs->Update();
}

}  // namespace veltrane::testing
