#include "pages/analog/missing_value.h"

namespace vexa {

std::optional<std::string> MissingValueMessage(std::string_view name, const ChannelRecord& entry,
                                               EnteredParts parts) {
  const std::string prefix(name);
  if (entry.mode.empty()) return "Please select " + prefix + " Alarm Type!";
  if (parts == EnteredParts::kWithLimits) {
    if (entry.lower.empty()) return prefix + " Lower limit is empty";
    if (entry.upper.empty()) return prefix + " Upper limit is empty";
    // The analog channel's refusal has always run its name into "Start Zero".
    const std::string_view gap = name == kAnalogChannelName ? "" : " ";
    if (entry.start_zero.empty()) return prefix + std::string(gap) + "Start Zero is empty";
  }
  if (entry.alert_high.empty()) return prefix + " Alert High is empty";
  if (entry.alert_low.empty()) return prefix + " Alert Low is empty";
  return std::nullopt;
}

}  // namespace vexa
