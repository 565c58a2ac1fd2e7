// A household fault as the command line says it: an input named as its
// flag or as the synopsis names the argument, and the fix in commands.
#pragma once

#include <string>

#include "host/cli/command.h"
#include "host/household/fault.h"

namespace veltrane::cli {

// The message of `fault` met while running `command` (null before a
// command was found): "--rate: '-5' is negative; ...".
std::string FaultMessage(const household::Fault& fault, const Command* command);

}  // namespace veltrane::cli
