#include "pages/data_record/chart_lines.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace vexa {
namespace {

std::optional<double> NumberIn(const std::string& cell) {
  double value = 0;
  const char* end = cell.data() + cell.size();
  const auto [stop, error] = std::from_chars(cell.data(), end, value);
  if (cell.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

const std::string& Cell(const std::vector<std::string>& row, std::size_t column) {
  static const std::string kEmpty;
  return column < row.size() ? row[column] : kEmpty;
}

}  // namespace

std::vector<ChartLine> ChartLines(const RecordTable& table) {
  std::vector<std::optional<LoggerMoment>> moments;
  moments.reserve(table.rows.size());
  for (const auto& row : table.rows) {
    moments.push_back(ShownMoment(Cell(row, kDateColumn), Cell(row, kTimeColumn)));
  }
  std::vector<ChartLine> lines;
  for (std::size_t column = 0; column < table.columns.size(); ++column) {
    if (table.columns[column].kind != ColumnKind::kMeasured) continue;
    ChartLine line{table.columns[column].caption, {}};
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      const auto value = NumberIn(Cell(table.rows[r], column));
      if (moments[r] && value) line.points.push_back({*moments[r], *value});
    }
    if (!line.points.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace vexa
