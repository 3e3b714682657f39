#include "sim/logger_time.h"

#include <cstdio>
#include <ctime>

namespace vexa::sim {

namespace {

using std::chrono::days;
using std::chrono::floor;
using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;

// Two-digit fields of the logger's time, year first.
std::string FormatFields(LoggerTime time, bool with_seconds) {
  const auto day = floor<days>(time);
  const std::chrono::year_month_day date{day};
  const std::chrono::hh_mm_ss clock{time - day};
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02u%02u%02d%02d", static_cast<int>(date.year()) % 100,
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()));
  std::string result = text;
  if (with_seconds) {
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(clock.seconds().count()));
    result += text;
  }
  return result;
}

// The number written in text[at, at + 2), or -1 when those are not two digits.
int TwoDigits(std::string_view text, std::size_t at) {
  const char tens = text[at];
  const char ones = text[at + 1];
  if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return -1;
  return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

LoggerTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const std::chrono::year_month_day date{
      std::chrono::year{local.tm_year + 1900},
      std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
      std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
  return std::chrono::sys_days{date} + hours{local.tm_hour} + minutes{local.tm_min} +
         seconds{local.tm_sec};
}

std::string FormatMinutes(LoggerTime time) {
  return FormatFields(time, false);
}

std::string FormatSeconds(LoggerTime time) {
  return FormatFields(time, true);
}

std::optional<LoggerTime> ParseMinutes(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  int fields[5];
  for (int i = 0; i < 5; ++i) {
    fields[i] = TwoDigits(text, 2 * i);
    if (fields[i] < 0) return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year{2000 + fields[0]},
                                         std::chrono::month{static_cast<unsigned>(fields[1])},
                                         std::chrono::day{static_cast<unsigned>(fields[2])}};
  if (!date.ok() || fields[3] > 23 || fields[4] > 59) return std::nullopt;
  return std::chrono::sys_days{date} + hours{fields[3]} + minutes{fields[4]};
}

}  // namespace vexa::sim
