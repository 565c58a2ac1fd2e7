// The household's people: paystead employer set|show and
// paystead assistant add|set|list.
#include "common/display.h"
#include "host/cli/command.h"
#include "host/cli/listing_views.h"
#include "host/cli/person_flags.h"
#include "host/household/elections.h"
#include "host/household/people.h"

namespace veltrane::cli {
namespace {

void ShowPerson(std::ostream& out, const RowImage& r, const household::PersonField& id_field,
                const std::string& id_label) {
  std::vector<std::pair<std::string, std::string>> fields = {{"Name", household::FullName(r)}};
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
                      r.Text(id_field.column).empty() ? "(not given)" : r.Text(id_field.column));
  RenderFields(out, fields);
}

void EmployerSet(Session& session, const ParsedArgs& args) {
  const household::GivenFields fields = EmployerFlags(args);
  const RowImage row = household::SetEmployer(session.db(), fields);
  session.out() << "Employer saved:\n";
  ShowPerson(session.out(), row, household::EmployerIdField(), "Employer ID");
}

void EmployerShow(Session& session, const ParsedArgs&) {
  const auto row = household::ReadEmployer(session.db());
  if (!row) {
    session.out() << "No employer on file; set one with 'paystead employer set'.\n";
    return;
  }
  ShowPerson(session.out(), *row, household::EmployerIdField(), "Employer ID");
}

void ReportAssistant(std::ostream& out, const RowImage& row) {
  out << row.Text("Name") << ": " << FormatCurrency(row.Get("regular_hourly_rate").ToMoney())
      << " an hour, " << FormatCurrency(row.Get("overtime_hourly_rate").ToMoney())
      << " overtime; withholdings " << household::DescribeElections(row.Text("Withholdings"))
      << '\n';
}

void AssistantAdd(Session& session, const ParsedArgs& args) {
  const household::AssistantInput input = AssistantFlags(args, false);
  const RowImage row = household::AddAssistant(session.db(), args.positionals[0], input);
  session.out() << "Added assistant ";
  ReportAssistant(session.out(), row);
}

void AssistantSet(Session& session, const ParsedArgs& args) {
  const household::AssistantInput input = AssistantFlags(args, true);
  const RowImage row = household::ChangeAssistant(session.db(), args.positionals[0], input);
  session.out() << "Saved assistant ";
  ReportAssistant(session.out(), row);
}

void AssistantList(Session& session, const ParsedArgs&) {
  RenderAssistants(session.out(), household::ReadAllAssistants(session.db()));
}

}  // namespace

void AddSetupCommands(CommandTable& table) {
  table.push_back(
      {{"employer", "set"},
       "",
       "set the employer's name, address and employer ID",
       "Creates the employer record or changes the fields given; an empty value clears a field.",
       EmployerOptions(),
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
                   AssistantAdd,
                   {"name"}});
  table.push_back({{"assistant", "set"},
                   "NAME",
                   "change an assistant's fields; election flags replace the whole election list",
                   election_help,
                   AssistantOptions(),
                   1,
                   1,
                   AssistantSet,
                   {"name"}});
  table.push_back({{"assistant", "list"}, "", "list the assistants", "", {}, 0, 0, AssistantList});
}

}  // namespace veltrane::cli
