#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vexa::sim {

// The logger keeps a civil date and time without a zone; it is carried in a
// sys_seconds whose calendar fields are the logger's local ones.
using LoggerTime = std::chrono::sys_seconds;
using LoggerClock = std::function<LoggerTime()>;

// The PC's local date and time: the simulated logger's clock unless a test
// hands in its own.
LoggerTime LocalTimeNow();

// "yymmddhhmm" and "yymmddhhmmss", as the logger writes its time.
std::string FormatMinutes(LoggerTime time);
std::string FormatSeconds(LoggerTime time);

// Reads "yymmddhhmm" (years 2000 to 2099); nothing for any other text or an
// impossible date or time.
std::optional<LoggerTime> ParseMinutes(std::string_view text);

}  // namespace vexa::sim
