#pragma once

#include <ctime>
#include <string>

namespace vexa {

// `when` in local time, formatted with strftime's `format`.
std::string FormatLocalTime(const char* format, std::time_t when);

}  // namespace vexa
