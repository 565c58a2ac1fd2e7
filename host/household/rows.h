// The rows the household maintains: the employer, the assistants and the
// tax settings, read and written by name so that no front end runs a query.
// A row is read whole into a RowImage, changed, and stored whole, so every
// field goes through the record-set interface with its own type (money as
// money, never as SQL text).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/database.h"
#include "common/value.h"

namespace veltrane::household {

inline constexpr std::string_view kAssistantsTable = "Assistants";
inline constexpr std::string_view kTaxSettingsTable = "Tax Settings";
inline constexpr std::string_view kWorkJournalTable = "Work Journal";
inline constexpr std::string_view kPaymentJournalTable = "Payment Journal";

// The fields of each table that the household writes, without ID.
std::span<const std::string_view> EmployerFields();
std::span<const std::string_view> AssistantFields();
std::span<const std::string_view> TaxSettingsFields();

class RowImage {
 public:
  void Set(std::string_view field, Value value);
  // Null when the field is not in the image.
  const Value& Get(std::string_view field) const;
  std::string Text(std::string_view field) const { return Get(field).ToText(); }
  const std::vector<std::pair<std::string, Value>>& fields() const { return fields_; }

 private:
  std::vector<std::pair<std::string, Value>> fields_;
};

// A new row of `fields`: every field the empty text, so that the blocks on
// a check treat an unset field as empty rather than Null.
RowImage BlankRow(std::span<const std::string_view> fields);

// "Ms. Dana R Whitfield": the title and name fields that are set.
std::string FullName(const RowImage& row);

// The employer's row and the tax settings row (the first row of each), with
// their IDs; nullopt before one is stored.
std::optional<RowImage> ReadEmployer(Database& db);
std::optional<RowImage> ReadSettings(Database& db);
// The assistant's row, the name matched without regard to letter case.
std::optional<RowImage> FindAssistant(Database& db, std::string_view name);
// Every assistant, by name.
std::vector<RowImage> ReadAllAssistants(Database& db);
// The assistants' names, in order.
std::vector<std::string> AssistantNames(Database& db);
// The stored spelling of an assistant's name. A Fault of `field` when there
// is none.
std::string RequireAssistant(Database& db, std::string_view name,
                             std::string_view field = "assistant");

// Stores `row` in `table`: a new row when it has no ID, otherwise in place
// of the row with its ID, keeping that ID. The caller holds the database
// transaction, so that the row is replaced whole or not at all.
void StoreRow(Database& db, std::string_view table, const RowImage& row);

// The employer's name and identification number, as statements head them.
struct EmployerHeading {
  std::string name;  // FullName of the employer's row, empty without one
  std::string id;    // the employer identification number, may be empty
};
EmployerHeading ReadEmployerHeading(Database& db);

}  // namespace veltrane::household
