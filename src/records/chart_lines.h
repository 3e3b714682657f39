#pragma once

#include <string>
#include <vector>

#include "records/record_table.h"
#include "records/record_time.h"

namespace vexa {

struct ChartPoint {
  LoggerMoment moment;
  double value = 0;
};

// The value axis of a line: one per unit, so that %RH and °C are not mixed.
enum class ChartAxis { kRelativeHumidity, kTemperature, kOther };

// One measured quantity of the list over the rows' date and time.
struct ChartLine {
  std::string caption;
  ChartAxis axis = ChartAxis::kOther;
  std::vector<ChartPoint> points;
};

// A line per measured column (not the state characters), from the rows whose
// Date and Time read as a moment and whose cell reads as a number; columns
// without such a cell give no line. In channel order: humidity, the
// temperature sensors by number, then the other channels as the list has them.
std::vector<ChartLine> ChartLines(const RecordTable& table);

// A time axis from `first` to `last`, widened to whole steps of round length
// (1 to 30 minutes, 1 to 12 hours, days), at most eight of them, so that its
// ticks fall on round times; a single moment gets an hour around it.
struct TimeScale {
  LoggerMoment first;
  LoggerMoment last;
  std::chrono::seconds step;
  int ticks = 0;
};
TimeScale RoundTimeScale(LoggerMoment first, LoggerMoment last);

}  // namespace vexa
