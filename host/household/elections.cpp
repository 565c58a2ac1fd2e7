#include "host/household/elections.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"

namespace veltrane::household {
namespace {

// The built-in taxes and the household's field of each.
constexpr std::pair<std::string_view, std::string_view> kFields[] = {
    {kTaxFIT, "fit"}, {kTaxSocSec, "ss"}, {kTaxMedicare, "medicare"}, {kTaxFUTA, "futa"},
    {kTaxEIC, "eic"}, {kTaxSIT, "sit"},   {kTaxSDI, "sdi"},           {kTaxSUI, "sui"}};

std::optional<std::string_view> BuiltInTax(std::string_view name) {
  for (const auto& [tax, field] : kFields) {
    if (IEquals(tax, Trim(name))) return tax;
  }
  return std::nullopt;
}

// Runs a reader of one part of an election; its fault says which part.
template <typename Read>
auto Part(const ElectionInput& e, std::string_view part, Read read) {
  try {
    return read();
  } catch (const Fault& f) {
    throw Fault(e.field,
                FieldRef(e.field) + " (" + e.tax + " " + std::string(part) + "): " + f.text());
  }
}

// Checks one election and brings its texts to their canonical form.
ElectionInput Checked(ElectionInput e) {
  if (const auto tax = BuiltInTax(e.tax)) {
    e.tax = std::string(*tax);
  } else {
    e.tax = ReadText(e.field, e.tax);
    if (e.tax.empty()) throw Fault(e.field, "a withholding election has no tax name");
    if (e.tax.find(kFieldSeparator) != std::string::npos) {
      throw Fault(e.field,
                  "the tax name " + Quoted(e.tax) + " holds a '|'; choose a name without it");
    }
  }
  e.filing = Trim(e.filing);
  e.number = Trim(e.number);
  const auto filing = [&] { return ReadFilingStatus(e.field, e.filing); };
  const auto allowances = [&] { return std::to_string(ReadWholeNumber(e.field, e.number, 0, 99)); };
  if (e.tax == kTaxFIT) {
    e.filing = Part(e, "filing status", filing);
    e.number = Part(e, "allowances", allowances);
  } else if (e.tax == kTaxEIC) {
    e.filing.clear();
    // The EIC's own input holds the spouse-filing code alone.
    const auto code = [&] { return std::to_string(ReadWholeNumber(e.field, e.number, 0, 2)); };
    if (!e.number.empty()) e.number = e.field == "eic" ? code() : Part(e, "spouse filing", code);
  } else if (e.tax == kTaxSocSec || e.tax == kTaxMedicare || e.tax == kTaxFUTA) {
    e.filing.clear();
    e.number.clear();
  } else {
    if (!e.filing.empty()) e.filing = Part(e, "filing status", filing);
    if (!e.number.empty()) e.number = Part(e, "allowances", allowances);
  }
  return e;
}

// A list is whole when it is empty or its last field is followed by its
// separator and the fields make whole groups.
bool IsWholeList(std::string_view raw, std::size_t group) {
  if (raw.empty()) return true;
  const auto fields = static_cast<std::size_t>(std::count(raw.begin(), raw.end(), kFieldSeparator));
  return raw.back() == kFieldSeparator && fields % group == 0;
}

}  // namespace

ElectionInput ElectionOfText(std::string_view field, std::string_view tax, std::string_view text) {
  ElectionInput e{std::string(field), std::string(tax), "", ""};
  std::string_view rest = text;
  const auto next = [&] {
    const std::size_t colon = rest.find(':');
    std::string part(rest.substr(0, colon));
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    return part;
  };
  if (tax.empty()) e.tax = next();
  e.filing = next();
  e.number = std::string(rest);
  return e;
}

std::string ElectionField(std::string_view tax) {
  for (const auto& [name, field] : kFields) {
    if (IEquals(name, Trim(tax))) return std::string(field);
  }
  return "other";
}

std::string CheckedElectionList(const std::vector<ElectionInput>& elections) {
  std::vector<ElectionInput> checked;
  for (const ElectionInput& e : elections) {
    checked.push_back(Checked(e));
    for (std::size_t j = 0; j + 1 < checked.size(); ++j) {
      if (IEquals(checked.back().tax, checked[j].tax)) {
        throw Fault(e.field, "the tax " + Quoted(checked.back().tax) +
                                 " is elected twice; give each tax once");
      }
    }
  }
  ListWriter w;
  for (const ElectionInput& e : checked) w.Add(e.tax).Add(e.filing).Add(e.number);
  return w.text();
}

std::vector<ElectionInput> ElectionsOfList(std::string_view list, std::string_view field) {
  if (!IsWholeList(list, kElectionFields)) {
    throw Fault(std::string(field),
                Quoted(list) +
                    " is not a whole election list; write tax|filing|number| for each "
                    "tax, e.g. 'FIT|Single|1|'");
  }
  std::vector<ElectionInput> elections;
  for (const ListGroup& g : ReadList(list, kFieldSeparator, kElectionFields))
    elections.push_back({std::string(field), g[0], g[1], g[2]});
  return elections;
}

std::string DescribeElections(std::string_view list) {
  std::string out;
  for (const ListGroup& g : ReadList(list, kFieldSeparator, kElectionFields)) {
    std::string item = g[0];
    if (!g[1].empty()) item += " " + g[1];
    if (!g[2].empty()) item += " " + g[2];
    out += (out.empty() ? "" : ", ") + item;
  }
  return out.empty() ? "none" : out;
}

std::string CheckedTaxDefinitions(std::string_view raw) {
  const std::string what = "other-withholdings";
  if (!IsWholeList(raw, kTaxDefinitionFields)) {
    throw Fault(what, Quoted(raw) +
                          " is not a whole definition list; write nine fields each followed by '|' "
                          "per withholding, e.g. 'Union dues|5||||||||'");
  }
  ListWriter w;
  std::vector<std::string> names;
  for (const ListGroup& g : ReadList(raw, kFieldSeparator, kTaxDefinitionFields)) {
    const std::string name = ReadText(what, g[0]);
    if (name.empty()) throw Fault(what, "a withholding definition has no name");
    if (BuiltInTax(name))
      throw Fault(what, Quoted(name) + " is a built-in tax; choose another name");
    for (const std::string& seen : names) {
      if (IEquals(seen, name))
        throw Fault(what, Quoted(name) + " is defined twice; define it once");
    }
    names.push_back(name);
    w.Add(name);
    for (std::size_t i = 1; i < kTaxDefinitionFields; ++i) {
      // Fields 4 to 6 are percentages; the others amounts. Empty means not set.
      const std::string field = Trim(g[i]);
      try {
        if (field.empty())
          w.Add(field);
        else if (i >= 3 && i <= 5)
          w.Add(ReadPercent(what, field));
        else
          w.Add(FormatAmount(ReadAmount(what, field)));
      } catch (const Fault& f) {
        throw Fault(what, FieldRef(what) + " (" + name + ", field " + std::to_string(i + 1) +
                              "): " + f.text());
      }
    }
  }
  return w.text();
}

std::string SupplementalTaxList(std::string_view field, std::string_view names,
                                std::string_view elections, std::string_view assistant) {
  const std::string where(field);
  const std::vector<ListGroup> elected = ReadList(elections, kFieldSeparator, kElectionFields);
  ListWriter w;
  std::vector<std::string> given;
  if (Trim(names).empty()) return w.text();
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = names.find(',', from);
    const std::string name = Trim(names.substr(
        from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
    if (name.empty()) {
      throw Fault(
          where, Quoted(names) + " holds an empty tax name; separate the taxes with single commas");
    }
    const ListGroup* election = FindGroup(elected, name);
    if (!election) {
      throw Fault(where, std::string(assistant) + " does not have " + name +
                             " among the withholdings (" + DescribeElections(elections) +
                             "); name only taxes " + std::string(assistant) + " has elected");
    }
    const std::string& tax = (*election)[0];
    // The apostrophe ends a field of the supplemental pay list.
    if (tax.find(kSuppPaySeparator) != std::string::npos) {
      throw Fault(where, "the tax name " + Quoted(tax) +
                             " holds an apostrophe, which a supplemental item cannot carry");
    }
    for (const std::string& seen : given) {
      if (IEquals(seen, tax)) throw Fault(where, tax + " is named twice; name it once");
    }
    given.push_back(tax);
    w.Add(tax).Add("").Add("");
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  return w.text();
}

}  // namespace veltrane::household
