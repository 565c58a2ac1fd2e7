// The page families of the local web application. Each adds its routes;
// every page is built with WebPage and reads and writes only through the
// household operations (host/household_*.h), as the command line does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/terminal_paycheck.h"
#include "host/web_app.h"

namespace veltrane::host {

void AddPeoplePages(std::vector<WebRoute>& routes);     // /employer, /assistants, /assistant
void AddSettingsPages(std::vector<WebRoute>& routes);   // /settings
void AddHoursPages(std::vector<WebRoute>& routes);      // /hours
void AddPaycheckPages(std::vector<WebRoute>& routes);   // /paycheck, /paycheck/pay
void AddJournalPages(std::vector<WebRoute>& routes);    // /journal, /check, /check/void
void AddStatementPages(std::vector<WebRoute>& routes);  // /statements, /statement, /year-end

// A fault of a household operation split for the page: the field it names
// (a flag such as "--rate" among `fields`, without its dashes) and the text
// to show beside it; no field when the message names none of them.
struct FieldFault {
  std::string field;
  std::string text;
};
FieldFault SplitFault(std::string_view message, const std::vector<std::string>& fields);

// A paycheck as the paycheck control shows it, as a section of a page: its
// heading and status, the employer and employee, and the table of
// earnings, deductions, gross and net with the year-to-date amounts.
std::string PaycheckHtml(const PaycheckShown& check);

// "/check?id=3": a path with escaped query values.
std::string PathWith(std::string_view path, const NamedValues& query);

}  // namespace veltrane::host
