#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/faults.h"

namespace vexa::sim {

// One write on the line, after waiting `delay` from the previous one (or from
// the received text, for the first).
struct Burst {
  std::chrono::milliseconds delay{0};
  std::string bytes;
};
using Schedule = std::vector<Burst>;

// What sits on the far end of the serial line: a logger on the direct cable or
// the GSM modem. Answers as a schedule, so the timing is testable without a port.
class SimulatedDevice {
 public:
  virtual ~SimulatedDevice() = default;
  // Everything the device sends in answer to one complete received text.
  virtual Schedule Respond(std::string_view received) = 0;
  virtual void set_faults(const Faults& faults) = 0;
  // The humidity sensor's raw reading (the status's "A02:") in tenths of a
  // percent; unset, it follows its daily swing.
  virtual void set_raw_humidity(std::optional<int> tenths) = 0;
};

}  // namespace vexa::sim
