#pragma once

#include <string_view>

namespace vexa {

// What the command exchange needs of a port; tests hand it a fake.
class Port {
 public:
  virtual ~Port() = default;
  virtual bool IsPortOpen() const = 0;
  // Discards unread input, then writes all bytes; false when the write failed.
  virtual bool WritePort(std::string_view bytes) = 0;
};

}  // namespace vexa
