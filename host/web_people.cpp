// The employer and the assistants as pages: /employer, /assistants,
// /assistant (the form of a new or an existing assistant).
#include <map>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/display.h"
#include "common/sqlite_database.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "host/host_errors.h"
#include "host/household_people.h"
#include "host/statement_page.h"
#include "host/tax_lists.h"
#include "host/web_page.h"
#include "host/web_routes.h"

namespace veltrane::host {
namespace {

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

using Values = std::map<std::string, std::string>;

struct FormState {
  Values values;
  FieldFault fault;
};

void PersonFields(WebPage& page, const FormState& state, const PersonField& id_field) {
  std::vector<PersonField> fields(NameFields().begin(), NameFields().end());
  fields.push_back(id_field);
  for (const PersonField& f : fields) {
    const std::string flag(f.flag);
    const auto value = state.values.find(flag);
    page.TextField(flag, kCaptions.at(f.flag), value == state.values.end() ? "" : value->second,
                   state.fault.field == flag ? state.fault.text : "");
  }
}

std::vector<std::string> FieldNames(const std::vector<OptionSpec>& options) {
  std::vector<std::string> names;
  for (const OptionSpec& o : options) names.emplace_back(o.name);
  return names;
}

// The page's fault beside its field, or above the form when it names none.
void PageFault(WebPage& page, const FieldFault& fault) {
  if (!fault.text.empty() && fault.field.empty()) page.Notice(fault.text, true);
}

Values RowValues(const RowImage& row, std::span<const PersonField> fields) {
  Values values;
  for (const PersonField& f : fields) values[std::string(f.flag)] = row.Text(f.field);
  return values;
}

// ---- employer

WebReply EmployerPage(WebContext& c, const FormState& state, bool saved) {
  WebPage page("Employer", "/employer", c.token);
  if (saved) page.Notice("Employer saved.", false);
  PageFault(page, state.fault);
  page.BeginForm("/employer", "The employer's name, address and employer ID");
  PersonFields(page, state, EmployerIdField());
  page.Button("Sa&ve employer");
  page.EndForm();
  return WebReply::Page(page.Render());
}

WebReply ShowEmployer(WebContext& c, const WebRequest& r) {
  FormState state;
  if (const auto row = ReadFirstRow(c.session.db(), kEmployerTable, EmployerFields())) {
    std::vector<PersonField> fields(NameFields().begin(), NameFields().end());
    fields.push_back(EmployerIdField());
    state.values = RowValues(*row, fields);
  }
  return EmployerPage(c, state, r.Value("saved").has_value());
}

WebReply SaveEmployer(WebContext& c, const WebRequest& r) {
  ParsedArgs fields;
  FormState state;
  for (const OptionSpec& o : EmployerOptions()) {
    const std::string name(o.name);
    state.values[name] = r.ValueOr(name);
    fields.options.emplace_back(name, state.values[name]);
  }
  try {
    SetEmployer(c.session.db(), fields);
  } catch (const UserError& e) {
    state.fault = SplitFault(e.what(), FieldNames(EmployerOptions()));
    return EmployerPage(c, state, false);
  }
  return WebReply::SeeOther("/employer?saved=1");
}

// ---- assistants

// The elections of a stored list as the form's fields.
void ElectionValues(std::string_view list, Values& values) {
  for (const ListGroup& g : ReadList(list, kFieldSeparator, kElectionFields)) {
    const std::string& tax = g[0];
    if (tax == kTaxFIT) {
      values["fit-filing"] = g[1];
      values["fit-allowances"] = g[2];
    } else if (tax == kTaxSocSec) {
      values["ss"] = "yes";
    } else if (tax == kTaxMedicare) {
      values["medicare"] = "yes";
    } else if (tax == kTaxFUTA) {
      values["futa"] = "yes";
    } else if (tax == kTaxEIC) {
      values["eic"] = g[2];
    } else if (tax == kTaxSIT || tax == kTaxSDI || tax == kTaxSUI) {
      values[ToLower(tax)] = g[1].empty() && g[2].empty() ? ":" : g[1] + ":" + g[2];
    } else {
      std::string& other = values["other"];
      other += (other.empty() ? "" : "; ") + tax +
               (g[1].empty() && g[2].empty() ? "" : ":" + g[1] + ":" + g[2]);
    }
  }
}

std::string Get(const Values& v, const std::string& name) {
  const auto it = v.find(name);
  return it == v.end() ? "" : it->second;
}

WebReply AssistantPage(WebContext& c, const std::string& name, const FormState& state) {
  const bool adding = name.empty();
  WebPage page(adding ? "New assistant" : "Assistant " + name, "/assistants", c.token);
  PageFault(page, state.fault);
  page.BeginForm(adding ? "/assistants/add" : "/assistants/change",
                 adding ? "A new assistant" : "The assistant's fields");
  const auto fault = [&](std::string_view field) {
    return state.fault.field == field ? state.fault.text : std::string();
  };
  if (adding) {
    page.TextField("name", "&Name", Get(state.values, "name"),
                   state.fault.field == "name" ? state.fault.text : "",
                   "as the assistant is known in the payroll");
  } else {
    page.Hidden("name", name);
  }
  PersonFields(page, state, SsnField());
  page.TextField("rate", "&Regular hourly rate", Get(state.values, "rate"), fault("rate"),
                 "dollars, like 10.50");
  page.TextField("ot-rate", "&Overtime hourly rate", Get(state.values, "ot-rate"), fault("ot-rate"),
                 adding ? "blank: 1.5 times the regular rate" : "");
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
  page.Checkbox("ss", "Social Securit&y tax", Get(state.values, "ss") == "yes");
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
  page.Button(adding ? "Add assista&nt" : "Sa&ve assistant");
  page.EndForm();
  return WebReply::Page(page.Render());
}

// The form's fields in the order the command line's flags would give them.
ParsedArgs AssistantFields(const WebRequest& r, Values& values, bool adding) {
  ParsedArgs fields;
  for (const OptionSpec& o : AssistantOptions()) {
    const std::string name(o.name);
    if (!o.takes_value || name == "fit" || name == "eic" || name == "sit" || name == "sdi" ||
        name == "sui" || name == "other" || name == "withholdings")
      continue;
    values[name] = r.ValueOr(name);
    if (adding && values[name].empty() && (name == "ot-rate" || name == "rate")) continue;
    fields.options.emplace_back(name, values[name]);
  }
  std::size_t elections = 0;
  const auto elect = [&](const std::string& flag, const std::string& value) {
    fields.options.emplace_back(flag, value);
    ++elections;
  };
  values["fit-filing"] = r.ValueOr("fit-filing");
  values["fit-allowances"] = r.ValueOr("fit-allowances");
  if (values["fit-filing"] != "none" && !values["fit-filing"].empty())
    elect("fit", values["fit-filing"] + ":" + values["fit-allowances"]);
  for (const char* tax : {"ss", "medicare", "futa"}) {
    values[tax] = r.Value(tax) ? "yes" : "";
    if (r.Value(tax)) elect(tax, "");
  }
  for (const char* tax : {"eic", "sit", "sdi", "sui", "other"}) {
    values[tax] = r.ValueOr(tax);
    if (Trim(values[tax]).empty()) continue;
    if (std::string_view(tax) != "other") {
      elect(tax, values[tax]);
      continue;
    }
    std::string_view rest = values[tax];
    while (!rest.empty()) {
      const std::size_t end = rest.find(';');
      const std::string item = Trim(rest.substr(0, end));
      if (!item.empty()) elect(tax, item);
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
  }
  // The form shows every election, so none chosen means none.
  if (elections == 0) fields.options.emplace_back("withholdings", "");
  return fields;
}

std::vector<std::string> AssistantFieldNames() {
  std::vector<std::string> names = FieldNames(AssistantOptions());
  names.push_back("name");
  return names;
}

WebReply ShowAssistant(WebContext& c, const WebRequest& r) {
  const std::string name = r.ValueOr("name");
  FormState state;
  if (name.empty()) return AssistantPage(c, "", state);
  const std::string stored = RequireAssistant(c.session.db(), name);
  const RowImage row = *FindAssistant(c.session.db(), stored);
  std::vector<PersonField> fields(NameFields().begin(), NameFields().end());
  fields.push_back(SsnField());
  state.values = RowValues(row, fields);
  state.values["rate"] = FormatAmount(row.Get("regular_hourly_rate").ToMoney());
  state.values["ot-rate"] = FormatAmount(row.Get("overtime_hourly_rate").ToMoney());
  ElectionValues(row.Text("Withholdings"), state.values);
  return AssistantPage(c, stored, state);
}

WebReply AddAssistantPost(WebContext& c, const WebRequest& r) {
  FormState state;
  const ParsedArgs fields = AssistantFields(r, state.values, true);
  state.values["name"] = r.ValueOr("name");
  try {
    const RowImage row = NewAssistant(state.values["name"], fields);
    StoreNewAssistant(c.session.db(), row);
    return WebReply::SeeOther(PathWith("/assistants", {{"added", row.Text("Name")}}));
  } catch (const UserError& e) {
    state.fault = SplitFault(e.what(), AssistantFieldNames());
    const std::string_view message = e.what();
    // The name's own faults: NAME as the command line calls it, empty, or taken.
    if (message.starts_with("NAME: ")) state.fault = {"name", std::string(message.substr(6))};
    if (message.starts_with("the assistant's name") || message.starts_with("there already is"))
      state.fault.field = "name";
  } catch (const UsageError& e) {
    state.fault = {"", e.what()};
  }
  return AssistantPage(c, "", state);
}

WebReply ChangeAssistantPost(WebContext& c, const WebRequest& r) {
  FormState state;
  const std::string name = RequireAssistant(c.session.db(), r.ValueOr("name"));
  const ParsedArgs fields = AssistantFields(r, state.values, false);
  try {
    ChangeAssistant(c.session.db(), name, fields);
    return WebReply::SeeOther(PathWith("/assistants", {{"saved", name}}));
  } catch (const UserError& e) {
    state.fault = SplitFault(e.what(), AssistantFieldNames());
  } catch (const UsageError& e) {
    state.fault = {"", e.what()};
  }
  return AssistantPage(c, name, state);
}

WebReply ListAssistants(WebContext& c, const WebRequest& r) {
  WebPage page("Assistants", "/assistants", c.token);
  if (const auto added = r.Value("added")) page.Notice("Added assistant " + *added + ".", false);
  if (const auto saved = r.Value("saved")) page.Notice("Saved assistant " + *saved + ".", false);
  const std::vector<RowImage> rows = ReadAllAssistants(c.session.db());
  if (rows.empty()) {
    page.Paragraph("No assistants yet.");
  } else {
    page.Html(
        "<table><caption>The assistants</caption><thead><tr><th scope=\"col\">Name</th>"
        "<th scope=\"col\">Hourly rate</th><th scope=\"col\">Overtime rate</th>"
        "<th scope=\"col\">Withholdings</th><th scope=\"col\">Change</th></tr></thead><tbody>");
    for (const RowImage& row : rows) {
      page.Html(
          "<tr><th scope=\"row\">" + EscapeHtml(row.Text("Name")) + "</th><td class=\"num\">" +
          EscapeHtml(FormatCurrency(row.Get("regular_hourly_rate").ToMoney())) +
          "</td><td class=\"num\">" +
          EscapeHtml(FormatCurrency(row.Get("overtime_hourly_rate").ToMoney())) + "</td><td>" +
          EscapeHtml(DescribeElections(row.Text("Withholdings"))) + "</td><td>");
      page.Link(PathWith("/assistant", {{"name", row.Text("Name")}}), "Change " + row.Text("Name"));
      page.Html("</td></tr>");
    }
    page.Html("</tbody></table>");
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

}  // namespace veltrane::host
