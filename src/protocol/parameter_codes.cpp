#include "protocol/parameter_codes.h"

namespace vexa {

std::string_view SensorName(int command_code) {
  static constexpr std::array<std::string_view, 6> kLaterTemperatureSensors = {
      "Temperature Sensor_3", "Temperature Sensor_4", "Temperature Sensor_5",
      "Temperature Sensor_6", "Temperature Sensor_7", "Temperature Sensor_8"};
  switch (command_code) {
    case 12002:
      return "Humidity Sensor";
    case 12003:
      return "Temperature Sensor_1";
    case 12004:
      return "Temperature Sensor_2";
  }
  if (command_code >= 12207 && command_code <= 12212) {
    return kLaterTemperatureSensors[command_code - 12207];
  }
  return {};
}

}  // namespace vexa
