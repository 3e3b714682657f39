#include "link/gsm_reassembly.h"

#include "link/port.h"
#include "protocol/reply_field.h"

namespace vexa {
namespace {

bool HoldsLoggerReply(const std::string& text) {
  for (const char* key : {"STA", "STC", "STD", "STB"}) {
    if (text.find(key) != std::string::npos) return true;
  }
  return false;
}

// The leading digits of a value; huge numbers are capped rather than overflowing.
std::size_t LeadingNumber(const std::string& value) {
  std::size_t number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    number = number * 10 + static_cast<std::size_t>(c - '0');
    if (number > 1'000'000'000) break;
  }
  return number;
}

}  // namespace

std::string GsmReassembly::Add(const std::string& text) {
  if (!HoldsLoggerReply(text)) return text;

  std::string part = text;
  const ReplyFieldValue length = ReplyField(text, "L:");
  const bool announces_length =
      length.position >= 12 && length.position <= 19 && !length.value.empty();
  // A short reply that merely holds one of the keys (an alarm text such as
  // "1,STATION DOWN") is no part of a framed reply: waiting for a total that
  // was never announced would end it as a time-out.
  if (expected_length_ == 0 && !announces_length && !text.starts_with("#ST")) return text;
  if (announces_length) {
    expected_length_ = LeadingNumber(length.value);
    if (expected_length_ > text.size()) {
      buffer_ = text;
      parts_ = 1;
      return {};
    }
  }
  // A continuation part starts with "#STA:<six characters>;", which goes.
  if (ReplyField(text, "STA:").value.size() == 6) {
    const std::size_t end = text.find(';', 3);
    if (end != std::string::npos) part = text.substr(end + 1);
  }
  buffer_ += part;
  ++parts_;
  if (expected_length_ > 0 && buffer_.size() > expected_length_) return buffer_;
  // No reply is this long: a line that floods with look-alike parts is dropped,
  // as parts that never reach their length are, so that memory stays flat.
  if (buffer_.size() > kMaxBurstSize) Reset();
  return {};
}

void GsmReassembly::Reset() {
  buffer_.clear();
  expected_length_ = 0;
  parts_ = 0;
}

}  // namespace vexa
