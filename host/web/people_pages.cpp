// The employer and the assistants as pages: /employer, /assistants,
// /assistant (the form of a new or an existing assistant).
#include <map>

#include "common/amount_text.h"
#include "common/display.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "host/household/elections.h"
#include "host/household/people.h"
#include "host/html/escape.h"
#include "host/web/page.h"
#include "host/web/routes.h"

namespace veltrane::web {
namespace {

using household::ElectionInput;
using household::PersonField;
using household::RowImage;
using html::EscapeHtml;

// The caption of each person field on the pages.
const std::map<std::string_view, std::string_view> kCaptions = {
    {"title", "Courtesy title"},
    {"first", "&First name"},
    {"mi", "Middle in&itial"},
    {"last", "&Last name"},
    {"address1", "Address line &1"},
    {"address2", "Address line &2"},
    {"city", "&City"},
    {"state", "&State"},
    {"zip", "&ZIP code"},
    {"employer-id", "Employer I&D"},
    {"ssn", "Social security num&ber"},
};

// How a fault's text names the fields of these forms.
const std::map<std::string, std::string, std::less<>> kLabels = {
    {"rate", "the regular hourly rate"}, {"ot-rate", "the overtime hourly rate"}};

using Values = std::map<std::string, std::string>;

struct FormState {
  Values values;
  PageFault fault;
};

std::string Get(const Values& v, const std::string& name) {
  const auto it = v.find(name);
  return it == v.end() ? "" : it->second;
}

std::vector<PersonField> PersonFieldsWith(const PersonField& id_field) {
  std::vector<PersonField> fields(household::NameFields().begin(), household::NameFields().end());
  fields.push_back(id_field);
  return fields;
}

void PersonFields(WebPage& page, const FormState& state, const PersonField& id_field) {
  for (const PersonField& f : PersonFieldsWith(id_field)) {
    const std::string field(f.field);
    page.TextField(field, kCaptions.at(f.field), Get(state.values, field),
                   state.fault.field == field ? state.fault.text : "");
  }
}

// The fields of the form as typed, and the household's fields given.
household::GivenFields ReadPerson(const WebRequest& r, const PersonField& id_field,
                                  Values& values) {
  household::GivenFields given;
  for (const PersonField& f : PersonFieldsWith(id_field)) {
    const std::string field(f.field);
    values[field] = r.ValueOr(field);
    given.emplace_back(field, values[field]);
  }
  return given;
}

// The page's fault above the form when no field of the form shows it.
void PageNotice(WebPage& page, const PageFault& fault, const std::vector<std::string>& shown) {
  if (fault.text.empty()) return;
  if (std::find(shown.begin(), shown.end(), fault.field) == shown.end())
    page.Notice(fault.text, true);
}

Values RowValues(const RowImage& row, const PersonField& id_field) {
  Values values;
  for (const PersonField& f : PersonFieldsWith(id_field))
    values[std::string(f.field)] = row.Text(f.column);
  return values;
}

// ---- employer

WebReply EmployerPage(WebContext& c, const FormState& state, bool saved) {
  WebPage page("Employer", "/employer", c.token);
  if (saved) page.Notice("Employer saved.", false);
  std::vector<std::string> shown;
  for (const PersonField& f : PersonFieldsWith(household::EmployerIdField()))
    shown.emplace_back(f.field);
  PageNotice(page, state.fault, shown);
  page.BeginForm("/employer", "The employer's name, address and employer ID");
  PersonFields(page, state, household::EmployerIdField());
  page.Button("Sa&ve employer");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowEmployer(WebContext& c, const WebRequest& r) {
  FormState state;
  if (const auto row = household::ReadEmployer(c.db))
    state.values = RowValues(*row, household::EmployerIdField());
  return EmployerPage(c, state, r.Value("saved").has_value());
}

WebReply SaveEmployer(WebContext& c, const WebRequest& r) {
  FormState state;
  const household::GivenFields given = ReadPerson(r, household::EmployerIdField(), state.values);
  try {
    household::SetEmployer(c.db, given);
  } catch (const household::Fault& e) {
    state.fault = ForPage(e, kLabels);
    return EmployerPage(c, state, false);
  }
  return WebReply::SeeOther("/employer?saved=1");
}

// ---- assistants

// The elections of a stored list as the form's fields.
void ElectionValues(std::string_view list, Values& values) {
  for (const ElectionInput& e : household::ElectionsOfList(list, "")) {
    const std::string field = household::ElectionField(e.tax);
    if (field == "fit") {
      values["fit-filing"] = e.filing;
      values["fit-allowances"] = e.number;
    } else if (field == "ss" || field == "medicare" || field == "futa") {
      values[field] = "yes";
    } else if (field == "eic") {
      values["eic"] = e.number;
    } else if (field == "other") {
      std::string& other = values["other"];
      other += (other.empty() ? "" : "; ") + e.tax +
               (e.filing.empty() && e.number.empty() ? "" : ":" + e.filing + ":" + e.number);
    } else {
      values[field] = e.filing.empty() && e.number.empty() ? ":" : e.filing + ":" + e.number;
    }
  }
}

// The form's elections, in the order the form shows them. The form shows
// every election, so none chosen means none.
std::vector<ElectionInput> ReadElections(const WebRequest& r, Values& values) {
  std::vector<ElectionInput> elections;
  values["fit-filing"] = r.ValueOr("fit-filing");
  values["fit-allowances"] = r.ValueOr("fit-allowances");
  if (values["fit-filing"] != "none" && !values["fit-filing"].empty())
    elections.push_back(
        {"fit", std::string(kTaxFIT), values["fit-filing"], values["fit-allowances"]});
  for (const auto& [field, tax] : {std::pair{"ss", kTaxSocSec}, std::pair{"medicare", kTaxMedicare},
                                   std::pair{"futa", kTaxFUTA}}) {
    values[field] = r.Value(field) ? "yes" : "";
    if (r.Value(field)) elections.push_back({field, std::string(tax), "", ""});
  }
  values["eic"] = r.ValueOr("eic");
  if (!Trim(values["eic"]).empty())
    elections.push_back({"eic", std::string(kTaxEIC), "", values["eic"]});
  for (const auto& [field, tax] :
       {std::pair{"sit", kTaxSIT}, std::pair{"sdi", kTaxSDI}, std::pair{"sui", kTaxSUI}}) {
    values[field] = r.ValueOr(field);
    if (!Trim(values[field]).empty())
      elections.push_back(household::ElectionOfText(field, tax, values[field]));
  }
  values["other"] = r.ValueOr("other");
  std::string_view rest = values["other"];
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    const std::string item = Trim(rest.substr(0, end));
    if (!item.empty()) elections.push_back(household::ElectionOfText("other", "", item));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return elections;
}

household::AssistantInput ReadAssistant(const WebRequest& r, Values& values) {
  household::AssistantInput input;
  input.person = ReadPerson(r, household::SsnField(), values);
  values["rate"] = r.ValueOr("rate");
  values["ot-rate"] = r.ValueOr("ot-rate");
  input.rate = values["rate"];
  input.ot_rate = values["ot-rate"];
  input.elections = ReadElections(r, values);
  return input;
}

WebReply AssistantPage(WebContext& c, const std::string& name, const FormState& state) {
  const bool adding = name.empty();
  WebPage page(adding ? "New assistant" : "Assistant " + name, "/assistants", c.token);
  const auto fault = [&](std::string_view field) {
    return state.fault.field == field ? state.fault.text : std::string();
  };
  std::vector<std::string> shown = {"rate", "ot-rate", "fit", "eic", "sit", "sdi", "sui", "other"};
  if (adding) shown.push_back("name");
  for (const PersonField& f : PersonFieldsWith(household::SsnField())) shown.emplace_back(f.field);
  PageNotice(page, state.fault, shown);
  page.BeginForm(adding ? "/assistants/add" : "/assistants/change",
                 adding ? "A new assistant" : "The assistant's fields");
  if (adding) {
    page.TextField("name", "&Name", Get(state.values, "name"), fault("name"),
                   "as the assistant is known in the payroll");
  } else {
    page.Hidden("name", name);
  }
  PersonFields(page, state, household::SsnField());
  page.TextField("rate", "&Regular hourly rate", Get(state.values, "rate"), fault("rate"),
                 "dollars, like 10.50");
  page.TextField("ot-rate", "&Overtime hourly rate", Get(state.values, "ot-rate"), fault("ot-rate"),
                 "blank: 1.5 times the regular rate");
  page.Html("<h2>Withholdings</h2>");
  page.Select("fit-filing", "Federal income tax filin&g status",
              {{"none", "No federal income tax"},
               {"Single", "Single"},
               {"Married", "Married"},
               {"Head of Household", "Head of Household"}},
              Get(state.values, "fit-filing").empty() ? "none" : Get(state.values, "fit-filing"),
              fault("fit"));
  page.TextField("fit-allowances", "Federal allo&wances", Get(state.values, "fit-allowances"), "",
                 "0 to 99");
  page.Checkbox("ss", "Social Security ta&x", Get(state.values, "ss") == "yes");
  page.Checkbox("medicare", "Me&dicare tax", Get(state.values, "medicare") == "yes");
  page.Checkbox("futa", "F&UTA, federal unemployment tax", Get(state.values, "futa") == "yes");
  page.TextField("eic", "Advance EIC, spouse filing", Get(state.values, "eic"), fault("eic"),
                 "0, 1 or 2; blank for none");
  page.TextField("sit", "State income tax", Get(state.values, "sit"), fault("sit"),
                 "filing status and allowances, like Single:1; blank for none");
  page.TextField("sdi", "State disability insurance", Get(state.values, "sdi"), fault("sdi"),
                 "like Single:1; blank for none");
  page.TextField("sui", "State unemployment insurance", Get(state.values, "sui"), fault("sui"),
                 "like Single:1; blank for none");
  page.TextField("other", "Employer-defined withholdings", Get(state.values, "other"),
                 fault("other"), "names from the tax settings, like Union dues; separate with ;");
  page.Button(adding ? "Sa&ve new assistant" : "Sa&ve assistant");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowAssistant(WebContext& c, const WebRequest& r) {
  const std::string name = r.ValueOr("name");
  FormState state;
  if (name.empty()) return AssistantPage(c, "", state);
  const std::string stored = household::RequireAssistant(c.db, name, "name");
  const RowImage row = *household::FindAssistant(c.db, stored);
  state.values = RowValues(row, household::SsnField());
  state.values["rate"] = FormatAmount(row.Get("regular_hourly_rate").ToMoney());
  state.values["ot-rate"] = FormatAmount(row.Get("overtime_hourly_rate").ToMoney());
  ElectionValues(row.Text("Withholdings"), state.values);
  return AssistantPage(c, stored, state);
}

WebReply AddAssistantPost(WebContext& c, const WebRequest& r) {
  FormState state;
  household::AssistantInput input = ReadAssistant(r, state.values);
  // A rate left blank is one not given.
  if (Trim(*input.rate).empty()) input.rate.reset();
  state.values["name"] = r.ValueOr("name");
  try {
    const RowImage row = household::AddAssistant(c.db, state.values["name"], input);
    return WebReply::SeeOther(PathWith("/assistants", {{"added", row.Text("Name")}}));
  } catch (const household::Fault& e) {
    state.fault = ForPage(e, kLabels);
  }
  return AssistantPage(c, "", state);
}

WebReply ChangeAssistantPost(WebContext& c, const WebRequest& r) {
  FormState state;
  const std::string name = household::RequireAssistant(c.db, r.ValueOr("name"), "name");
  const household::AssistantInput input = ReadAssistant(r, state.values);
  try {
    household::ChangeAssistant(c.db, name, input);
    return WebReply::SeeOther(PathWith("/assistants", {{"saved", name}}));
  } catch (const household::Fault& e) {
    state.fault = ForPage(e, kLabels);
  }
  return AssistantPage(c, name, state);
}

WebReply ListAssistants(WebContext& c, const WebRequest& r) {
  WebPage page("Assistants", "/assistants", c.token);
  if (const auto added = r.Value("added")) page.Notice("Added assistant " + *added + ".", false);
  if (const auto saved = r.Value("saved")) page.Notice("Saved assistant " + *saved + ".", false);
  const std::vector<RowImage> rows = household::ReadAllAssistants(c.db);
  if (rows.empty()) {
    page.Paragraph("No assistants yet.");
  } else {
    page.BeginTable("The assistants");
    page.Html(
        "<thead><tr><th scope=\"col\">Name</th>"
        "<th scope=\"col\">Hourly rate</th><th scope=\"col\">Overtime rate</th>"
        "<th scope=\"col\">Withholdings</th><th scope=\"col\">Change</th></tr></thead><tbody>");
    for (const RowImage& row : rows) {
      page.Html(
          "<tr><th scope=\"row\">" + EscapeHtml(row.Text("Name")) + "</th><td class=\"num\">" +
          EscapeHtml(FormatCurrency(row.Get("regular_hourly_rate").ToMoney())) +
          "</td><td class=\"num\">" +
          EscapeHtml(FormatCurrency(row.Get("overtime_hourly_rate").ToMoney())) + "</td><td>" +
          EscapeHtml(household::DescribeElections(row.Text("Withholdings"))) + "</td><td>");
      page.Link(PathWith("/assistant", {{"name", row.Text("Name")}}),
                "Change " + CaptionLiteral(row.Text("Name")));
      page.Html("</td></tr>");
    }
    page.Html("</tbody>");
    page.EndTable();
  }
  page.Link("/assistant", "Add a &new assistant");
  return WebReply::Page(page.Render());
}

}  // namespace

void AddPeoplePages(std::vector<WebRoute>& routes) {
  routes.push_back({"/employer", false, ShowEmployer});
  routes.push_back({"/employer", true, SaveEmployer});
  routes.push_back({"/assistants", false, ListAssistants});
  routes.push_back({"/assistant", false, ShowAssistant});
  routes.push_back({"/assistants/add", true, AddAssistantPost});
  routes.push_back({"/assistants/change", true, ChangeAssistantPost});
}

}  // namespace veltrane::web
