// The household's people: the employer and the assistants with their pay
// rates and withholding elections. Every field a person gives is checked
// here, once, and nothing is stored when one is refused (a Fault naming
// the field).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/database.h"
#include "host/household/elections.h"
#include "host/household/rows.h"

namespace veltrane::household {

// A text field of a person's row: the household's name of it, its column
// and a few words that say what it holds.
struct PersonField {
  std::string_view field;   // "first"
  std::string_view column;  // "first_name"
  std::string_view help;    // "first name"
};

// Title, name and address, shared by the employer and the assistants.
std::span<const PersonField> NameFields();
const PersonField& EmployerIdField();  // "employer-id"
const PersonField& SsnField();         // "ssn"

// Fields a front end was given, by the household's name ("first"), texts
// as typed, in the order given. An empty text clears a field; a field not
// given keeps what is stored.
using GivenFields = std::vector<std::pair<std::string, std::string>>;

struct AssistantInput {
  GivenFields person = {};  // the name fields and "ssn"
  std::optional<std::string> rate = {};
  // An overtime rate not given, or given empty, is 1.5 times the regular one.
  std::optional<std::string> ot_rate = {};
  // Replaces the whole election list when given.
  std::optional<std::vector<ElectionInput>> elections = {};
};

// Creates the employer's row or changes the fields given; returns the
// stored row.
RowImage SetEmployer(Database& db, const GivenFields& fields);

// Stores a new assistant; the rate is needed. A Fault of "name" when the
// name is taken.
RowImage AddAssistant(Database& db, std::string_view name, const AssistantInput& input);

// Changes the fields given of an existing assistant (found by `name`, field
// "name"). Returns the stored row.
RowImage ChangeAssistant(Database& db, std::string_view name, const AssistantInput& input);

}  // namespace veltrane::household
