#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/analog_records.h"

namespace vexa {

inline constexpr std::string_view kHumiditySensorName = "Humidity Sensor";
inline constexpr std::string_view kAnalogChannelName = "Analog Channel";

// Whether a Set button sends limits of the engineer's, or only mode and alerts.
enum class EnteredParts { kAlertsOnly, kWithLimits };

// The refusal of the Set button of record `name` for the first part left
// empty, checked in the order mode, lower, upper, start zero, alert high,
// alert low; nothing when every part is filled.
std::optional<std::string> MissingValueMessage(std::string_view name, const ChannelRecord& entry,
                                               EnteredParts parts);

}  // namespace vexa
