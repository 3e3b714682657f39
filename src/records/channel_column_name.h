#pragma once

#include <string>

namespace vexa {

// Field kinds of a status or record: "A%02d:" analog fields and "P%02d:" pulse fields.
inline constexpr int kAnalogField = 0;
inline constexpr int kPulseField = 1;

// The list caption of field `n` of this kind ("Humidity", "Temperature_1",
// "P1_U1", "P2_EA+"); empty for a field without a name of its own.
std::string ChannelColumnName(int n, int kind);

}  // namespace vexa
