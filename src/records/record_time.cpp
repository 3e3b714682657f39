#include "records/record_time.h"

#include <cstdio>

namespace vexa {
namespace {

// The number written in text[at, at + length), or none unless those are all digits.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t length) {
  if (at + length > text.size()) return std::nullopt;
  int value = 0;
  for (char c : text.substr(at, length)) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Date "mm/dd/yyyy" and time "hh:mm:ss", read at fixed positions.
std::optional<LoggerMoment> MomentOf(std::string_view date, std::string_view time) {
  const auto year = Digits(date, 6, 4);
  const auto month = Digits(date, 0, 2);
  const auto day = Digits(date, 3, 2);
  const auto hour = Digits(time, 0, 2);
  const auto minute = Digits(time, 3, 2);
  const auto second = Digits(time, 6, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  const std::chrono::year_month_day ymd{std::chrono::year{*year},
                                        std::chrono::month{static_cast<unsigned>(*month)},
                                        std::chrono::day{static_cast<unsigned>(*day)}};
  if (!ymd.ok() || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  return std::chrono::sys_days{ymd} + std::chrono::hours{*hour} + std::chrono::minutes{*minute} +
         std::chrono::seconds{*second};
}

// Month, day and year of "yymmdd...", with the year as `year_prefix` + yy.
std::string DateOf(std::string_view value, std::string_view year_prefix) {
  return std::string(value.substr(2, 2)) + "/" + std::string(value.substr(4, 2)) + "/" +
         std::string(year_prefix) + std::string(value.substr(0, 2));
}

std::string Clock(std::string_view hour, std::string_view minute, std::string_view second) {
  return std::string(hour) + ":" + std::string(minute) + ":" + std::string(second);
}

}  // namespace

DateTimeText StatusDateTime(std::string_view value) {
  if (value.size() == 12) {
    return {DateOf(value, ""), Clock(value.substr(6, 2), value.substr(8, 2), value.substr(10, 2))};
  }
  if (value.size() == 10) {
    return {DateOf(value, ""),
            std::string(value.substr(6, 2)) + ":" + std::string(value.substr(8, 2))};
  }
  return {};
}

std::optional<LoggerMoment> RecordStart(std::string_view value) {
  if (value.find('/') != std::string_view::npos) {
    const auto comma = value.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    return MomentOf(value.substr(0, comma), value.substr(comma + 1));
  }
  if (value.size() == 12) {
    return MomentOf(DateOf(value, "20"),
                    Clock(value.substr(6, 2), value.substr(8, 2), value.substr(10, 2)));
  }
  if (value.size() == 10) {
    return MomentOf(DateOf(value, "20"), Clock(value.substr(6, 2), value.substr(8, 2), "00"));
  }
  return std::nullopt;
}

int IntervalSeconds(int code) {
  switch (code) {
    case 1:
      return 300;
    case 2:
      return 900;
    case 3:
      return 1800;
    case 4:
      return 3600;
    case 5:
      return 60;
  }
  return 0;
}

DateTimeText ShownDateTime(LoggerMoment moment) {
  const auto day = std::chrono::floor<std::chrono::days>(moment);
  const std::chrono::year_month_day date{day};
  const std::chrono::hh_mm_ss clock{moment - day};
  char date_text[16];
  char time_text[16];
  std::snprintf(date_text, sizeof date_text, "%02u/%02u/%04d", unsigned{date.month()},
                unsigned{date.day()}, int{date.year()});
  std::snprintf(time_text, sizeof time_text, "%02d:%02d:%02d", int(clock.hours().count()),
                int(clock.minutes().count()), int(clock.seconds().count()));
  return {date_text, time_text};
}

std::optional<LoggerMoment> ShownMoment(std::string_view date, std::string_view time) {
  std::string full_date(date);
  if (date.size() == 8) full_date.insert(6, "20");
  std::string full_time(time);
  if (time.size() == 5) full_time += ":00";
  if (full_date.size() != 10 || full_time.size() != 8) return std::nullopt;
  return MomentOf(full_date, full_time);
}

}  // namespace vexa
