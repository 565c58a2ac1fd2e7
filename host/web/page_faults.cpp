// Household faults in the words of the pages: no flag, no command.
#include "host/web/routes.h"

namespace veltrane::web {

using household::Remedy;

PageFault ForPage(const household::Fault& fault,
                  const std::map<std::string, std::string, std::less<>>& labels) {
  std::string text = fault.TextNaming([&](std::string_view field) {
    const auto label = labels.find(field);
    return label == labels.end() ? std::string(field) : label->second;
  });
  switch (fault.remedy()) {
    case Remedy::kNone:
    case Remedy::kListStatements:
    case Remedy::kCreateDatabase:
    case Remedy::kNameDatabase:
    case Remedy::kReplaceDatabase:
      break;
    case Remedy::kListAssistants:
      text += "; the Assistants page lists them";
      break;
    case Remedy::kChangeAssistant:
      text += "; change that assistant on the Assistants page";
      break;
    case Remedy::kSetPayPeriod:
      text += "; set one on the Settings page";
      break;
    case Remedy::kVoidCheck:
      text += "; void check ID " + std::to_string(fault.check_id()) +
              " on the Journal page first to pay those days again";
      break;
    case Remedy::kVoidToChange:
      text += "; void check ID " + std::to_string(fault.check_id()) +
              " on the Journal page first to change them";
      break;
    case Remedy::kRecordHours:
      text += "; record hours on the Hours page, or give hours or supplemental pay here";
      break;
    case Remedy::kListChecks:
      text += "; the Journal page lists the checks";
      break;
    case Remedy::kReopenDatabase:
      text += "; stop the server and start it again to open the file that is there now";
      break;
  }
  return {fault.field(), text};
}

}  // namespace veltrane::web
