#pragma once

#include <cstddef>
#include <string>

namespace vexa {

// Puts a logger's reply back together from the short messages the GSM modem
// delivers: the first part announces the total length in "L:", further parts
// carry a "#STA:xxxxxx;" header.
class GsmReassembly {
 public:
  // The whole reply once it is complete, an empty text while parts are awaited.
  // A text that starts no framed reply and continues none comes back unchanged.
  std::string Add(const std::string& text);
  void Reset();
  std::size_t buffered() const { return buffer_.size(); }
  // True when the reply Add returned was put together from several messages.
  bool joined() const { return parts_ > 1; }

 private:
  std::string buffer_;
  std::size_t expected_length_ = 0;
  std::size_t parts_ = 0;  // messages in the buffer
};

}  // namespace vexa
