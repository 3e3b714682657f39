#pragma once

#include <string_view>

#include "protocol/device_context.h"

namespace vexa {

// Fills the digital-input and relay counts from a status reply; a reply
// without a "STA:" value changes nothing.
void ParseStatus(std::string_view reply, DeviceContext& context);

}  // namespace vexa
