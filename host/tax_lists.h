// The two tax lists a household employer types: an assistant's withholding
// election list ("FIT|Single|1|Soc. Sec.|||...") and the definitions of the
// employer's own withholdings (nine fields a record). They are checked here
// before they are stored, because one malformed entry would later empty a
// paycheck's whole withholding record.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/command_line.h"

namespace veltrane::host {

// The flags that give elections one tax at a time, and --withholdings.
std::vector<OptionSpec> ElectionOptions();

// The election list the flags give, in the order they were given; nullopt
// when no election flag was given. Raises UserError for a malformed value
// and UsageError when --withholdings is mixed with the one-tax flags.
std::optional<std::string> ElectionListFromFlags(const ParsedArgs& args);

// A raw election list checked and returned with tax names and filing
// statuses in their canonical spelling.
std::string CheckedElectionList(std::string_view raw);

// "FIT Single 1, Soc. Sec., Medicare, FUTA, EIC 0" for a listing.
std::string DescribeElections(std::string_view list);

// A raw tax definition list checked: whole records, a name that is not one
// of the built-in taxes, amounts and percentages where the fields hold them.
std::string CheckedTaxDefinitions(std::string_view raw);

// The tax list of a supplemental pay item from the comma-separated tax
// names a person gives ("Soc. Sec.,Medicare"): each must be one of the
// taxes of `assistant`'s election list `elections`, letter case ignored,
// and is written in its elected spelling as a triple without amounts
// ("Soc. Sec.|||Medicare|||"). An empty text gives the empty list. Raises
// UserError, naming `what`, for a name that is empty, not elected or given
// twice.
std::string SupplementalTaxList(std::string_view what, std::string_view names,
                                std::string_view elections, std::string_view assistant);

}  // namespace veltrane::host
