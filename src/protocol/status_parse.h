#pragma once

#include <string>
#include <string_view>

#include "protocol/device_context.h"

namespace vexa {

// Fills the digital-input and relay counts from a status reply; a reply
// without a "STA:" value changes nothing.
void ParseStatus(std::string_view reply, DeviceContext& context);

// The station ID a status reply answers with: its "STA:" value up to the
// model letter's ","; empty when the reply has no "STA:" value.
std::string StatusStationId(std::string_view reply);

}  // namespace vexa
