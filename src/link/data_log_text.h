#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace vexa {

// The data log box keeps at most this much text; older entries drop off the bottom.
inline constexpr std::size_t kDataLogLimit = 2 * 1024 * 1024;

// The box's first line, with the local date.
std::string DataLogHeader(std::time_t now);

// The box's new text with the reply entered above the previous text.
std::string PrependDataLogEntry(std::string_view previous, std::string_view reply, std::time_t now);

// The copy of a received text the data log shows: long station values shortened.
std::string ShortenForDataLog(std::string_view text);

}  // namespace vexa
