// Splitting a command line into positional arguments and flags. Flags are
// "--name value", "--name=value" or, for switches, "--name"; "--" ends the
// flags. The order of flags is kept, because some lists (withholding
// elections, supplemental pay) are built in the order they were given.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrane::cli {

struct OptionSpec {
  std::string_view name;  // without the leading "--"
  bool takes_value = true;
  bool repeatable = false;
  std::string_view help;  // one line for the command's --help
  std::string_view value_name = "VALUE";
};

class ParsedArgs {
 public:
  std::vector<std::string> positionals;
  // Flags in the order given; a switch has an empty value.
  std::vector<std::pair<std::string, std::string>> options;

  bool Has(std::string_view name) const;
  std::optional<std::string> Get(std::string_view name) const;
  std::vector<std::string> GetAll(std::string_view name) const;
};

// Raises UsageError for an unknown flag, a flag without its value, or a
// flag given twice that may be given once.
ParsedArgs ParseArgs(std::span<const std::string> args, std::span<const OptionSpec> specs);

// The options every command accepts, wherever they stand on the line.
struct GlobalOptions {
  std::optional<std::string> db;
  std::optional<std::string> today;
  bool help = false;
  std::vector<std::string> rest;  // the line without them
};
GlobalOptions ExtractGlobalOptions(std::span<const std::string> args);

}  // namespace veltrane::cli
