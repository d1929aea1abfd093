// Aligned tables of JSON rows for people reading a terminal.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tool.h"

namespace foldwise_tool {
namespace {

// The row's fields flattened into (column, text) pairs: nested objects as "parent.field",
// arrays (error lists) as their length.
void Flatten(const Json& object, const std::string& prefix,
             std::vector<std::pair<std::string, std::string>>* cells) {
  for (const auto& field : object.items()) {
    const std::string column = prefix + field.key();
    const Json& value = field.value();
    if (value.is_object()) {
      Flatten(value, column + ".", cells);
    } else if (value.is_array()) {
      cells->emplace_back(column, value.empty() ? "" : std::to_string(value.size()));
    } else if (value.is_string()) {
      cells->emplace_back(column, value.get<std::string>());
    } else {
      cells->emplace_back(column, value.dump());
    }
  }
}

// Long texts (mail bodies) would stretch every row; the JSON form keeps them whole.
std::string Clip(const std::string& text) {
  constexpr std::size_t kMaxWidth = 40;
  std::string single = text;
  std::replace(single.begin(), single.end(), '\n', ' ');
  std::replace(single.begin(), single.end(), '\r', ' ');
  if (single.size() <= kMaxWidth) return single;
  return single.substr(0, kMaxWidth - 3) + "...";
}

}  // namespace

void PrintTable(const std::vector<Json>& rows, const char* emptyText) {
  if (rows.empty()) {
    std::printf("%s\n", emptyText);
    return;
  }
  // Columns in first-seen order; a column is shown when some row has text in it.
  std::vector<std::string> columns;
  std::vector<std::vector<std::pair<std::string, std::string>>> flat(rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    Flatten(rows[r], "", &flat[r]);
    for (const auto& cell : flat[r]) {
      if (std::find(columns.begin(), columns.end(), cell.first) == columns.end()) {
        columns.push_back(cell.first);
      }
    }
  }
  std::vector<std::vector<std::string>> table(rows.size(),
                                              std::vector<std::string>(columns.size()));
  std::vector<std::size_t> width(columns.size(), 0);
  std::vector<bool> used(columns.size(), false);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (const auto& cell : flat[r]) {
      const std::size_t c = std::find(columns.begin(), columns.end(), cell.first) - columns.begin();
      table[r][c] = Clip(cell.second);
      if (!table[r][c].empty()) used[c] = true;
    }
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    width[c] = columns[c].size();
    for (const auto& row : table) width[c] = std::max(width[c], row[c].size());
  }
  auto printRow = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (!used[c]) continue;
      if (!line.empty()) line += "  ";
      line += cells[c] + std::string(width[c] - cells[c].size(), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::printf("%s\n", line.c_str());
  };
  printRow(columns);
  std::vector<std::string> rule(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) rule[c] = std::string(width[c], '-');
  printRow(rule);
  for (const auto& row : table) printRow(row);
}

}  // namespace foldwise_tool
