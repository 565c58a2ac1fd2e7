// Pages written as files: one statement's page, and the year-end package
// (its pages, an index that links them, and the same rows in one
// tab-separated file for a spreadsheet).
#pragma once

#include <string>

#include "common/date.h"
#include "host/household/year_end.h"

namespace veltrane::html {

// Where a page goes when no file is named: paystead/ in the user's cache
// folder ($XDG_CACHE_HOME, else ~/.cache). A Fault of "output" when there
// is no home folder.
std::string DefaultPageFolder();

// Writes `text` to `path` whole, creating its folder; a Fault of "output"
// when it cannot.
void WriteTextFile(const std::string& path, const std::string& text);

struct WrittenPackage {
  std::string index;  // the path of index.html
  std::string tsv;    // the path of statements.tsv
  int pages = 0;      // the statement pages written
};

// Writes every page of the package, made on `today`, into `folder`
// (created when missing).
WrittenPackage WriteYearEndPackage(const household::YearEndContent& content,
                                   const std::string& folder, Date today);

}  // namespace veltrane::html
