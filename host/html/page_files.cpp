#include "host/html/page_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/display.h"
#include "host/household/fault.h"
#include "host/html/statement_page.h"

namespace veltrane::html {

namespace fs = std::filesystem;
using household::Fault;

std::string DefaultPageFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return (fs::path(cache) / "paystead").string();
  const char* home = std::getenv("HOME");
  if (!home || *home != '/')
    throw Fault("output", "there is no home folder for the page; name one with " +
                              household::FieldRef("output"));
  return (fs::path(home) / ".cache" / "paystead").string();
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::error_code ec;
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) throw Fault("output", "cannot write '" + path + "'");
}

WrittenPackage WriteYearEndPackage(const household::YearEndContent& content,
                                   const std::string& folder, Date today) {
  WrittenPackage written;
  std::vector<IndexEntry> entries;
  std::string tsv = "statement\tdescription\tamount\n";
  const IndexEntry back{"the index of the statements of " + std::to_string(content.year),
                        "index.html"};
  for (const household::YearEndPage& page : content.pages) {
    WriteTextFile((fs::path(folder) / page.file).string(),
                  RenderStatementPage(
                      StatementPageOf(page.result, content.employer, today, page.notes), &back));
    entries.push_back({page.label, page.file});
    for (const StatementRow& row : page.result.rows)
      tsv += page.label + "\t" + row.description + "\t" + row.amount + "\n";
    ++written.pages;
  }
  written.index = (fs::path(folder) / "index.html").string();
  written.tsv = (fs::path(folder) / "statements.tsv").string();
  WriteTextFile(written.tsv, tsv);
  WriteTextFile(
      written.index,
      RenderIndexPage("Payroll statements of " + std::to_string(content.year),
                      content.employer.name, FormatShortDate(today), entries, content.notes));
  return written;
}

}  // namespace veltrane::html
