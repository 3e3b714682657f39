#include "sim/sensor_readings.h"

#include <cmath>
#include <cstdlib>

namespace vexa::sim {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

// base at the quietest minute of the day, base + amplitude twelve hours later.
int DailySwing(LoggerTime at, int base, int amplitude, int phase_minutes) {
  const auto minute_of_day =
      std::chrono::floor<std::chrono::minutes>(at - std::chrono::floor<std::chrono::days>(at));
  const int minute = static_cast<int>((minute_of_day.count() + phase_minutes) % kMinutesPerDay);
  const int half_day = kMinutesPerDay / 2;
  return base + amplitude * (half_day - std::abs(minute - half_day)) / half_day;
}

}  // namespace

int RawHumidityTenths(LoggerTime at) {
  return DailySwing(at, 400, 100, 0);
}

int HumidityTenths(LoggerTime at, double upper_limit) {
  return ScaledHumidityTenths(RawHumidityTenths(at), upper_limit);
}

int ScaledHumidityTenths(int raw_tenths, double upper_limit) {
  return static_cast<int>(std::lround(raw_tenths * upper_limit / 100.0));
}

int TemperatureTenths(int channel, LoggerTime at) {
  const int index = channel - 7;
  return DailySwing(at, 190 + 8 * index, 30 + 5 * index, 90 * index);
}

std::string FormatTenths(int tenths, int decimals) {
  std::string text = tenths < 0 ? "-" : "";
  const int magnitude = std::abs(tenths);
  text += std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
  if (decimals == 2) text += "0";
  return text;
}

}  // namespace vexa::sim
