#include "host/household/people.h"

#include "common/payroll_schema.h"
#include "common/text.h"
#include "host/household/fault.h"
#include "host/household/identities.h"
#include "host/household/input_text.h"

namespace veltrane::household {
namespace {

constexpr PersonField kNameFields[] = {
    {"title", "Title", "courtesy title, e.g. Ms."},
    {"first", "first_name", "first name"},
    {"mi", "mi", "middle initial"},
    {"last", "last_name", "last name"},
    {"address1", "address1", "first address line"},
    {"address2", "address2", "second address line"},
    {"city", "city", "city"},
    {"state", "state", "state"},
    {"zip", "zip", "postal code"},
};
constexpr PersonField kEmployerIdField = {"employer-id", "federal_employer_id",
                                          "federal employer identification number"};
constexpr PersonField kSsnField = {"ssn", "social_security_number", "social security number"};

// A field's text as it is stored: the numbers and codes that go onto the
// W-2 and W-3 checked and in one form, any other text as given.
std::string Stored(std::string_view field, std::string_view text) {
  if (field == "ssn") return ReadSsn(field, text);
  if (field == "employer-id") return ReadEmployerId(field, text);
  if (field == "zip") return ReadZip(field, text);
  if (field == "state") return ReadState(field, text);
  return ReadText(field, text);
}

// Sets the row's text fields that are given, each one of `allowed`.
void ApplyText(const GivenFields& given, RowImage& row, std::span<const PersonField> allowed) {
  for (const auto& [name, text] : given) {
    for (const PersonField& f : allowed) {
      if (name == f.field) row.Set(f.column, Stored(f.field, text));
    }
  }
}

// The person fields an assistant's row takes.
std::vector<PersonField> AssistantTextFields() {
  std::vector<PersonField> fields(std::begin(kNameFields), std::end(kNameFields));
  fields.push_back(kSsnField);
  return fields;
}

// A new assistant without an overtime rate, or one given empty, is paid 1.5
// times the regular rate for overtime; a change that does not give it keeps
// the stored one.
void ApplyAssistant(const AssistantInput& input, RowImage& row, bool adding) {
  ApplyText(input.person, row, AssistantTextFields());
  if (input.rate) row.Set("regular_hourly_rate", ReadAmount("rate", *input.rate));
  if (input.ot_rate && !Trim(*input.ot_rate).empty()) {
    row.Set("overtime_hourly_rate", ReadAmount("ot-rate", *input.ot_rate));
  } else if (input.ot_rate || (adding && input.rate)) {
    row.Set("overtime_hourly_rate", row.Get("regular_hourly_rate").ToMoney().Times(1.5));
  }
  if (input.elections) row.Set("Withholdings", CheckedElectionList(*input.elections));
}

}  // namespace

std::span<const PersonField> NameFields() { return kNameFields; }
const PersonField& EmployerIdField() { return kEmployerIdField; }
const PersonField& SsnField() { return kSsnField; }

RowImage SetEmployer(Database& db, const GivenFields& fields) {
  TransactionScope tx(db);
  RowImage row = ReadEmployer(db).value_or(BlankRow(EmployerFields()));
  std::vector<PersonField> allowed(std::begin(kNameFields), std::end(kNameFields));
  allowed.push_back(kEmployerIdField);
  ApplyText(fields, row, allowed);
  StoreRow(db, kEmployerTable, row);
  tx.Commit();
  return row;
}

RowImage AddAssistant(Database& db, std::string_view name_text, const AssistantInput& input) {
  const std::string name = ReadAssistantName(name_text);
  RowImage row = BlankRow(AssistantFields());
  row.Set("Name", name);
  ApplyAssistant(input, row, true);
  if (!input.rate)
    throw Fault("rate", "give the hourly pay with " + FieldRef("rate") + ", like 10.50");
  TransactionScope tx(db);
  if (const auto existing = FindAssistant(db, name)) {
    throw Fault("name", "there already is an assistant named " + Quoted(existing->Text("Name")),
                Remedy::kChangeAssistant);
  }
  StoreRow(db, kAssistantsTable, row);
  tx.Commit();
  return row;
}

RowImage ChangeAssistant(Database& db, std::string_view name, const AssistantInput& input) {
  TransactionScope tx(db);
  RowImage row = *FindAssistant(db, RequireAssistant(db, name, "name"));
  ApplyAssistant(input, row, false);
  StoreRow(db, kAssistantsTable, row);
  tx.Commit();
  return row;
}

}  // namespace veltrane::household
