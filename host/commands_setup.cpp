// The household's people: paystead employer set|show and
// paystead assistant add|set|list.
#include <iterator>

#include "common/display.h"
#include "common/sqlite_database.h"
#include "host/command.h"
#include "host/host_errors.h"
#include "host/listing_views.h"
#include "host/payroll_rows.h"
#include "host/tax_lists.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

struct TextFlag {
  std::string_view flag;
  std::string_view field;
  std::string_view help;
};

constexpr TextFlag kNameFlags[] = {
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
constexpr TextFlag kEmployerIdFlag = {"employer-id", "federal_employer_id",
                                      "federal employer identification number"};
constexpr TextFlag kSsnFlag = {"ssn", "social_security_number", "social security number"};

void AddTextFlags(std::vector<OptionSpec>& options, const TextFlag* begin, const TextFlag* end) {
  for (const TextFlag* f = begin; f != end; ++f)
    options.push_back({f->flag, true, false, f->help, "TEXT"});
}

// Sets the row's text fields that flags give; returns how many were given.
int ApplyTextFlags(const ParsedArgs& args, RowImage& row, const TextFlag* begin,
                   const TextFlag* end) {
  int given = 0;
  for (const TextFlag* f = begin; f != end; ++f) {
    if (const auto value = args.Get(f->flag)) {
      row.Set(f->field, ReadText("--" + std::string(f->flag), *value));
      ++given;
    }
  }
  return given;
}

std::string NameLine(const RowImage& r) {
  std::string name;
  for (const char* part : {"Title", "first_name", "mi", "last_name"}) {
    const std::string text = r.Text(part);
    if (!text.empty()) name += (name.empty() ? "" : " ") + text;
  }
  return name;
}

void ShowPerson(std::ostream& out, const RowImage& r, const TextFlag& id_flag,
                const std::string& id_label) {
  std::vector<std::pair<std::string, std::string>> fields = {{"Name", NameLine(r)}};
  std::vector<std::string> address;
  for (const char* line : {"address1", "address2"}) {
    if (!r.Text(line).empty()) address.push_back(r.Text(line));
  }
  std::string city = r.Text("city");
  if (!r.Text("state").empty()) city += (city.empty() ? "" : ", ") + r.Text("state");
  if (!r.Text("zip").empty()) city += (city.empty() ? "" : " ") + r.Text("zip");
  if (!city.empty()) address.push_back(city);
  for (std::size_t i = 0; i < address.size(); ++i)
    fields.emplace_back(i == 0 ? "Address" : "", address[i]);
  fields.emplace_back(id_label,
                      r.Text(id_flag.field).empty() ? "(not given)" : r.Text(id_flag.field));
  RenderFields(out, fields);
}

void EmployerSet(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  TransactionScope tx(db);
  RowImage row =
      ReadFirstRow(db, kEmployerTable, EmployerFields()).value_or(BlankRow(EmployerFields()));
  int given = ApplyTextFlags(args, row, std::begin(kNameFlags), std::end(kNameFlags));
  given += ApplyTextFlags(args, row, &kEmployerIdFlag, &kEmployerIdFlag + 1);
  if (given == 0) throw UsageError("nothing to set; give at least one flag");
  StoreRow(db, kEmployerTable, row);
  tx.Commit();
  session.out() << "Employer saved:\n";
  ShowPerson(session.out(), row, kEmployerIdFlag, "Employer ID");
}

void EmployerShow(Session& session, const ParsedArgs&) {
  const auto row = ReadFirstRow(session.db(), kEmployerTable, EmployerFields());
  if (!row) {
    session.out() << "No employer on file; set one with 'paystead employer set'.\n";
    return;
  }
  ShowPerson(session.out(), *row, kEmployerIdFlag, "Employer ID");
}

std::vector<OptionSpec> AssistantOptions() {
  std::vector<OptionSpec> options;
  AddTextFlags(options, std::begin(kNameFlags), std::end(kNameFlags));
  AddTextFlags(options, &kSsnFlag, &kSsnFlag + 1);
  options.push_back({"rate", true, false, "pay per regular hour, e.g. 10.50", "AMOUNT"});
  options.push_back(
      {"ot-rate", true, false, "pay per overtime hour (added: 1.5 times --rate)", "AMOUNT"});
  for (const OptionSpec& o : ElectionOptions()) options.push_back(o);
  return options;
}

// Applies every flag of the assistant commands to the row; returns how many
// were given.
int ApplyAssistantFlags(const ParsedArgs& args, RowImage& row) {
  int given = ApplyTextFlags(args, row, std::begin(kNameFlags), std::end(kNameFlags));
  given += ApplyTextFlags(args, row, &kSsnFlag, &kSsnFlag + 1);
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

void ReportAssistant(std::ostream& out, const RowImage& row) {
  out << row.Text("Name") << ": " << FormatCurrency(row.Get("regular_hourly_rate").ToMoney())
      << " an hour, " << FormatCurrency(row.Get("overtime_hourly_rate").ToMoney())
      << " overtime; withholdings " << DescribeElections(row.Text("Withholdings")) << '\n';
}

void AssistantAdd(Session& session, const ParsedArgs& args) {
  const std::string name = ReadAssistantName(args.positionals[0]);
  RowImage row = BlankRow(AssistantFields());
  row.Set("Name", name);
  ApplyAssistantFlags(args, row);
  if (!args.Has("rate")) throw UserError("give the hourly pay with --rate, like --rate 10.50");
  if (!args.Has("ot-rate"))
    row.Set("overtime_hourly_rate", row.Get("regular_hourly_rate").ToMoney().Times(1.5));

  Database& db = session.db();
  TransactionScope tx(db);
  if (const auto existing = FindAssistant(db, name)) {
    throw UserError("there already is an assistant named '" + existing->Text("Name") +
                    "'; change it with 'paystead assistant set'");
  }
  StoreRow(db, kAssistantsTable, row);
  tx.Commit();
  session.out() << "Added assistant ";
  ReportAssistant(session.out(), row);
}

void AssistantSet(Session& session, const ParsedArgs& args) {
  Database& db = session.db();
  TransactionScope tx(db);
  RowImage row = *FindAssistant(db, RequireAssistant(db, args.positionals[0]));
  if (ApplyAssistantFlags(args, row) == 0)
    throw UsageError("nothing to set; give at least one flag");
  StoreRow(db, kAssistantsTable, row);
  tx.Commit();
  session.out() << "Saved assistant ";
  ReportAssistant(session.out(), row);
}

void AssistantList(Session& session, const ParsedArgs&) {
  RenderAssistants(session.out(), ReadAllAssistants(session.db()));
}

}  // namespace

void AddSetupCommands(CommandTable& table) {
  std::vector<OptionSpec> employer_options;
  AddTextFlags(employer_options, std::begin(kNameFlags), std::end(kNameFlags));
  AddTextFlags(employer_options, &kEmployerIdFlag, &kEmployerIdFlag + 1);
  table.push_back(
      {{"employer", "set"},
       "",
       "set the employer's name, address and employer ID",
       "Creates the employer record or changes the fields given; an empty value clears a field.",
       employer_options,
       0,
       0,
       EmployerSet});
  table.push_back(
      {{"employer", "show"}, "", "show the employer record", "", {}, 0, 0, EmployerShow});

  const char* const election_help =
      "Withholding elections, kept in the order given: --fit FILING:N (Single, Married or\n"
      "Head of Household, and the number of allowances), --ss, --medicare, --futa, --eic N\n"
      "(spouse filing 0, 1 or 2), --sit/--sdi/--sui FILING:N, --other NAME[:FILING:N] for a\n"
      "withholding defined with 'settings set --other-withholdings'. Example:\n"
      "  --fit Single:1 --ss --medicare --futa --eic 0 --other \"Union dues:\"";
  table.push_back({{"assistant", "add"},
                   "NAME",
                   "add an assistant (attendant) with pay rates and withholding elections",
                   election_help,
                   AssistantOptions(),
                   1,
                   1,
                   AssistantAdd});
  table.push_back({{"assistant", "set"},
                   "NAME",
                   "change an assistant's fields; election flags replace the whole election list",
                   election_help,
                   AssistantOptions(),
                   1,
                   1,
                   AssistantSet});
  table.push_back({{"assistant", "list"}, "", "list the assistants", "", {}, 0, 0, AssistantList});
}

}  // namespace veltrane::host
