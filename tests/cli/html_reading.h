// Reading the pages paystead writes with a real HTML parser (libxml2's),
// as a browser would see their structure.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace veltrane::host::testing {

struct ReadPage {
  bool parsed = false;
  std::string title;
  // The body rows of the first table: the text of each cell.
  std::vector<std::vector<std::string>> rows;
  // The classes of those rows ("heading", "spacer" or "").
  std::vector<std::string> row_classes;
  // What the page would fetch or run: script elements, and every src,
  // href (other than a relative page link) or url( of a style.
  std::vector<std::string> outside;
  std::vector<std::string> links;  // href of every <a>
  std::string lang;
  std::string text;  // all the text of the body
};

ReadPage ReadHtml(const std::string& html);

}  // namespace veltrane::host::testing
