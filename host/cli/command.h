// A command of the program: the words that name it, its arguments and
// flags, its help, and the function that runs it. Each command group
// (setup, hours, paychecks, journal, demo) adds its commands to the table.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/cli/command_line.h"
#include "host/cli/session.h"

namespace veltrane::cli {

struct Command {
  std::vector<std::string_view> words;  // {"hours", "add"}
  std::string_view arguments;           // "NAME DATE REG [OT]"
  std::string_view summary;             // one line for the command list
  std::string_view details;             // more help lines, may be empty
  std::vector<OptionSpec> options;
  std::size_t min_args = 0;
  std::size_t max_args = 0;
  std::function<void(Session&, const ParsedArgs&)> run;
  // The household's field of each argument, in order ({"assistant", "date",
  // "regular", "overtime"}), so that a fault of one is named as the synopsis
  // names it; every other field is named as its flag.
  std::vector<std::string_view> argument_fields = {};
};

using CommandTable = std::vector<Command>;

void AddInitCommands(CommandTable& table);
void AddSetupCommands(CommandTable& table);     // employer, assistant
void AddSettingsCommands(CommandTable& table);  // settings
void AddHoursCommands(CommandTable& table);
void AddPaycheckCommands(CommandTable& table);
void AddJournalCommands(CommandTable& table);    // check, journal, void
void AddStatementCommands(CommandTable& table);  // statements, statement
void AddDemoCommands(CommandTable& table);
void AddServeCommands(CommandTable& table);  // serve
void AddAgentCommands(CommandTable& table);  // agent ...

// The name of the argument at `index` in the synopsis: "DATE" of
// "NAME DATE REG [OT]" for index 1.
std::string ArgumentName(const Command& c, std::size_t index);

// Every command of the program, in the order of the help.
const CommandTable& AllCommands();

// Runs one command line (without the program name and global options)
// against a session; raises UsageError, UserError, household faults and
// database errors.
void RunCommand(Session& session, const std::vector<std::string>& args);

}  // namespace veltrane::cli
