#include "records/record_table.h"

#include <algorithm>

namespace vexa {

RecordTable BaseRecordTable() {
  RecordTable table;
  table.columns = {{"Count", "Count", 60, true, ColumnKind::kBase},
                   {"Header", "Header", 65, true, ColumnKind::kBase},
                   {"Station ID", "Station ID", 90, false, ColumnKind::kBase},
                   {"Date", "Date", 100, false, ColumnKind::kBase},
                   {"Time", "Time", 90, false, ColumnKind::kBase}};
  return table;
}

std::size_t FindColumn(const RecordTable& table, std::string_view id) {
  const auto found = std::find_if(table.columns.begin(), table.columns.end(),
                                  [id](const RecordColumn& column) { return column.id == id; });
  return static_cast<std::size_t>(found - table.columns.begin());
}

std::vector<RecordColumn> NewColumns(const RecordTable& table, const RecordTable& part) {
  std::vector<RecordColumn> added;
  for (const RecordColumn& column : part.columns) {
    if (FindColumn(table, column.id) == table.columns.size()) added.push_back(column);
  }
  return added;
}

void AppendRows(RecordTable& table, RecordTable part) {
  for (RecordColumn& column : NewColumns(table, part)) table.columns.push_back(std::move(column));
  std::vector<std::size_t> target;
  target.reserve(part.columns.size());
  std::size_t width = kCountColumn + 1;
  for (const RecordColumn& column : part.columns) {
    target.push_back(FindColumn(table, column.id));
    width = std::max(width, target.back() + 1);
  }

  table.rows.reserve(table.rows.size() + part.rows.size());
  for (std::vector<std::string>& cells : part.rows) {
    std::vector<std::string> row(width);
    for (std::size_t i = 0; i < cells.size() && i < target.size(); ++i) {
      row[target[i]] = std::move(cells[i]);
    }
    row[kCountColumn] = std::to_string(table.rows.size() + 1);
    table.rows.push_back(std::move(row));
  }
}

std::vector<std::vector<std::string>> ExportRows(const RecordTable& table,
                                                 const std::vector<std::size_t>& columns) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(table.rows.size() + 1);
  auto& captions = rows.emplace_back();
  for (const std::size_t column : columns) captions.push_back(table.columns.at(column).caption);
  for (const auto& cells : table.rows) {
    auto& row = rows.emplace_back();
    for (const std::size_t column : columns) {
      row.push_back(column < cells.size() ? cells[column] : std::string());
    }
  }
  return rows;
}

}  // namespace vexa
