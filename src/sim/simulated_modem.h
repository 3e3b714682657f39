#pragma once

#include <chrono>
#include <string_view>
#include <vector>

#include "sim/faults.h"
#include "sim/logger_identity.h"
#include "sim/logger_time.h"
#include "sim/simulated_device.h"
#include "sim/simulated_logger.h"

namespace vexa::sim {

// The GSM modem on the serial port and the loggers it reaches by SMS, each by
// the phone number of its SIM.
class SimulatedModem : public SimulatedDevice {
 public:
  SimulatedModem(const std::vector<LoggerIdentity>& loggers, std::chrono::milliseconds part_delay,
                 const LoggerClock& clock = LocalTimeNow, const RecordHistory& history = {});

  // One line as received, "\r\n" included. "AT+BJSD=<n>,<phone>,<command>":
  // the line echoed at once, "message send" and each SMS of the logger's reply
  // `part_delay` apart. "AT+BJTE" and "AT+BJDS": one line, not echoed.
  Schedule Respond(std::string_view line) override;
  void set_faults(const Faults& faults) override;
  void set_raw_humidity(std::optional<int> tenths) override;

  // The logger with this phone number, or null.
  SimulatedLogger* LoggerByPhone(std::string_view phone);

 private:
  std::vector<SimulatedLogger> loggers_;
  std::chrono::milliseconds part_delay_;
  Faults faults_;
};

}  // namespace vexa::sim
