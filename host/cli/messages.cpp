#include "host/cli/messages.h"

#include <algorithm>

namespace veltrane::cli {
using household::Remedy;

std::string FaultMessage(const household::Fault& fault, const Command* command) {
  const auto name_of = [command](std::string_view field) {
    if (command != nullptr) {
      const auto& fields = command->argument_fields;
      const auto at = std::find(fields.begin(), fields.end(), field);
      if (at != fields.end())
        return ArgumentName(*command, static_cast<std::size_t>(at - fields.begin()));
    }
    return "--" + std::string(field);
  };
  std::string text = fault.TextNaming(name_of);
  if (!fault.field().empty() && !fault.NamesFields() && fault.remedy() == Remedy::kNone)
    text = name_of(fault.field()) + ": " + text;
  switch (fault.remedy()) {
    case Remedy::kNone:
      break;
    case Remedy::kListAssistants:
      return text + "; see 'paystead assistant list'";
    case Remedy::kChangeAssistant:
      return text + "; change it with 'paystead assistant set'";
    case Remedy::kSetPayPeriod:
      return text + "; set one with 'paystead settings set --period Weekly'";
    case Remedy::kVoidCheck:
      return text + "; void that check first ('paystead void " + std::to_string(fault.check_id()) +
             "') to pay those days again";
    case Remedy::kVoidToChange:
      return text + "; void that check first ('paystead void " + std::to_string(fault.check_id()) +
             "') to change them";
    case Remedy::kRecordHours:
      return text + "; record hours with 'paystead hours add' or give --hours or --supp";
    case Remedy::kListChecks:
      return text + "; see 'paystead journal'";
    case Remedy::kListStatements:
      return text + "; 'paystead statements' lists the statements";
    case Remedy::kCreateDatabase:
      return text + "; create it with 'paystead init' or name it with --db";
    case Remedy::kNameDatabase:
      return text + "; name yours with --db, or create a new one with 'paystead init'";
    case Remedy::kReopenDatabase:
      return text + "; run the command again";
    case Remedy::kReplaceDatabase:
      return text +
             "; add --force to replace it with an empty database (the old file is kept "
             "beside it)";
  }
  return text;
}

}  // namespace veltrane::cli
