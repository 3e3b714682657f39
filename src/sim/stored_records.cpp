#include "sim/stored_records.h"

#include <algorithm>
#include <vector>

#include "sim/sensor_readings.h"

namespace vexa::sim {

namespace {

constexpr std::chrono::seconds kInterval{300};
constexpr char kIntervalCode = '1';  // five minutes, in the logging interval codes
constexpr std::chrono::days kMemory{3};
constexpr int kBlockSamples = 12;

LoggerTime RoundUpToSample(LoggerTime time) {
  const auto rest = time.time_since_epoch() % kInterval;
  return rest.count() == 0 ? time : time - rest + kInterval;
}

std::string Join(const std::vector<std::string>& values) {
  std::string joined;
  for (const auto& value : values) {
    if (!joined.empty()) joined += '|';
    joined += value;
  }
  return joined;
}

std::string Block(std::string_view station_id, LoggerTime first, int samples,
                  double humidity_upper_limit) {
  std::vector<std::string> humidity, temperature1, temperature2;
  for (int i = 0; i < samples; ++i) {
    const LoggerTime at = first + i * kInterval;
    humidity.push_back(FormatTenths(HumidityTenths(at, humidity_upper_limit), 1));
    temperature1.push_back(FormatTenths(TemperatureTenths(13, at), 1));
    temperature2.push_back(FormatTenths(TemperatureTenths(14, at), 1));
  }
  std::string block = "#STD:";
  block += station_id;
  block += ",T;TM:" + FormatSeconds(first) + ";D:" + kIntervalCode +
           ";T:" + std::to_string(samples) + ";A00:" + Join(humidity) +
           ";A13:" + Join(temperature1) + ";A14:" + Join(temperature2) + ";";
  return block;
}

}  // namespace

std::string StoredRecordsReply(std::string_view station_id, LoggerTime from, int count,
                               LoggerTime now, double humidity_upper_limit) {
  const LoggerTime newest = now - now.time_since_epoch() % kInterval;
  const LoggerTime oldest = newest - kMemory;
  LoggerTime next = std::max(RoundUpToSample(from), oldest);
  std::string reply;
  while (count > 0 && next <= newest) {
    const auto available = static_cast<int>((newest - next) / kInterval) + 1;
    const int samples = std::min({count, kBlockSamples, available});
    reply += Block(station_id, next, samples, humidity_upper_limit);
    next += samples * kInterval;
    count -= samples;
  }
  return reply.empty() ? reply : reply + "#";
}

}  // namespace vexa::sim
