#include "host/cli/person_flags.h"

#include "common/tax_names.h"
#include "common/text.h"
#include "host/cli/cli_errors.h"
#include "host/household/fault.h"
#include "host/household/input_text.h"

namespace veltrane::cli {
namespace {

using household::ElectionInput;
using household::Fault;
using household::PersonField;

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

void AddTextOptions(std::vector<OptionSpec>& options, const PersonField& f) {
  options.push_back({f.field, true, false, f.help, "TEXT"});
}

// The elections the flags give, in the order given; nullopt without one.
std::optional<std::vector<ElectionInput>> ElectionFlags(const ParsedArgs& args) {
  std::vector<ElectionInput> elections;
  std::optional<std::string> raw;
  for (const auto& [flag, value] : args.options) {
    if (flag == "withholdings") {
      raw = value;
    } else if (flag == "fit" || flag == "sit" || flag == "sdi" || flag == "sui") {
      if (flag == "fit" && value.find(':') == std::string::npos)
        throw Fault(flag,
                    household::Quoted(value) + " lacks the allowances; write it like Single:1");
      elections.push_back(household::ElectionOfText(flag, ToUpper(flag), value));
    } else if (flag == "ss" || flag == "medicare" || flag == "futa") {
      const std::string_view tax = flag == "ss"         ? kTaxSocSec
                                   : flag == "medicare" ? kTaxMedicare
                                                        : kTaxFUTA;
      elections.push_back({flag, std::string(tax), "", ""});
    } else if (flag == "eic") {
      elections.push_back({flag, std::string(kTaxEIC), "", value});
    } else if (flag == "other") {
      ElectionInput election = household::ElectionOfText(flag, "", value);
      if (household::ElectionField(election.tax) != "other")
        throw Fault(flag,
                    household::Quoted(Trim(election.tax)) + " has its own flag; use it instead");
      elections.push_back(std::move(election));
    }
  }
  if (raw && !elections.empty())
    throw UsageError("give either --withholdings or the one-tax flags, not both");
  if (raw) return household::ElectionsOfList(*raw, "withholdings");
  if (elections.empty()) return std::nullopt;
  return elections;
}

household::GivenFields TextFlags(const ParsedArgs& args, std::span<const PersonField> fields) {
  household::GivenFields given;
  for (const PersonField& f : fields) {
    if (const auto value = args.Get(f.field)) given.emplace_back(std::string(f.field), *value);
  }
  return given;
}

}  // namespace

std::vector<OptionSpec> EmployerOptions() {
  std::vector<OptionSpec> options;
  for (const PersonField& f : household::NameFields()) AddTextOptions(options, f);
  AddTextOptions(options, household::EmployerIdField());
  return options;
}

std::vector<OptionSpec> AssistantOptions() {
  std::vector<OptionSpec> options;
  for (const PersonField& f : household::NameFields()) AddTextOptions(options, f);
  AddTextOptions(options, household::SsnField());
  options.push_back({"rate", true, false, "pay per regular hour, e.g. 10.50", "AMOUNT"});
  options.push_back(
      {"ot-rate", true, false, "pay per overtime hour (added: 1.5 times --rate)", "AMOUNT"});
  for (const OptionSpec& o : ElectionOptions()) options.push_back(o);
  return options;
}

household::GivenFields EmployerFlags(const ParsedArgs& args) {
  household::GivenFields given = TextFlags(args, household::NameFields());
  for (auto& field : TextFlags(args, {&household::EmployerIdField(), 1})) given.push_back(field);
  if (given.empty()) throw UsageError("nothing to set; give at least one flag");
  return given;
}

household::AssistantInput AssistantFlags(const ParsedArgs& args, bool changing) {
  household::AssistantInput input;
  input.person = TextFlags(args, household::NameFields());
  for (auto& field : TextFlags(args, {&household::SsnField(), 1})) input.person.push_back(field);
  input.rate = args.Get("rate");
  input.ot_rate = args.Get("ot-rate");
  input.elections = ElectionFlags(args);
  if (changing && input.person.empty() && !input.rate && !input.ot_rate && !input.elections)
    throw UsageError("nothing to set; give at least one flag");
  return input;
}

}  // namespace veltrane::cli
