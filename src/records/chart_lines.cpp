#include "records/chart_lines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace vexa {
namespace {

constexpr int kMostSteps = 8;
constexpr std::chrono::minutes kRoundSteps[] = {
    std::chrono::minutes{1},  std::chrono::minutes{5},  std::chrono::minutes{10},
    std::chrono::minutes{15}, std::chrono::minutes{30}, std::chrono::hours{1},
    std::chrono::hours{2},    std::chrono::hours{3},    std::chrono::hours{6},
    std::chrono::hours{12},   std::chrono::days{1},     std::chrono::days{2},
    std::chrono::days{7}};

LoggerMoment Floor(LoggerMoment moment, std::chrono::seconds step) {
  const auto rest = (moment.time_since_epoch() % step + step) % step;
  return moment - rest;
}

LoggerMoment Ceil(LoggerMoment moment, std::chrono::seconds step) {
  const LoggerMoment down = Floor(moment, step);
  return down == moment ? down : down + step;
}

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

constexpr std::string_view kHumidity = "Humidity";
constexpr std::string_view kTemperature = "Temperature_";

// The sensor number of a temperature caption ("Temperature_3"), else 0.
int TemperatureSensor(std::string_view caption) {
  if (!caption.starts_with(kTemperature)) return 0;
  caption.remove_prefix(kTemperature.size());
  int sensor = 0;
  const auto [end, error] =
      std::from_chars(caption.data(), caption.data() + caption.size(), sensor);
  return error == std::errc() && end == caption.data() + caption.size() ? sensor : 0;
}

// Humidity first, then the temperature sensors by number, then the rest.
int ChannelRank(const ChartLine& line) {
  if (line.axis == ChartAxis::kRelativeHumidity) return 0;
  if (line.axis == ChartAxis::kTemperature) return TemperatureSensor(line.caption);
  return std::numeric_limits<int>::max();
}

ChartAxis AxisOf(std::string_view caption) {
  if (caption == kHumidity) return ChartAxis::kRelativeHumidity;
  return TemperatureSensor(caption) > 0 ? ChartAxis::kTemperature : ChartAxis::kOther;
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
    const std::string& caption = table.columns[column].caption;
    ChartLine line{caption, AxisOf(caption), {}};
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      const auto value = NumberIn(Cell(table.rows[r], column));
      if (moments[r] && value) line.points.push_back({*moments[r], *value});
    }
    if (!line.points.empty()) lines.push_back(std::move(line));
  }
  std::stable_sort(lines.begin(), lines.end(), [](const ChartLine& a, const ChartLine& b) {
    return ChannelRank(a) < ChannelRank(b);
  });
  return lines;
}

TimeScale RoundTimeScale(LoggerMoment first, LoggerMoment last) {
  if (first == last) {
    first -= std::chrono::minutes{30};
    last += std::chrono::minutes{30};
  }
  std::chrono::seconds step = kRoundSteps[0];
  for (std::size_t i = 0;; ++i) {
    step = i < std::size(kRoundSteps) ? std::chrono::seconds{kRoundSteps[i]} : step * 2;
    const LoggerMoment low = Floor(first, step);
    const LoggerMoment high = Ceil(last, step);
    const auto steps = (high - low) / step;
    if (steps <= kMostSteps) return {low, high, step, static_cast<int>(steps) + 1};
  }
}

}  // namespace vexa
