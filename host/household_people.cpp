#include "host/household_people.h"

#include <iterator>

#include "common/sqlite_database.h"
#include "host/host_errors.h"
#include "host/tax_lists.h"
#include "host/user_input.h"

namespace veltrane::host {
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

void AddTextOptions(std::vector<OptionSpec>& options, std::span<const PersonField> fields) {
  for (const PersonField& f : fields) options.push_back({f.flag, true, false, f.help, "TEXT"});
}

// Sets the row's text fields that are given; returns how many were given.
int ApplyText(const ParsedArgs& args, RowImage& row, std::span<const PersonField> fields) {
  int given = 0;
  for (const PersonField& f : fields) {
    if (const auto value = args.Get(f.flag)) {
      row.Set(f.field, ReadText("--" + std::string(f.flag), *value));
      ++given;
    }
  }
  return given;
}

// Applies every field of an assistant; returns how many were given.
int ApplyAssistant(const ParsedArgs& args, RowImage& row) {
  int given = ApplyText(args, row, kNameFields);
  given += ApplyText(args, row, {&kSsnField, 1});
  for (const char* flag : {"rate", "ot-rate"}) {
    if (const auto value = args.Get(flag)) {
      row.Set(flag == std::string_view("rate") ? "regular_hourly_rate" : "overtime_hourly_rate",
              ReadAmount("--" + std::string(flag), *value));
      ++given;
    }
  }
  if (const auto elections = ElectionListFromFlags(args)) {
    row.Set("Withholdings", *elections);
    ++given;
  }
  return given;
}

}  // namespace

std::span<const PersonField> NameFields() { return kNameFields; }
const PersonField& EmployerIdField() { return kEmployerIdField; }
const PersonField& SsnField() { return kSsnField; }

std::vector<OptionSpec> EmployerOptions() {
  std::vector<OptionSpec> options;
  AddTextOptions(options, kNameFields);
  AddTextOptions(options, {&kEmployerIdField, 1});
  return options;
}

std::vector<OptionSpec> AssistantOptions() {
  std::vector<OptionSpec> options;
  AddTextOptions(options, kNameFields);
  AddTextOptions(options, {&kSsnField, 1});
  options.push_back({"rate", true, false, "pay per regular hour, e.g. 10.50", "AMOUNT"});
  options.push_back(
      {"ot-rate", true, false, "pay per overtime hour (added: 1.5 times --rate)", "AMOUNT"});
  for (const OptionSpec& o : ElectionOptions()) options.push_back(o);
  return options;
}

RowImage SetEmployer(Database& db, const ParsedArgs& fields) {
  TransactionScope tx(db);
  RowImage row =
      ReadFirstRow(db, kEmployerTable, EmployerFields()).value_or(BlankRow(EmployerFields()));
  int given = ApplyText(fields, row, kNameFields);
  given += ApplyText(fields, row, {&kEmployerIdField, 1});
  if (given == 0) throw UsageError("nothing to set; give at least one flag");
  StoreRow(db, kEmployerTable, row);
  tx.Commit();
  return row;
}

RowImage NewAssistant(std::string_view name_text, const ParsedArgs& fields) {
  const std::string name = ReadAssistantName(name_text);
  RowImage row = BlankRow(AssistantFields());
  row.Set("Name", name);
  ApplyAssistant(fields, row);
  if (!fields.Has("rate")) throw UserError("give the hourly pay with --rate, like --rate 10.50");
  if (!fields.Has("ot-rate"))
    row.Set("overtime_hourly_rate", row.Get("regular_hourly_rate").ToMoney().Times(1.5));
  return row;
}

void StoreNewAssistant(Database& db, const RowImage& row) {
  TransactionScope tx(db);
  if (const auto existing = FindAssistant(db, row.Text("Name"))) {
    throw UserError("there already is an assistant named '" + existing->Text("Name") +
                    "'; change it with 'paystead assistant set'");
  }
  StoreRow(db, kAssistantsTable, row);
  tx.Commit();
}

RowImage ChangeAssistant(Database& db, std::string_view name, const ParsedArgs& fields) {
  TransactionScope tx(db);
  RowImage row = *FindAssistant(db, RequireAssistant(db, name));
  if (ApplyAssistant(fields, row) == 0) throw UsageError("nothing to set; give at least one flag");
  StoreRow(db, kAssistantsTable, row);
  tx.Commit();
  return row;
}

}  // namespace veltrane::host
