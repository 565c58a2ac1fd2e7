// Terminal listings: the work journal, the payment journal, the assistants,
// and labelled fields (employer, tax settings).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/household/hours.h"
#include "host/household/journal.h"
#include "host/household/rows.h"

namespace veltrane::cli {

using household::HoursEntry;
using household::JournalEntry;
using household::RowImage;

void RenderHours(std::ostream& out, const std::vector<HoursEntry>& entries);

void RenderJournal(std::ostream& out, const std::vector<JournalEntry>& entries);

// Rows of the assistants table as FindAssistant reads them.
void RenderAssistants(std::ostream& out, const std::vector<RowImage>& assistants);

// "label   value" lines, the values aligned.
void RenderFields(std::ostream& out,
                  const std::vector<std::pair<std::string, std::string>>& fields);

}  // namespace veltrane::cli
