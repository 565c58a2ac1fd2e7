// The year-end package: every statement of the catalogue for one year as
// pages a person reads and prints, an index that links them, and the same
// rows in one tab-separated file for a spreadsheet.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/database.h"
#include "common/date.h"

namespace veltrane::host {

struct YearEndRequest {
  int year = 0;
  std::string assistant;  // empty for every assistant
  std::string folder;     // where the files go; created when missing
};

struct YearEndPackage {
  std::string index;      // the path of index.html
  std::string tsv;        // the path of statements.tsv
  int pages = 0;
  std::vector<std::string> messages;  // the statements library's messages
};

// Writes the package as of `today`. The Form 941 worksheet is written for
// each quarter, every other statement for the whole year; without an
// assistant, the Form W-2 is written for each assistant on a page of its
// own. `progress` (may
// be empty) is told each statement's label before it is written. Raises
// UserError for an unknown assistant or a folder that cannot be written.
YearEndPackage WriteYearEnd(Database& db, const YearEndRequest& request, Date today,
                            const std::function<void(const std::string&)>& progress = {});

}  // namespace veltrane::host
