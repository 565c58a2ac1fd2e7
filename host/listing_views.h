// Terminal listings: the work journal, the payment journal, the assistants,
// and labelled fields (employer, tax settings).
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/date.h"
#include "common/money.h"
#include "host/payroll_rows.h"

namespace veltrane::host {

struct HoursEntry {
  Date day;
  std::string name;
  float regular = 0;
  float overtime = 0;
  bool paid = false;
};
void RenderHours(std::ostream& out, const std::vector<HoursEntry>& entries);

struct JournalEntry {
  std::int64_t id = 0;
  Date date;
  std::string payee;
  std::string check_number;
  Date start;
  Date end;
  Money gross;
  Money net;
  bool is_void = false;
};
void RenderJournal(std::ostream& out, const std::vector<JournalEntry>& entries);

// Rows of the assistants table as FindAssistant reads them.
void RenderAssistants(std::ostream& out, const std::vector<RowImage>& assistants);

// "label   value" lines, the values aligned.
void RenderFields(std::ostream& out,
                  const std::vector<std::pair<std::string, std::string>>& fields);

}  // namespace veltrane::host
