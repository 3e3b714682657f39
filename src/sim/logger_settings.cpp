#include "sim/logger_settings.h"

#include <algorithm>
#include <string_view>

namespace vexa::sim {

namespace {

// A mode digit for the power source and each of the first three inputs.
constexpr std::string_view kFactoryModes = "0234";
const RelaySettings kFactoryRelays[] = {
    {'1', "0010", "10000000000000000001000000"},
    {'0', "0005", "00000000000000000000000000"},
};
const RelaySettings kFurtherRelay = {'0', "0000", "00000000000000000000000000"};

}  // namespace

LoggerSettings FactorySettings(int digital_inputs, int relays) {
  LoggerSettings settings;
  settings.logging_interval = "3";
  settings.centre_number = "+491701234567";
  settings.sms_interval = "2";
  settings.alarm_phone1 = "+491709876543";
  settings.analog = {{
      {"100.0", "0.000", "0.000", "1", "80.00", "20.00"},
      {"20.00", "4.000", "4.000", "1", "18.00", "6.000"},
      {"20.00", "4.000", "4.000", "0", "18.00", "6.000"},
      {"10.00", "0.000", "0.000", "2", "9.000", "1.000"},
      {"10.00", "0.000", "0.000", "0", "9.000", "1.000"},
      {"5.000", "0.000", "0.000", "0", "4.000", "1.000"},
      {"5.000", "0.000", "0.000", "0", "4.000", "1.000"},
      {"1.000", "0.000", "1.000", "1", "40.00", "-10.0"},
      {"1.000", "0.000", "1.000", "1", "40.00", "-10.0"},
      {"1.000", "0.000", "1.000", "2", "80.00", "-10.0"},
      {"1.000", "0.000", "1.000", "0", "40.00", "0.000"},
      {"1.000", "0.000", "1.000", "0", "40.00", "0.000"},
      {"1.000", "0.000", "1.000", "0", "40.00", "0.000"},
      {"2", "50.00", "-10.0"},
      {"1", "60.00", "0.000"},
  }};
  const int modes = std::clamp(digital_inputs, 0, static_cast<int>(kFactoryModes.size()));
  settings.digital_modes = std::string(kFactoryModes.substr(0, modes)) + "00";
  for (int relay = 0; relay < relays; ++relay) {
    settings.relays.push_back(relay < std::ssize(kFactoryRelays) ? kFactoryRelays[relay]
                                                                 : kFurtherRelay);
  }
  settings.alarm_texts[0] = {true, "HUMI ALRM!"};
  settings.alarm_texts[13] = {true, "TANK ALRM!"};
  settings.alarm_texts[15] = {true, "POWER ALM!"};
  // The program spells out "ALM!" for the power source only, so an input shows it as sent.
  settings.alarm_texts[16] = {true, "DOOR ALM!"};
  return settings;
}

}  // namespace vexa::sim
