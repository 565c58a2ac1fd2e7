// The household's people, for every front end: the employer and the
// assistants with their pay rates and withholding elections. The fields a
// person gives are named as the command line's flags ("first", "rate",
// "fit") and kept in the order given; each is checked here, once, and
// nothing is stored when one is refused (UserError, UsageError).
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/database.h"
#include "host/command_line.h"
#include "host/payroll_rows.h"

namespace veltrane::host {

// A text field of a person's row and the flag that gives it.
struct PersonField {
  std::string_view flag;   // "first"
  std::string_view field;  // "first_name"
  std::string_view help;   // "first name"
};

// Title, name and address, shared by the employer and the assistants.
std::span<const PersonField> NameFields();
const PersonField& EmployerIdField();
const PersonField& SsnField();

std::vector<OptionSpec> EmployerOptions();
std::vector<OptionSpec> AssistantOptions();

// Creates the employer's row or changes the fields given (an empty value
// clears one); returns the stored row. UsageError when no field is given.
RowImage SetEmployer(Database& db, const ParsedArgs& fields);

// A new assistant's row, checked before the database is opened: --rate is
// needed, the overtime rate defaults to 1.5 times it.
RowImage NewAssistant(std::string_view name, const ParsedArgs& fields);
// Stores a row of NewAssistant; UserError when the name is taken.
void StoreNewAssistant(Database& db, const RowImage& row);

// Changes the fields given of an existing assistant; election fields replace
// the whole election list. Returns the stored row.
RowImage ChangeAssistant(Database& db, std::string_view name, const ParsedArgs& fields);

}  // namespace veltrane::host
