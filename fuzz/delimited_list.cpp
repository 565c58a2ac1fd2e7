// The delimited-list reader: groups hold exactly their number of fields, no
// field holds the separator, writing the groups back gives the start of the
// text, and only an incomplete group is left over.
//
// Input: the first byte picks the separator and the group size; the rest
// is the list, then the name looked up in it after the last '\n'.
#include "common/delimited_list.h"

#include <algorithm>
#include <array>

#include "common/text.h"
#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  constexpr std::array<char, 3> kSeparators = {kFieldSeparator, kSuppPaySeparator, ','};
  const char separator = kSeparators[data[0] % kSeparators.size()];
  const std::size_t group_size = (data[0] / kSeparators.size()) % 10;  // 0 .. 9
  std::string_view text = AsText(data + 1, size - 1);
  std::string_view name;
  if (const std::size_t cut = text.rfind('\n'); cut != std::string_view::npos) {
    name = text.substr(cut + 1);
    text = text.substr(0, cut);
  }

  const std::vector<ListGroup> groups = ReadList(text, separator, group_size);
  ListWriter writer(separator);
  for (const ListGroup& group : groups) {
    Require(group.size() == group_size, "a group holds its number of fields", text);
    for (const std::string& field : group) {
      Require(field.find(separator) == std::string::npos, "a field holds no separator", text);
      writer.Add(field);
    }
  }
  // Every field of the text is followed by a separator but the last.
  const std::string whole = std::string(text) + separator;
  const std::string& written = writer.text();
  Require(whole.starts_with(written), "the groups written back start the text", text);
  if (group_size > 0) {
    const std::string_view rest = std::string_view(whole).substr(written.size());
    const auto rest_fields =
        static_cast<std::size_t>(std::count(rest.begin(), rest.end(), separator));
    Require(rest_fields < group_size, "only an incomplete group is left over", text);
  } else {
    Require(groups.empty(), "groups of no fields make no groups", text);
  }

  const ListGroup* found = FindGroup(groups, name);
  const auto first = std::find_if(groups.begin(), groups.end(), [&](const ListGroup& g) {
    return !g.empty() && IEquals(g[0], name);
  });
  Require(found == (first == groups.end() ? nullptr : &*first),
          "FindGroup answers the first group of the name", text);
  return 0;
}

}  // namespace veltrane::fuzz
