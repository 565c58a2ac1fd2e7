#include "host/cli/page_output.h"

#include <filesystem>

#include "host/household/fault.h"
#include "host/household/input_text.h"
#include "host/html/page_files.h"

namespace veltrane::cli {

using household::FieldRef;

std::vector<OptionSpec> PageOptions(std::string_view formats_help) {
  return {{"format", true, false, formats_help, "FORMAT"},
          {"output", true, false, "with --format html: the page's file", "FILE"},
          {"open", false, false, "with --format html: open the page with docbrowse", ""}};
}

std::string ReadPageFormat(const ParsedArgs& args,
                           std::initializer_list<std::string_view> formats) {
  const std::string format = args.Get("format").value_or(std::string(*formats.begin()));
  std::string names;
  bool known = false;
  const std::vector<std::string_view> list(formats);
  for (std::size_t i = 0; i < list.size(); ++i) {
    known = known || list[i] == format;
    names += (i == 0 ? "" : i + 1 == list.size() ? " or " : ", ") + std::string(list[i]);
  }
  if (!known)
    throw household::Fault("format",
                           household::Quoted(format) + " is not a format; write " + names);
  if (format != "html" && (args.Has("output") || args.Has("open"))) {
    throw household::Fault("output", FieldRef("output") + " and " + FieldRef("open") + " go with " +
                                         FieldRef("format") + " html");
  }
  return format;
}

std::string OutputPath(const ParsedArgs& args, const std::string& file_name) {
  if (const auto output = args.Get("output")) return household::ReadOutputName("output", *output);
  return (std::filesystem::path(html::DefaultPageFolder()) / file_name).string();
}

}  // namespace veltrane::cli
