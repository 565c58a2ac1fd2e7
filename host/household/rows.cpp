#include "host/household/rows.h"

#include "common/payroll_schema.h"
#include "common/text.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"

namespace veltrane::household {
namespace {

constexpr std::string_view kEmployer[] = {"Title",    "first_name",         "mi",   "last_name",
                                          "address1", "address2",           "city", "state",
                                          "zip",      "federal_employer_id"};
constexpr std::string_view kAssistant[] = {"Name",
                                           "Title",
                                           "first_name",
                                           "mi",
                                           "last_name",
                                           "address1",
                                           "address2",
                                           "city",
                                           "state",
                                           "zip",
                                           "social_security_number",
                                           "regular_hourly_rate",
                                           "overtime_hourly_rate",
                                           "Withholdings"};
constexpr std::string_view kTaxSettings[] = {
    "PayrollPeriod",      "OtherWithholdings", "SITRate",     "SITSingle",
    "SITMarried",         "SITHousehold",      "SDIBase",     "SDIEmployeeRate",
    "SDIEmployerRate",    "SDISingle",         "SDIMarried",  "SDIHousehold",
    "SDIWithholding",     "SDIUseExemptions",  "SUIBase",     "SUIEmployeeRate",
    "SUIEmployerRate",    "SUISingle",         "SUIMarried",  "SUIHousehold",
    "SUIWithholding",     "SUIUseExemptions",  "SUIState",    "SUIReportingNumber",
    "SUIWithholdingName", "EICReduce",         "EICPayInFull"};

const Value kNull;

RowImage ReadCurrentRow(Recordset& rs, std::span<const std::string_view> fields) {
  RowImage row;
  row.Set("ID", rs.Field("ID"));
  for (std::string_view f : fields) row.Set(f, rs.Field(f));
  return row;
}

std::optional<RowImage> ReadFirstRow(Database& db, std::string_view table,
                                     std::span<const std::string_view> fields) {
  auto rs = db.OpenRecordset("SELECT * FROM [" + std::string(table) + "] ORDER BY ID",
                             RecordsetType::kForwardOnly);
  std::optional<RowImage> row;
  if (!rs->IsEOF()) row = ReadCurrentRow(*rs, fields);
  rs->Close();
  return row;
}

}  // namespace

std::span<const std::string_view> EmployerFields() { return kEmployer; }
std::span<const std::string_view> AssistantFields() { return kAssistant; }
std::span<const std::string_view> TaxSettingsFields() { return kTaxSettings; }

void RowImage::Set(std::string_view field, Value value) {
  for (auto& [name, v] : fields_) {
    if (IEquals(name, field)) {
      v = std::move(value);
      return;
    }
  }
  fields_.emplace_back(std::string(field), std::move(value));
}

const Value& RowImage::Get(std::string_view field) const {
  for (const auto& [name, v] : fields_) {
    if (IEquals(name, field)) return v;
  }
  return kNull;
}

RowImage BlankRow(std::span<const std::string_view> fields) {
  RowImage row;
  for (std::string_view f : fields) row.Set(f, "");
  return row;
}

std::optional<RowImage> ReadEmployer(Database& db) {
  return ReadFirstRow(db, kEmployerTable, EmployerFields());
}

std::optional<RowImage> ReadSettings(Database& db) {
  return ReadFirstRow(db, kTaxSettingsTable, TaxSettingsFields());
}

std::optional<RowImage> FindAssistant(Database& db, std::string_view name) {
  auto rs =
      db.OpenRecordset("SELECT * FROM [Assistants] WHERE [Name]='" + QuoteName(Trim(name)) + "'",
                       RecordsetType::kForwardOnly);
  std::optional<RowImage> row;
  if (!rs->IsEOF()) row = ReadCurrentRow(*rs, AssistantFields());
  rs->Close();
  return row;
}

std::vector<RowImage> ReadAllAssistants(Database& db) {
  auto rs =
      db.OpenRecordset("SELECT * FROM [Assistants] ORDER BY Name", RecordsetType::kForwardOnly);
  std::vector<RowImage> rows;
  for (; !rs->IsEOF(); rs->MoveNext()) rows.push_back(ReadCurrentRow(*rs, AssistantFields()));
  rs->Close();
  return rows;
}

std::vector<std::string> AssistantNames(Database& db) {
  std::vector<std::string> names;
  for (const RowImage& row : ReadAllAssistants(db)) names.push_back(row.Text("Name"));
  return names;
}

std::string RequireAssistant(Database& db, std::string_view name, std::string_view field) {
  const auto row = FindAssistant(db, name);
  if (!row) {
    throw Fault(std::string(field), "there is no assistant named " + Quoted(Trim(name)),
                Remedy::kListAssistants);
  }
  return row->Text("Name");
}

void StoreRow(Database& db, std::string_view table, const RowImage& row) {
  const Value& id = row.Get("ID");
  if (!id.IsNull()) {
    db.Execute("DELETE FROM [" + std::string(table) + "] WHERE ID=" + std::to_string(id.ToInt()));
  }
  auto rs = db.OpenRecordset(table, RecordsetType::kTable);
  rs->AddNew();
  for (const auto& [name, value] : row.fields()) {
    if (IEquals(name, "ID") && value.IsNull()) continue;
    rs->SetField(name, value);
  }
  rs->Update();
  rs->Close();
}

std::string FullName(const RowImage& r) {
  std::string name;
  for (const char* part : {"Title", "first_name", "mi", "last_name"}) {
    const std::string text = r.Text(part);
    if (!text.empty()) name += (name.empty() ? "" : " ") + text;
  }
  return name;
}

EmployerHeading ReadEmployerHeading(Database& db) {
  EmployerHeading heading;
  if (const auto employer = ReadEmployer(db)) {
    heading.name = FullName(*employer);
    heading.id = employer->Text("federal_employer_id");
  }
  return heading;
}

}  // namespace veltrane::household
