#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace vexa {

// A line that sends this much without a pause is flooding: the port hands over
// what it has as one burst and drops the rest until the line pauses. Twice the
// largest reply a logger sends (99 stored records of at most 9999 characters
// each), so no reply is ever cut, while a line that never pauses cannot fill
// the memory.
inline constexpr std::size_t kMaxBurstSize = 2 * 1024 * 1024;

// What the command exchange needs of a port; tests hand it a fake.
class Port {
 public:
  // Tells whether the text received so far is a whole reply, which may then be
  // handed over after a short guard instead of the full pause. Called on the
  // receive thread: it may use nothing but its argument and what it holds by value.
  using ReplyComplete = std::function<bool(std::string_view received)>;

  virtual ~Port() = default;
  virtual bool IsPortOpen() const = 0;
  // Discards unread input, then writes all bytes; false when the write failed.
  virtual bool WritePort(std::string_view bytes) = 0;
  // How to know the reply to the next write; a write without one waits for the
  // full pause after every burst.
  virtual void ExpectReply(ReplyComplete /*complete*/) {}
};

}  // namespace vexa
