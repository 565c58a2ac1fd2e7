// The two tax lists of a household employer: an assistant's withholding
// elections ("FIT|Single|1|Soc. Sec.|||...") and the definitions of the
// employer's own withholdings (nine fields a record). They are checked here
// before they are stored, because one malformed entry would later empty a
// paycheck's whole withholding record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane::household {

// One election as a person gives it, texts as typed: the tax, and for the
// taxes that take them a filing status and a number (the allowances; for
// the advance EIC the spouse-filing code 0, 1 or 2). `field` is the input
// it came from ("fit", "other", "withholdings"), which its faults name.
struct ElectionInput {
  std::string field;
  std::string tax;
  std::string filing;
  std::string number;
};

// An election as a person writes it on one line: "Single:1", the filing
// status and the number, for the tax `tax`; or, when `tax` is empty, the
// tax's name first: "Union dues:Single:1", "Union dues". Texts as typed.
ElectionInput ElectionOfText(std::string_view field, std::string_view tax, std::string_view text);

// The household's field of each built-in tax ("fit" for FIT, "ss" for Soc.
// Sec.); "other" for an employer-defined withholding.
std::string ElectionField(std::string_view tax);

// The stored election list of the elections, each checked and written with
// its tax name and filing status in their canonical spelling, in order. A
// Fault of the election's field for a malformed value or a tax given twice.
std::string CheckedElectionList(const std::vector<ElectionInput>& elections);

// The elections of a list as written ("FIT|Single|1|"), each of `field`.
// A Fault of `field` when the text is not a whole list.
std::vector<ElectionInput> ElectionsOfList(std::string_view list, std::string_view field);

// "FIT Single 1, Soc. Sec., Medicare, FUTA, EIC 0", or "none".
std::string DescribeElections(std::string_view list);

// A definition list as written checked (field "other-withholdings"): whole
// records, a name that is not one of the built-in taxes, amounts and
// percentages where the fields hold them.
std::string CheckedTaxDefinitions(std::string_view raw);

// The tax list of a supplemental pay item from the comma-separated tax
// names a person gives ("Soc. Sec.,Medicare"): each must be one of the
// taxes of `assistant`'s election list `elections`, letter case ignored,
// and is written in its elected spelling as a triple without amounts
// ("Soc. Sec.|||Medicare|||"). An empty text gives the empty list. A Fault
// of `field` for a name that is empty, not elected or given twice.
std::string SupplementalTaxList(std::string_view field, std::string_view names,
                                std::string_view elections, std::string_view assistant);

}  // namespace veltrane::household
