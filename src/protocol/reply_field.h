#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

struct ReplyFieldValue {
  std::string value;      // empty when the key is absent or has no ";" after it
  std::ptrdiff_t position = -1;  // where the key starts, -1 when absent
};

// The value of `key` (with its ":") in a reply: the text after the key's first
// occurrence at or after `start`, up to the next ";".
ReplyFieldValue ReplyField(std::string_view reply, std::string_view key, std::size_t start = 0);

// The parts of a value separated by ",", in order ("" gives one empty part).
std::vector<std::string> SplitValue(std::string_view value);

}  // namespace vexa
