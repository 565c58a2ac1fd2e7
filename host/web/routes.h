// The page families of the local web application. Each adds its routes;
// every page is built with WebPage and reads and writes only through the
// household operations (host/household/), as the command line does.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/household/fault.h"
#include "host/web/app.h"

namespace veltrane::web {

void AddPeoplePages(std::vector<WebRoute>& routes);     // /employer, /assistants, /assistant
void AddSettingsPages(std::vector<WebRoute>& routes);   // /settings
void AddHoursPages(std::vector<WebRoute>& routes);      // /hours
void AddPaycheckPages(std::vector<WebRoute>& routes);   // /paycheck, /paycheck/pay
void AddJournalPages(std::vector<WebRoute>& routes);    // /journal, /check, /check/void
void AddStatementPages(std::vector<WebRoute>& routes);  // /statements, /statement, /year-end

// A household fault as a page shows it: the field it goes beside (empty
// for above the form) and its text in the page's words, each input it names
// written as `labels` calls it (the field's own name where they do not).
struct PageFault {
  std::string field;
  std::string text;
};
PageFault ForPage(const household::Fault& fault,
                  const std::map<std::string, std::string, std::less<>>& labels);

// A request the pages could not answer (`status` 400 to 599), as a page
// of the application whose navigation leads on.
WebReply ProblemPage(int status, std::string_view title, std::string_view why,
                     const std::string& token);

// "/check?id=3": a path with escaped query values.
std::string PathWith(std::string_view path, const NamedValues& query);

}  // namespace veltrane::web
