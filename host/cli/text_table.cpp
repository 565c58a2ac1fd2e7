#include "host/cli/text_table.h"

#include <algorithm>

namespace veltrane::cli {

void TextTable::AddRow(std::vector<std::string> cells) {
  cells.resize(columns_.size());
  rows_.push_back(std::move(cells));
}

void TextTable::Render(std::ostream& out, const std::string& indent) const {
  std::vector<std::size_t> widths(columns_.size());
  bool headings = false;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    widths[c] = columns_[c].heading.size();
    headings = headings || !columns_[c].heading.empty();
    for (const auto& row : rows_) widths[c] = std::max(widths[c], row[c].size());
  }
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string text = indent;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) text += "  ";
      const std::string pad(widths[c] - cells[c].size(), ' ');
      text += columns_[c].align == Align::kRight ? pad + cells[c] : cells[c] + pad;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << '\n';
  };
  if (headings) {
    std::vector<std::string> heads;
    for (const Column& c : columns_) heads.push_back(c.heading);
    line(heads);
  }
  for (const auto& row : rows_) line(row);
}

}  // namespace veltrane::cli
