#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// A date and time on the logger's own clock, which knows no time zone and no
// daylight saving: its calendar fields are carried in a sys_seconds.
using LoggerMoment = std::chrono::sys_seconds;

struct DateTimeText {
  std::string date;
  std::string time;
};

// The Date and Time a status shows from its "TM:" value: "yymmddhhmmss" as
// "mm/dd/yy" and "hh:mm:ss", "yymmddhhmm" as "mm/dd/yy" and "hh:mm"; any
// other value shows neither.
DateTimeText StatusDateTime(std::string_view value);

// The moment of a record's first sample from its "TM:" value:
// "yymmddhhmmss", "yymmddhhmm", or "mm/dd/yyyy,hh:mm:ss"; none when the value
// holds no valid date and time.
std::optional<LoggerMoment> RecordStart(std::string_view value);

// Seconds between samples for a data logging interval code; 0 for "No Upload"
// and for unknown codes.
int IntervalSeconds(int code);

// How a sample's moment shows: "mm/dd/yyyy" and "hh:mm:ss".
DateTimeText ShownDateTime(LoggerMoment moment);

// The moment a row shows, read back from its Date ("mm/dd/yyyy" or
// "mm/dd/yy") and Time ("hh:mm:ss" or "hh:mm"); none for anything else.
std::optional<LoggerMoment> ShownMoment(std::string_view date, std::string_view time);

}  // namespace vexa
