// The year-end package's content: every statement of the catalogue for one
// year, the Form 941 worksheet for each quarter and the Form W-2 for each
// assistant on a page of its own, each with the file name it is written
// under, and the household thresholds the employer must know of. Writing it
// as pages is a front end's (html/year_end_files.h).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/database.h"
#include "host/household/rows.h"
#include "host/household/statements.h"

namespace veltrane::household {

// A year as typed (field "year"): 2000 to 2099.
int ReadYear(std::string_view text);

struct YearEndRequest {
  int year = 0;
  std::string assistant;  // empty for every assistant
};

struct YearEndPage {
  std::string label;  // "Form 941, 1/1/2004 to 3/31/2004"
  std::string file;   // a file name no other page of the package has
  StatementResult result;
  std::vector<std::string> notes;  // shown under the statement
};

struct YearEndContent {
  int year = 0;
  EmployerHeading employer;
  std::vector<YearEndPage> pages;
  std::vector<std::string> notes;     // the thresholds, for the index
  std::vector<std::string> messages;  // the statements library's messages
};

// Runs every statement of the package. `progress` (may be empty) is told
// each page's label before it is run. A Fault for an unknown assistant.
YearEndContent MakeYearEnd(Database& db, const YearEndRequest& request,
                           const std::function<void(const std::string&)>& progress = {});

// "soc-sec_2004-01-01_2004-03-31.html": a statement's label and period in
// lower-case letters, digits and hyphens; "" dates for every date.
std::string StatementFileName(const std::string& label, const std::string& from,
                              const std::string& to);

}  // namespace veltrane::household
