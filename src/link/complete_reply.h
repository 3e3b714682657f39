#pragma once

#include <string_view>

#include "link/command_state.h"

namespace vexa {

// True when the text received so far is a whole reply to the pending command, so
// that the port need only wait a short guard for stray trailing bytes rather than
// the full pause that ends a burst. Only forms whose end is certain count: a status
// or parameter group reply that has reached its end mark, a fixed reply text that
// is the whole text, and on the GSM route the modem's own lines and each short
// message that ends its reply. Everything else (stored records, which may pause
// between blocks; the version; alarm texts; anything unknown) keeps the full pause.
bool IsCompleteReply(int pending_code, TransportMode route, std::string_view received);

}  // namespace vexa
