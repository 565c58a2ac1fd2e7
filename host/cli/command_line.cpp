#include "host/cli/command_line.h"

#include <algorithm>

#include "host/cli/cli_errors.h"

namespace veltrane::cli {

bool ParsedArgs::Has(std::string_view name) const {
  return std::any_of(options.begin(), options.end(),
                     [&](const auto& o) { return o.first == name; });
}

std::optional<std::string> ParsedArgs::Get(std::string_view name) const {
  for (const auto& [n, v] : options) {
    if (n == name) return v;
  }
  return std::nullopt;
}

std::vector<std::string> ParsedArgs::GetAll(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : options) {
    if (n == name) values.push_back(v);
  }
  return values;
}

namespace {

bool IsFlag(const std::string& arg) { return arg.size() > 2 && arg.starts_with("--"); }

// "--name=value" -> name, value; "--name" -> name, nullopt.
std::pair<std::string, std::optional<std::string>> SplitFlag(const std::string& arg) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos) return {arg.substr(2), std::nullopt};
  return {arg.substr(2, eq - 2), arg.substr(eq + 1)};
}

}  // namespace

ParsedArgs ParseArgs(std::span<const std::string> args, std::span<const OptionSpec> specs) {
  ParsedArgs parsed;
  bool flags_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (flags_ended || !IsFlag(arg)) {
      if (!flags_ended && arg == "--") {
        flags_ended = true;
        continue;
      }
      parsed.positionals.push_back(arg);
      continue;
    }
    // Plain variables, not a structured binding: Clang 14 does not let a
    // lambda capture a binding.
    auto split = SplitFlag(arg);
    std::string name = std::move(split.first);
    const std::optional<std::string> inline_value = std::move(split.second);
    const auto option = std::find_if(specs.begin(), specs.end(),
                                     [&](const OptionSpec& s) { return s.name == name; });
    if (option == specs.end()) throw UsageError("unknown flag '--" + name + "'");
    if (!option->repeatable && parsed.Has(name))
      throw UsageError("'--" + name + "' is given twice");
    std::string value;
    if (option->takes_value) {
      if (inline_value) {
        value = *inline_value;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        throw UsageError("'--" + name + "' needs a value");
      }
    } else if (inline_value) {
      throw UsageError("'--" + name + "' takes no value");
    }
    parsed.options.emplace_back(std::move(name), std::move(value));
  }
  return parsed;
}

GlobalOptions ExtractGlobalOptions(std::span<const std::string> args) {
  GlobalOptions g;
  bool flags_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (flags_ended || !IsFlag(arg)) {
      if (arg == "--") flags_ended = true;
      g.rest.push_back(arg);
      continue;
    }
    const auto [name, inline_value] = SplitFlag(arg);
    std::optional<std::string>* target = name == "db"      ? &g.db
                                         : name == "today" ? &g.today
                                                           : nullptr;
    if (name == "help" && !inline_value) {
      g.help = true;
    } else if (target != nullptr) {
      if (*target) throw UsageError("'--" + name + "' is given twice");
      if (inline_value) {
        *target = *inline_value;
      } else if (i + 1 < args.size()) {
        *target = args[++i];
      } else {
        throw UsageError("'--" + name + "' needs a value");
      }
    } else {
      g.rest.push_back(arg);
    }
  }
  return g;
}

}  // namespace veltrane::cli
