#pragma once

#include <array>
#include <string>
#include <vector>

namespace vexa::sim {

inline constexpr int kAnalogChannels = 15;  // AD00 to AD14
inline constexpr int kAlarmChannels = 20;   // 00 to 14 analog, 15 power, 16 to 19 inputs

struct RelaySettings {
  char state = '0';           // '1' on, '0' off
  std::string time_lapse;     // seconds, four digits
  std::string alarm_sources;  // 20 source bits and 6 filler zeros
};

struct AlarmText {
  bool enabled = false;
  std::string text;
};

// Every setting of a model T logger that a command changes, as the logger
// writes it in its replies. Station ID and passwords live with the logger.
struct LoggerSettings {
  std::string logging_interval;  // SA code "0" to "5"
  std::string centre_number;
  std::string sms_interval;  // CP interval code "0" to "9"
  std::string alarm_phone1;
  std::string alarm_phone2;
  // Per AD channel: upper, lower, start zero, mode, alert high, alert low;
  // AD13 and AD14 (temperature sensors 1 and 2): mode, alert high, alert low.
  std::array<std::vector<std::string>, kAnalogChannels> analog;
  std::string digital_modes;  // PA: power and inputs 1 to 3 as fitted, then two filler digits
  std::vector<RelaySettings> relays;
  std::array<AlarmText, kAlarmChannels> alarm_texts;
};

// What a logger with these inputs and relays holds when it leaves the
// factory and after "RESET".
LoggerSettings FactorySettings(int digital_inputs, int relays);

}  // namespace vexa::sim
