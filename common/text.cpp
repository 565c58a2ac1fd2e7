#include "common/text.h"

#include <algorithm>
#include <cctype>

namespace veltrane {
namespace {
// ASCII folding: names and tax names are ASCII, and this avoids the C
// locale's per-character lookups on hot paths.
char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool IEquals(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool IContains(std::string_view haystack, std::string_view needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                     [](char x, char y) { return Fold(x) == Fold(y); }) != haystack.end();
}

std::string ToUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::string ToLower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Fold(c);
  return r;
}

std::string Trim(std::string_view s) {
  const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace veltrane
