// The flags of the commands that can write a page: --format, --output and
// --open.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/cli/command_line.h"

namespace veltrane::cli {

// --format (described by `formats_help`), --output FILE and --open.
std::vector<OptionSpec> PageOptions(std::string_view formats_help);

// --format, one of `formats`, the first when none is given. A fault when it
// is another, or when --output or --open is given without html.
std::string ReadPageFormat(const ParsedArgs& args, std::initializer_list<std::string_view> formats);

// --output, or `file_name` in the cache folder.
std::string OutputPath(const ParsedArgs& args, const std::string& file_name);

}  // namespace veltrane::cli
