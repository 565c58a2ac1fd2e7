#include "common/delimited_list.h"

#include "common/amount_text.h"
#include "common/text.h"

namespace veltrane {

std::vector<ListGroup> ReadList(std::string_view text, char separator, std::size_t group_size) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t pos; (pos = text.find(separator, start)) != std::string_view::npos; start = pos + 1) {
    fields.push_back(text.substr(start, pos - start));
  }
  fields.push_back(text.substr(start));

  std::vector<ListGroup> groups;
  if (group_size == 0) return groups;
  for (std::size_t first = 0; first + group_size <= fields.size(); first += group_size) {
    groups.emplace_back(fields.begin() + static_cast<std::ptrdiff_t>(first),
                        fields.begin() + static_cast<std::ptrdiff_t>(first + group_size));
  }
  return groups;
}

const ListGroup* FindGroup(const std::vector<ListGroup>& groups, std::string_view name) {
  for (const ListGroup& g : groups) {
    if (!g.empty() && IEquals(g[0], name)) return &g;
  }
  return nullptr;
}

ListWriter& ListWriter::Add(std::string_view field) {
  text_.append(field);
  text_.push_back(separator_);
  return *this;
}

ListWriter& ListWriter::Add(Money amount) { return Add(FormatAmount(amount)); }

}  // namespace veltrane
