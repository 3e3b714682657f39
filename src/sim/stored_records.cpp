#include "sim/stored_records.h"

#include <algorithm>
#include <vector>

#include "sim/sensor_readings.h"

namespace vexa::sim {

namespace {

constexpr int kFirstTemperature = 7;
constexpr int kLastTemperature = 14;

// Seconds between samples for a data logging interval code; 0 logs nothing.
std::chrono::seconds Interval(int code) {
  switch (code) {
    case 1:
      return std::chrono::minutes{5};
    case 2:
      return std::chrono::minutes{15};
    case 3:
      return std::chrono::minutes{30};
    case 4:
      return std::chrono::minutes{60};
    case 5:
      return std::chrono::minutes{1};
  }
  return std::chrono::seconds{0};
}

LoggerTime RoundUpToSample(LoggerTime time, std::chrono::seconds interval) {
  const auto rest = time.time_since_epoch() % interval;
  return rest.count() == 0 ? time : time - rest + interval;
}

std::string TwoDigits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// ";Ann:" and the samples of one sensor, separated by "|".
template <typename Reading>
std::string Field(int channel, LoggerTime first, int samples, std::chrono::seconds interval,
                  Reading reading) {
  std::string field = "A" + TwoDigits(channel) + ":";
  for (int i = 0; i < samples; ++i) {
    if (i > 0) field += '|';
    field += FormatTenths(reading(first + i * interval), 1);
  }
  return field + ";";
}

std::string Block(std::string_view station_id, int interval_code, LoggerTime first, int samples,
                  double humidity_upper_limit) {
  const std::chrono::seconds interval = Interval(interval_code);
  std::string block = "#STD:";
  block += station_id;
  block += ",T;TM:" + FormatSeconds(first) + ";D:" + std::to_string(interval_code) +
           ";T:" + std::to_string(samples) + ";";
  block += Field(0, first, samples, interval, [humidity_upper_limit](LoggerTime at) {
    return HumidityTenths(at, humidity_upper_limit);
  });
  for (int channel = kFirstTemperature; channel <= kLastTemperature; ++channel) {
    block += Field(channel, first, samples, interval,
                   [channel](LoggerTime at) { return TemperatureTenths(channel, at); });
  }
  return block;
}

}  // namespace

std::string StoredRecordsReply(std::string_view station_id, const RecordHistory& history,
                               LoggerTime from, int count, LoggerTime now,
                               double humidity_upper_limit) {
  const std::chrono::seconds interval = Interval(history.interval_code);
  if (interval.count() == 0 || history.samples_per_record < 1) return {};
  const LoggerTime newest = now - now.time_since_epoch() % interval;
  const LoggerTime oldest = newest - history.depth;
  LoggerTime next = std::max(RoundUpToSample(from, interval), oldest);
  std::string reply;
  for (; count > 0 && next <= newest; --count) {
    const auto available = static_cast<int>((newest - next) / interval) + 1;
    const int samples = std::min(history.samples_per_record, available);
    reply += Block(station_id, history.interval_code, next, samples, humidity_upper_limit);
    next += samples * interval;
  }
  return reply.empty() ? reply : reply + "#";
}

}  // namespace vexa::sim
