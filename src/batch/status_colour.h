#pragma once

#include <string_view>

namespace vexa {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

// The colour a row's status is written in: green for a success or a verified
// write, red for a failure, an error or a write the logger does not report,
// blue for a time-out, black for anything else. The tests run in that order,
// a later match winning.
Rgb StatusColour(std::string_view status);

}  // namespace vexa
