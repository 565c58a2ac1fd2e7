#include "docbrowse/desktop_entry.h"

#include <sstream>

#include "common/text.h"

namespace veltrane {
namespace {

constexpr const char* kMainGroup = "[Desktop Entry]";
// Codes the launcher replaces with files, URLs, the icon, the name and so on;
// docbrowse passes the document itself, so they all go.
constexpr std::string_view kFieldCodes = "fFuUdDnNickvm";

// The value of the Exec key, still escaped; nullopt when absent.
std::optional<std::string> RawExec(const std::string& entry_text) {
  std::istringstream lines(entry_text);
  std::string line;
  bool in_main_group = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (trimmed.front() == '[') {
      in_main_group = trimmed == kMainGroup;
      continue;
    }
    const std::size_t equals = trimmed.find('=');
    if (in_main_group && equals != std::string::npos && Trim(trimmed.substr(0, equals)) == "Exec") {
      return Trim(trimmed.substr(equals + 1));
    }
  }
  return std::nullopt;
}

// The escapes of every string value: \s \n \t \r and \\.
std::string UnescapeValue(const std::string& value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\';
        out += value[i];
        break;
    }
  }
  return out;
}

// An unquoted word without its field codes; "%%" stands for "%".
std::string WithoutFieldCodes(const std::string& word) {
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '%' && i + 1 < word.size()) {
      const char code = word[++i];
      if (code == '%')
        out += '%';
      else if (kFieldCodes.find(code) == std::string_view::npos)
        out.append({'%', code});
      continue;
    }
    out += word[i];
  }
  return out;
}

}  // namespace

std::optional<std::vector<std::string>> DesktopEntryExec(const std::string& entry_text) {
  const std::optional<std::string> raw = RawExec(entry_text);
  if (!raw) return std::nullopt;
  const std::string exec = UnescapeValue(*raw);
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < exec.size()) {
    if (exec[i] == ' ' || exec[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (exec[i] == '"') {
      // Inside quotes a backslash escapes ", `, $ and itself; field codes are
      // not expanded there.
      for (++i; i < exec.size() && exec[i] != '"'; ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
        word += exec[i];
      }
      if (i == exec.size()) return std::nullopt;
      ++i;
      words.push_back(word);
      continue;
    }
    while (i < exec.size() && exec[i] != ' ' && exec[i] != '\t') word += exec[i++];
    word = WithoutFieldCodes(word);
    if (!word.empty()) words.push_back(word);
  }
  return words;
}

}  // namespace veltrane
