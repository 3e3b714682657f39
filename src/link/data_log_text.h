#pragma once

#include <cstddef>
#include <ctime>
#include <deque>
#include <string>
#include <string_view>

namespace vexa {

// The data log box keeps at most this much text; older entries drop off the bottom.
inline constexpr std::size_t kDataLogLimit = 2 * 1024 * 1024;

// The box's first line, with the local date.
std::string DataLogHeader(std::time_t now);

// One entry, to go above the older text: a header line with the local date and
// time, the reply, and a blank line. An entry longer than the whole log is cut.
std::string DataLogEntry(std::string_view reply, std::time_t now);

// Keeps the data log within kDataLogLimit bytes: texts go on top and whole older
// ones leave at the bottom. It holds only their sizes, in bytes and in the
// characters the box shows for them (the box shows a line end as one).
class DataLogBound {
 public:
  // A text of `bytes` went on top, shown as `shown` characters; returns how
  // many characters to remove from the bottom of the box.
  std::size_t Prepend(std::size_t bytes, std::size_t shown);
  void Clear();

 private:
  struct Piece {
    std::size_t bytes;
    std::size_t shown;
  };
  std::deque<Piece> pieces_;  // newest first
  std::size_t bytes_ = 0;
};

// The copy of a received text the data log shows: long station values shortened.
std::string ShortenForDataLog(std::string_view text);

}  // namespace vexa
