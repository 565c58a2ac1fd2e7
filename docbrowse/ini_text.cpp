#include "docbrowse/ini_text.h"

#include <stdexcept>
#include <vector>

#include "common/text.h"

namespace veltrane {
namespace {

struct Line {
  std::string text;                    // without its line break
  std::optional<std::string> section;  // set on "[name]" lines
  std::string key;                     // set on "key=value" lines
  std::string value;
};

std::vector<Line> Parse(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    Line line;
    line.text = std::string(text.substr(start, end - start));
    start = end + 1;
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    const std::string trimmed = Trim(line.text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
      // comment or blank: kept as it stands
    } else if (trimmed.front() == '[' && trimmed.back() == ']') {
      line.section = Trim(trimmed.substr(1, trimmed.size() - 2));
    } else if (const std::size_t equals = line.text.find('='); equals != std::string::npos) {
      line.key = Trim(line.text.substr(0, equals));
      line.value = line.text.substr(equals + 1);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

void RequireName(std::string_view name, std::string_view forbidden) {
  if (Trim(name) != name || name.empty() ||
      name.find_first_of(forbidden) != std::string_view::npos) {
    throw std::invalid_argument("unusable setting name: " + std::string(name));
  }
}

}  // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
  bool in_section = false;
  for (const Line& line : Parse(text)) {
    if (line.section) {
      in_section = IEquals(*line.section, section);
    } else if (in_section && !line.key.empty() && IEquals(line.key, key)) {
      return line.value;
    }
  }
  return std::nullopt;
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  RequireName(section, "[]\r\n");
  RequireName(key, "=[;#\r\n");
  if (value.find_first_of("\r\n") != std::string_view::npos) {
    throw std::invalid_argument("a setting value cannot hold a line break");
  }
  const std::string assignment = std::string(key) + "=" + std::string(value);

  std::vector<Line> lines = Parse(text);
  bool in_section = false;
  bool replaced = false;
  constexpr std::size_t kNowhere = std::string_view::npos;
  std::size_t insert_at = kNowhere;  // after the last non-blank line of the section
  for (std::size_t i = 0; i < lines.size() && !replaced; ++i) {
    if (lines[i].section) {
      in_section = IEquals(*lines[i].section, section);
      if (in_section) insert_at = i + 1;
    } else if (in_section && !lines[i].key.empty() && IEquals(lines[i].key, key)) {
      lines[i].text = assignment;
      replaced = true;
    } else if (in_section && !Trim(lines[i].text).empty()) {
      insert_at = i + 1;
    }
  }
  if (replaced) insert_at = kNowhere;

  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (insert_at == i) out += assignment + "\n";
    out += lines[i].text + "\n";
  }
  if (insert_at == lines.size()) out += assignment + "\n";
  if (insert_at == kNowhere && !replaced) {
    if (!out.empty() && !out.ends_with("\n\n")) out += "\n";
    out += "[" + std::string(section) + "]\n" + assignment + "\n";
  }
  return out;
}

}  // namespace veltrane
