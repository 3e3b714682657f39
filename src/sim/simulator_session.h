#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/faults.h"
#include "sim/logger_identity.h"
#include "sim/logger_time.h"
#include "sim/pseudo_terminal.h"
#include "sim/simulated_device.h"
#include "sim/stored_records.h"

namespace vexa::sim {

struct SimulatorOptions {
  bool gsm = false;  // the GSM modem with every logger behind it; else the first logger on a cable
  std::vector<LoggerIdentity> loggers = DemoLoggers();
  Faults faults{};
  std::chrono::milliseconds part_delay{1000};  // between the modem's bursts
  LoggerClock clock = LocalTimeNow;
  // The humidity sensor's raw reading in tenths ("A02:" of the status); unset, the daily swing.
  std::optional<int> raw_humidity_tenths{};
  RecordHistory history{};  // what every logger has stored
};

// Serves a simulated logger (or the modem with its loggers) on a
// pseudo-terminal from its own thread, until destroyed.
class SimulatorSession {
 public:
  // Null when no pseudo-terminal or thread can be had, or no logger is given.
  static std::unique_ptr<SimulatorSession> Start(SimulatorOptions options);
  ~SimulatorSession();

  SimulatorSession(const SimulatorSession&) = delete;
  SimulatorSession& operator=(const SimulatorSession&) = delete;

  // Open this with the ordinary serial code.
  const std::string& slave_path() const { return slave_path_; }

  // Takes effect from the next command on; safe while the session runs.
  void set_faults(const Faults& faults);

  // On the direct cable: unplugs the logger and plugs in the next of the
  // options' loggers (the first again after the last), as it left the
  // factory, so that a batch can be replayed on one logger after another.
  // Returns its station ID; empty on the GSM route, where all are reachable.
  std::string PlugInNextLogger();

  // As if someone else reached the logger on the cable meanwhile (another PC,
  // an SMS from a phone): it takes `command` and the answer, returned, never
  // reaches the line. Empty on the GSM route.
  std::string CommandFromElsewhere(std::string_view command);

  // The device goes away: serving stops and the master is closed, so the
  // slave side sees the line hang up.
  void Disappear();

 private:
  SimulatorSession(PseudoTerminal terminal, std::unique_ptr<SimulatedDevice> device,
                   SimulatorOptions options, int wake_read, int wake_write);

  void Serve();
  Schedule Respond(std::string_view received);
  void Write(std::string_view bytes);

  PseudoTerminal terminal_;
  const std::string slave_path_;
  std::mutex device_mutex_;
  std::unique_ptr<SimulatedDevice> device_;  // guarded by device_mutex_
  SimulatorOptions options_;                 // its faults guarded by device_mutex_
  std::size_t logger_on_cable_ = 0;          // guarded by device_mutex_
  const bool gsm_;
  const int wake_read_;  // a byte here wakes the serving thread to stop
  const int wake_write_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vexa::sim
