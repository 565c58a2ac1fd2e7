// Statements: paystead statements, paystead statement TYPE.
#include "host/command.h"
#include "host/host_errors.h"
#include "host/statements.h"
#include "host/text_table.h"

namespace veltrane::host {
namespace {

void Statements(Session& session, const ParsedArgs&) {
  for (const std::string& entry : StatementCatalogue(session.db())) session.out() << entry << '\n';
}

void Statement(Session& session, const ParsedArgs& args) {
  const std::string format = args.Get("format").value_or("text");
  if (format != "text" && format != "tsv") {
    throw UserError("--format: '" + format + "' is not a format; write text or tsv");
  }
  const StatementResult result =
      RunStatement(session.db(), {args.positionals[0], args.Get("assistant").value_or(""),
                                  args.Get("from").value_or(""), args.Get("to").value_or("")});
  for (const std::string& message : result.messages) session.err() << message << "\n\n";
  if (format == "tsv") {
    for (const StatementRow& row : result.rows) {
      session.out() << row.description << '\t' << row.amount << '\n';
    }
    return;
  }
  TextTable table({{"", TextTable::Align::kLeft}, {"", TextTable::Align::kRight}});
  for (const StatementRow& row : result.rows) table.AddRow({row.description, row.amount});
  table.Render(session.out());
}

}  // namespace

void AddStatementCommands(CommandTable& table) {
  table.push_back({{"statements"},
                   "",
                   "list the statements, one a line, as the statement selector shows them",
                   "Lines of hyphens and the group headings (Tax Forms, Federal Taxes, Other\n"
                   "Taxes, Supplemental Payments) order the list; they are not statements.",
                   {},
                   0,
                   0,
                   Statements});
  table.push_back(
      {{"statement"},
       "TYPE",
       "print a statement of the payment journal",
       "TYPE is a statement of 'paystead statements' (letter case ignored), for example\n"
       "Summary, Detailed, \"Soc. Sec.\" or \"Form 941\". Void checks never count; both\n"
       "dates are included. Without --from and --to the statement covers every date.",
       {{"assistant", true, false, "one assistant (default: All Assistants)", "NAME"},
        {"from", true, false, "the first day of the period", "DATE"},
        {"to", true, false, "the last day of the period", "DATE"},
        {"format", true, false,
         "text (two columns for a person, the default) or tsv (each row as description, a TAB, "
         "the amount)",
         "FORMAT"}},
       1,
       1,
       Statement});
}

}  // namespace veltrane::host
