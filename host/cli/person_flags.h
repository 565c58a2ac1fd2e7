// The flags of the people commands, and the household inputs they give.
#pragma once

#include <vector>

#include "host/cli/command_line.h"
#include "host/household/people.h"

namespace veltrane::cli {

std::vector<OptionSpec> EmployerOptions();
std::vector<OptionSpec> AssistantOptions();

// The employer's fields given as flags. UsageError when none is.
household::GivenFields EmployerFlags(const ParsedArgs& args);

// An assistant's fields given as flags, the elections in the order given.
// UsageError when `changing` and none is, or when --withholdings is mixed
// with the one-tax flags.
household::AssistantInput AssistantFlags(const ParsedArgs& args, bool changing);

}  // namespace veltrane::cli
