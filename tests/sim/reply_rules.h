#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vexa::sim::testing {

// The program's reading rules, written out here on their own so that the
// simulator is checked against the rules rather than against its own code.

// The value of `key` (with its ":"): from after the key's first occurrence up
// to the next ";", empty when the key or the ";" is missing.
inline std::string FieldValue(std::string_view reply, std::string_view key) {
  const auto at = reply.find(key);
  if (at == std::string_view::npos) return "";
  const auto start = at + key.size();
  const auto end = reply.find(';', start);
  if (end == std::string_view::npos) return "";
  return std::string(reply.substr(start, end - start));
}

// Puts a reply together from the texts the GSM modem delivers: the first part
// announces the total in "L:" (key at position 12 to 19), further parts lose
// their "#STA:xxxxxx;" head, and the reply is complete once the buffer is
// longer than the announced total.
class ProgramReassembly {
 public:
  // The whole reply once complete, "" while more parts are awaited.
  std::string Add(std::string_view text) {
    const bool keyed = text.find("STA") != text.npos || text.find("STC") != text.npos ||
                       text.find("STD") != text.npos || text.find("STB") != text.npos;
    if (!keyed) return std::string(text);
    const auto length_key = text.find("L:");
    const std::string length = FieldValue(text, "L:");
    if (length_key >= 12 && length_key <= 19 && !length.empty()) {
      expected_ = std::stoul(length);
      if (expected_ > text.size()) {
        buffer_ = text;
        return "";
      }
    }
    if (FieldValue(text, "STA:").size() == 6) text.remove_prefix(text.find(';', 3) + 1);
    buffer_ += text;
    if (expected_ == 0 || buffer_.size() <= expected_) return "";
    std::string whole = std::move(buffer_);
    buffer_.clear();
    expected_ = 0;
    return whole;
  }

 private:
  std::string buffer_;
  std::size_t expected_ = 0;
};

}  // namespace vexa::sim::testing
