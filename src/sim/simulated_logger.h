#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/faults.h"
#include "sim/logger_identity.h"
#include "sim/logger_settings.h"
#include "sim/logger_time.h"
#include "sim/simulated_device.h"
#include "sim/stored_records.h"

namespace vexa::sim {

// One model T logger: answers its command language, keeps its settings in
// memory, checks passwords and holds a history of stored records.
class SimulatedLogger : public SimulatedDevice {
 public:
  explicit SimulatedLogger(LoggerIdentity identity, LoggerClock clock = LocalTimeNow,
                           RecordHistory history = {});

  // The reply to one command ("<password>#<key>[:<arguments>]#"), or "" when
  // the logger stays silent.
  std::string Handle(std::string_view command);

  // On the direct cable the reply is one burst.
  Schedule Respond(std::string_view received) override;
  void set_faults(const Faults& faults) override { faults_ = faults; }
  void set_raw_humidity(std::optional<int> tenths) override { raw_humidity_tenths_ = tenths; }

  const std::string& station_id() const { return station_id_; }
  const std::string& phone() const { return phone_; }

 private:
  enum class SetOutcome { kApplied, kOutOfRange, kMalformed };

  std::string Answer(std::string_view command);
  std::string Read(std::string_view key, std::string_view args, bool has_args) const;
  std::string StoredRecords(std::string_view moment_and_count) const;
  using Setter = std::function<SetOutcome(std::string_view args)>;

  // The setter of a setup key, or null for a key the logger does not know.
  Setter FindSetter(std::string_view key);
  SetOutcome SetStationId(std::string_view args);
  SetOutcome SetPasswords(std::string_view args);
  SetOutcome SetTime(std::string_view args);
  SetOutcome SetLoggingInterval(std::string_view args);
  SetOutcome CheckGprsUpload(std::string_view args);
  SetOutcome SetSmsUpload(std::string_view args);
  SetOutcome SetAlarmPhone(std::string& slot, std::string_view args);
  SetOutcome SetDigitalModes(std::string_view args);
  SetOutcome SetAnalog(int channel, std::string_view args);
  SetOutcome SetAlarmText(int channel, std::string_view args);
  SetOutcome SetRelay(std::string_view kind, int relay, std::string_view args);

  std::string StatusReply() const;
  std::string Group1Reply() const;
  std::string Group2Reply() const;
  std::string Group3Reply() const;
  LoggerTime Now() const;
  double HumidityUpperLimit() const;

  std::string station_id_;
  std::string phone_;
  std::string enquiry_password_;
  std::string setup_password_;
  LoggerClock clock_;
  RecordHistory history_;
  std::chrono::seconds clock_offset_{0};  // set by "TM", against the clock handed in
  int digital_inputs_;
  int relays_;
  LoggerSettings settings_;
  Faults faults_;
  std::optional<int> raw_humidity_tenths_;
};

}  // namespace vexa::sim
