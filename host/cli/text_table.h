// Columns of text for the terminal: each column as wide as its widest cell,
// two blanks between columns, text to the left or numbers to the right.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace veltrane::cli {

class TextTable {
 public:
  enum class Align { kLeft, kRight };
  struct Column {
    std::string heading;
    Align align = Align::kLeft;
  };

  explicit TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {}
  // Missing cells are blank; extra cells are an error of the caller and
  // are dropped.
  void AddRow(std::vector<std::string> cells);
  bool empty() const { return rows_.empty(); }
  // Writes the headings (when any is non-empty) and the rows; trailing
  // blanks are left off every line.
  void Render(std::ostream& out, const std::string& indent = "") const;

 private:
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace veltrane::cli
