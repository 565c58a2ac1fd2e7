#include "host/tax_lists.h"

#include <algorithm>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "host/host_errors.h"
#include "host/user_input.h"

namespace veltrane::host {
namespace {

constexpr std::string_view kBuiltInTaxes[] = {kTaxFIT, kTaxSocSec, kTaxMedicare, kTaxFUTA,
                                              kTaxEIC, kTaxSIT,    kTaxSDI,      kTaxSUI};

std::optional<std::string_view> BuiltInTax(std::string_view name) {
  for (std::string_view tax : kBuiltInTaxes) {
    if (IEquals(tax, Trim(name))) return tax;
  }
  return std::nullopt;
}

struct Election {
  std::string tax;
  std::string filing;
  std::string number;
};

// Checks one election and brings its texts to their canonical form.
Election Checked(Election e, std::string_view what) {
  const std::string where = std::string(what);
  if (const auto tax = BuiltInTax(e.tax)) {
    e.tax = std::string(*tax);
  } else {
    e.tax = ReadText(where, e.tax);
    if (e.tax.empty()) throw UserError(where + ": a withholding election has no tax name");
    if (e.tax.find(kFieldSeparator) != std::string::npos) {
      throw UserError(where + ": the tax name '" + e.tax +
                      "' holds a '|'; choose a name without it");
    }
  }
  e.filing = Trim(e.filing);
  e.number = Trim(e.number);
  if (e.tax == kTaxFIT) {
    e.filing = ReadFilingStatus(where + " (FIT filing status)", e.filing);
    e.number = std::to_string(ReadWholeNumber(where + " (FIT allowances)", e.number, 0, 99));
  } else if (e.tax == kTaxEIC) {
    e.filing.clear();
    if (!e.number.empty())
      e.number = std::to_string(ReadWholeNumber(where + " (EIC spouse filing)", e.number, 0, 2));
  } else if (e.tax == kTaxSocSec || e.tax == kTaxMedicare || e.tax == kTaxFUTA) {
    e.filing.clear();
    e.number.clear();
  } else {
    if (!e.filing.empty())
      e.filing = ReadFilingStatus(where + " (" + e.tax + " filing status)", e.filing);
    if (!e.number.empty())
      e.number =
          std::to_string(ReadWholeNumber(where + " (" + e.tax + " allowances)", e.number, 0, 99));
  }
  return e;
}

std::string Write(const std::vector<Election>& elections) {
  for (std::size_t i = 0; i < elections.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (IEquals(elections[i].tax, elections[j].tax)) {
        throw UserError("the tax '" + elections[i].tax + "' is elected twice; give each tax once");
      }
    }
  }
  ListWriter w;
  for (const Election& e : elections) w.Add(e.tax).Add(e.filing).Add(e.number);
  return w.text();
}

// "A:B" -> A, B; "A" -> A, "".
std::pair<std::string, std::string> SplitColon(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return {std::string(text), ""};
  return {std::string(text.substr(0, colon)), std::string(text.substr(colon + 1))};
}

// A list is whole when it is empty or its last field is followed by its
// separator and the fields make whole groups.
bool IsWholeList(std::string_view raw, std::size_t group) {
  if (raw.empty()) return true;
  const auto fields = static_cast<std::size_t>(std::count(raw.begin(), raw.end(), kFieldSeparator));
  return raw.back() == kFieldSeparator && fields % group == 0;
}

}  // namespace

std::vector<OptionSpec> ElectionOptions() {
  return {
      {"fit", true, false, "federal income tax: filing status and allowances", "FILING:N"},
      {"ss", false, false, "Social Security"},
      {"medicare", false, false, "Medicare"},
      {"futa", false, false, "federal unemployment tax (employer only)"},
      {"eic", true, false, "advance earned income credit: spouse filing 0, 1 or 2", "N"},
      {"sit", true, false, "state income tax: filing status and allowances", "FILING:N"},
      {"sdi", true, false, "state disability insurance", "FILING:N"},
      {"sui", true, false, "state unemployment insurance", "FILING:N"},
      {"other", true, true, "an employer-defined withholding (repeatable)", "NAME[:FILING:N]"},
      {"withholdings", true, false, "the raw election list instead, e.g. 'FIT|Single|1|'", "LIST"},
  };
}

std::optional<std::string> ElectionListFromFlags(const ParsedArgs& args) {
  std::vector<Election> elections;
  bool raw_given = false;
  std::string raw;
  for (const auto& [flag, value] : args.options) {
    const std::string what = "--" + flag;
    if (flag == "withholdings") {
      raw_given = true;
      raw = value;
    } else if (flag == "fit" || flag == "sit" || flag == "sdi" || flag == "sui") {
      auto [filing, number] = SplitColon(value);
      if (flag == "fit" && value.find(':') == std::string::npos) {
        throw UserError(what + ": '" + value + "' lacks the allowances; write it like Single:1");
      }
      elections.push_back(Checked({ToUpper(flag), filing, number}, what));
    } else if (flag == "ss" || flag == "medicare" || flag == "futa") {
      const std::string_view tax = flag == "ss"         ? kTaxSocSec
                                   : flag == "medicare" ? kTaxMedicare
                                                        : kTaxFUTA;
      elections.push_back(Checked({std::string(tax), "", ""}, what));
    } else if (flag == "eic") {
      elections.push_back(Checked(
          {std::string(kTaxEIC), "", std::to_string(ReadWholeNumber(what, value, 0, 2))}, what));
    } else if (flag == "other") {
      auto [name, rest] = SplitColon(value);
      auto [filing, number] = SplitColon(rest);
      if (BuiltInTax(name))
        throw UserError(what + ": '" + Trim(name) + "' has its own flag; use it instead");
      elections.push_back(Checked({name, filing, number}, what));
    }
  }
  if (raw_given && !elections.empty())
    throw UsageError("give either --withholdings or the one-tax flags, not both");
  if (raw_given) return CheckedElectionList(raw);
  if (elections.empty()) return std::nullopt;
  return Write(elections);
}

std::string CheckedElectionList(std::string_view raw) {
  if (!IsWholeList(raw, kElectionFields)) {
    throw UserError("--withholdings: '" + std::string(raw) +
                    "' is not a whole election list; write tax|filing|number| for each tax, e.g. "
                    "'FIT|Single|1|'");
  }
  std::vector<Election> elections;
  for (const ListGroup& g : ReadList(raw, kFieldSeparator, kElectionFields)) {
    elections.push_back(Checked({g[0], g[1], g[2]}, "--withholdings"));
  }
  return Write(elections);
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
  const std::string what = "--other-withholdings";
  if (!IsWholeList(raw, kTaxDefinitionFields)) {
    throw UserError(
        what + ": '" + std::string(raw) +
        "' is not a whole definition list; write nine fields each followed by '|' per withholding, "
        "e.g. 'Union dues|5||||||||'");
  }
  ListWriter w;
  std::vector<std::string> names;
  for (const ListGroup& g : ReadList(raw, kFieldSeparator, kTaxDefinitionFields)) {
    const std::string name = ReadText(what, g[0]);
    if (name.empty()) throw UserError(what + ": a withholding definition has no name");
    if (BuiltInTax(name))
      throw UserError(what + ": '" + name + "' is a built-in tax; choose another name");
    for (const std::string& seen : names) {
      if (IEquals(seen, name))
        throw UserError(what + ": '" + name + "' is defined twice; define it once");
    }
    names.push_back(name);
    w.Add(name);
    for (std::size_t i = 1; i < kTaxDefinitionFields; ++i) {
      // Fields 4 to 6 are percentages; the others amounts. Empty means not set.
      const std::string field = Trim(g[i]);
      const std::string where = what + " (" + name + ", field " + std::to_string(i + 1) + ")";
      if (field.empty())
        w.Add(field);
      else if (i >= 3 && i <= 5)
        w.Add(ReadPercent(where, field));
      else
        w.Add(FormatAmount(ReadAmount(where, field)));
    }
  }
  return w.text();
}

std::string SupplementalTaxList(std::string_view what, std::string_view names,
                                std::string_view elections, std::string_view assistant) {
  const std::string where(what);
  const std::vector<ListGroup> elected = ReadList(elections, kFieldSeparator, kElectionFields);
  ListWriter w;
  std::vector<std::string> given;
  if (Trim(names).empty()) return w.text();
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = names.find(',', from);
    const std::string name = Trim(names.substr(from, comma == std::string_view::npos
                                                         ? std::string_view::npos
                                                         : comma - from));
    if (name.empty()) {
      throw UserError(where + ": '" + std::string(names) +
                      "' holds an empty tax name; separate the taxes with single commas");
    }
    const ListGroup* election = FindGroup(elected, name);
    if (!election) {
      throw UserError(where + ": " + std::string(assistant) + " does not have " + name +
                      " among the withholdings (" + DescribeElections(elections) +
                      "); name only taxes " + std::string(assistant) + " has elected");
    }
    const std::string& tax = (*election)[0];
    // The apostrophe ends a field of the supplemental pay list.
    if (tax.find(kSuppPaySeparator) != std::string::npos) {
      throw UserError(where + ": the tax name '" + tax +
                      "' holds an apostrophe, which a supplemental item cannot carry");
    }
    for (const std::string& seen : given) {
      if (IEquals(seen, tax)) throw UserError(where + ": " + tax + " is named twice; name it once");
    }
    given.push_back(tax);
    w.Add(tax).Add("").Add("");
    if (comma == std::string_view::npos) break;
    from = comma + 1;
  }
  return w.text();
}

}  // namespace veltrane::host
