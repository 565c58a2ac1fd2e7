#include "host/cli/paystead.h"

#include <algorithm>
#include <optional>

#include "common/clock.h"
#include "common/errors.h"
#include "host/cli/cli_errors.h"
#include "host/cli/command.h"
#include "host/cli/messages.h"
#include "host/cli/text_table.h"
#include "host/household/database_file.h"
#include "host/household/input_text.h"

namespace veltrane::cli {
namespace {

constexpr const char* kDefaultDb = "paystead.db";

std::string Words(const Command& c) {
  std::string text;
  for (std::string_view w : c.words) text += (text.empty() ? "" : " ") + std::string(w);
  return text;
}

std::string Usage(const Command& c) {
  std::string text = "paystead " + Words(c);
  if (!c.arguments.empty()) text += " " + std::string(c.arguments);
  if (!c.options.empty()) text += " [flags]";
  return text;
}

// The command named by the leading words of `args`, and how many words
// named it; null when no command matches.
const Command* FindCommand(const std::vector<std::string>& args, std::size_t& used) {
  const Command* best = nullptr;
  used = 0;
  for (const Command& c : AllCommands()) {
    if (c.words.size() > args.size() || c.words.size() <= used) continue;
    if (std::equal(c.words.begin(), c.words.end(), args.begin())) {
      best = &c;
      used = c.words.size();
    }
  }
  return best;
}

void PrintOverview(std::ostream& out) {
  out << "paystead: a household's payroll from the command line.\n\n"
         "usage: paystead [--db FILE] [--today DATE] COMMAND [ARGUMENTS] [FLAGS]\n\n"
         "Commands:\n";
  TextTable table({{""}, {""}});
  for (const Command& c : AllCommands()) {
    table.AddRow({Words(c) + (c.arguments.empty() ? "" : " " + std::string(c.arguments)),
                  std::string(c.summary)});
  }
  table.Render(out, "  ");
  out << "\nGlobal flags, accepted by every command:\n"
         "  --db FILE      the payroll database (default "
      << kDefaultDb
      << " in the current folder), or a PostgreSQL\n"
         "                 connection URI (postgresql://...) for one on a server\n"
         "  --today DATE   act as of this day: check dates and the year of the year-to-date "
         "totals\n"
         "  --help         help for a command: paystead COMMAND --help\n";
}

void PrintHelp(std::ostream& out, const Command& c) {
  out << "usage: " << Usage(c) << "\n\n" << c.summary << "\n";
  if (!c.details.empty()) out << "\n" << c.details << "\n";
  if (!c.options.empty()) {
    out << "\nFlags:\n";
    TextTable table({{""}, {""}});
    for (const OptionSpec& o : c.options) {
      table.AddRow(
          {"--" + std::string(o.name) + (o.takes_value ? " " + std::string(o.value_name) : ""),
           std::string(o.help)});
    }
    table.Render(out, "  ");
  }
  out << "\nGlobal flags: --db FILE, --today DATE, --help (see 'paystead --help').\n";
}

}  // namespace

std::string ArgumentName(const Command& c, std::size_t index) {
  std::vector<std::string> names;
  std::string current;
  for (char ch : c.arguments) {
    if (ch == ' ') {
      if (!current.empty()) names.push_back(current);
      current.clear();
    } else if (ch != '[' && ch != ']') {
      current.push_back(ch);
    }
  }
  if (!current.empty()) names.push_back(current);
  return index < names.size() ? names[index] : "arguments";
}

namespace {

// The usage of every command whose first word is `group`: "paystead hours
// --help".
void PrintGroupHelp(std::ostream& out, std::string_view group) {
  out << "usage:\n";
  TextTable table({{""}, {""}});
  for (const Command& c : AllCommands()) {
    if (c.words.size() > 1 && c.words[0] == group) table.AddRow({Usage(c), std::string(c.summary)});
  }
  table.Render(out, "  ");
  out << "\nEach has its own help: paystead " << group << " COMMAND --help.\n";
}

// The commands whose first word is `group`, for "paystead assistant".
std::string Subcommands(std::string_view group) {
  std::string names;
  for (const Command& c : AllCommands()) {
    if (c.words.size() > 1 && c.words[0] == group)
      names += (names.empty() ? "" : ", ") + std::string(c.words[1]);
  }
  return names;
}

}  // namespace

const CommandTable& AllCommands() {
  static const CommandTable table = [] {
    CommandTable t;
    AddInitCommands(t);
    AddSetupCommands(t);
    AddSettingsCommands(t);
    AddHoursCommands(t);
    AddPaycheckCommands(t);
    AddJournalCommands(t);
    AddStatementCommands(t);
    AddServeCommands(t);
    AddAgentCommands(t);
    AddDemoCommands(t);
    return t;
  }();
  return table;
}

void RunCommand(Session& session, const std::vector<std::string>& args) {
  std::size_t used = 0;
  const Command* command = FindCommand(args, used);
  if (command == nullptr)
    throw UsageError("unknown command '" + (args.empty() ? "" : args[0]) + "'");
  const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(used), args.end());
  const ParsedArgs parsed = ParseArgs(rest, command->options);
  command->run(session, parsed);
}

int RunPaystead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Command* command = nullptr;
  std::string db_path = kDefaultDb;
  try {
    const GlobalOptions global = ExtractGlobalOptions(args);
    db_path = global.db.value_or(kDefaultDb);
    std::size_t used = 0;
    command = FindCommand(global.rest, used);
    if (command == nullptr) {
      const std::string first = global.rest.empty() ? "" : global.rest[0];
      const std::string group_commands = Subcommands(first);
      if (global.help && first.empty()) {
        PrintOverview(out);
        return kExitOk;
      }
      if (global.help && !group_commands.empty()) {
        PrintGroupHelp(out, first);
        return kExitOk;
      }
      if (first.empty()) throw UsageError("no command given; see 'paystead --help'");
      if (!group_commands.empty()) {
        throw UsageError("'" + first + "' needs one of: " + group_commands +
                         "; see 'paystead --help'");
      }
      throw UsageError("unknown command '" + first + "'; see 'paystead --help'");
    }
    if (global.help) {
      PrintHelp(out, *command);
      return kExitOk;
    }
    const std::vector<std::string> rest(global.rest.begin() + static_cast<std::ptrdiff_t>(used),
                                        global.rest.end());
    const ParsedArgs parsed = ParseArgs(rest, command->options);
    if (parsed.positionals.size() < command->min_args) {
      throw UsageError("missing " + ArgumentName(*command, parsed.positionals.size()));
    }
    if (parsed.positionals.size() > command->max_args) {
      throw UsageError("unexpected argument '" + parsed.positionals[command->max_args] + "'");
    }

    std::optional<FixedClock> fixed;
    if (global.today) fixed.emplace(household::ReadDate("today", *global.today));
    const Clock& clock = fixed ? static_cast<const Clock&>(*fixed) : DefaultClock();
    Session session(db_path, global.db.has_value(), clock, out, err);
    command->run(session, parsed);
    return kExitOk;
  } catch (const UsageError& e) {
    err << "paystead: " << e.what() << '\n';
    if (command != nullptr) {
      err << "usage: " << Usage(*command) << "\n(see 'paystead " << Words(*command)
          << " --help')\n";
    }
    return kExitUsage;
  } catch (const household::Fault& e) {
    err << "paystead: " << FaultMessage(e, command) << '\n';
  } catch (const UserError& e) {
    err << "paystead: " << e.what() << '\n';
  } catch (const DatabaseBusyError&) {
    // The transaction that met the lock is rolled back, so nothing changed.
    err << "paystead: " << household::InUseText(db_path) << '\n';
  } catch (const DatabaseError& e) {
    // In the person's words: what() may quote the query.
    err << "paystead: " << household::TroubleText(db_path, e) << '\n';
  } catch (const std::exception& e) {
    err << "paystead: " << e.what() << '\n';
  } catch (...) {
    err << "paystead: an unexpected failure stopped the command\n";
  }
  return kExitUserError;
}

}  // namespace veltrane::cli
