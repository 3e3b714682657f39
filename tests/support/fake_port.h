#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/port.h"

namespace vexa {

// A port that records what is written; it can be closed or made to fail.
class FakePort : public Port {
 public:
  bool IsPortOpen() const override { return open; }
  bool WritePort(std::string_view bytes) override {
    if (!open || fail_writes) return false;
    writes.emplace_back(bytes);
    return true;
  }
  void ExpectReply(ReplyComplete complete) override { reply_complete = std::move(complete); }
  // True when the exchange, for the command written last, takes `received` for a whole reply.
  bool IsWhole(std::string_view received) const {
    return reply_complete && reply_complete(received);
  }
  bool open = true;
  bool fail_writes = false;
  std::vector<std::string> writes;
  ReplyComplete reply_complete;
};

}  // namespace vexa
