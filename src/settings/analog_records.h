#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vexa {

// The operation modes of a sensor or channel; the wire code is the index.
inline constexpr std::array<std::string_view, 3> kOperationModes = {"Disable", "Capture Enable",
                                                                    "Capture & Alert Enable"};

// The index of a mode code ("0" to "2"), -1 for anything else.
int OperationModeIndex(std::string_view code);

// The settings of one AD record. A six-field record goes on the wire as upper,
// lower, start zero, mode, alert high, alert low; the three-field records of
// temperature sensors 1 and 2 as mode, alert high, alert low.
struct ChannelRecord {
  std::string upper;
  std::string lower;
  std::string start_zero;
  std::string mode;
  std::string alert_high;
  std::string alert_low;

  bool operator==(const ChannelRecord&) const = default;
};

// A reply to "#2" is read for the records AD00 to AD20.
inline constexpr int kLastAdNumber = 20;
inline constexpr int kHumidityAd = 0;
inline constexpr int kFirstAnalogAd = 1;  // Analog_01 to Analog_06 are AD01 to AD06
inline constexpr int kAnalogChannelCount = 6;

// AD13 and AD14 carry three fields, every other AD record six.
bool IsThreeFieldRecord(int ad);

// The setup command that writes `record` as AD record `ad`.
std::string ChannelCommand(std::string_view password, int ad, const ChannelRecord& record);

// The code under which the command buffer keeps AD record `ad`: the humidity
// sensor 12002, Analog_0n 12005 + n, the temperature sensors their own code.
int RecordCode(int ad);

// One temperature sensor row of the page.
struct TemperatureSensor {
  std::string_view name;  // its label, and how messages name it
  int ad;
  int code;  // sent and recorded under
};

inline constexpr std::array<TemperatureSensor, 8> kTemperatureSensors = {{
    {"Temperature Sensor_1", 13, 12003},
    {"Temperature Sensor_2", 14, 12004},
    {"Temperature Sensor_3", 7, 12207},
    {"Temperature Sensor_4", 8, 12208},
    {"Temperature Sensor_5", 9, 12209},
    {"Temperature Sensor_6", 10, 12210},
    {"Temperature Sensor_7", 11, 12211},
    {"Temperature Sensor_8", 12, 12212},
}};

// Sensors 3 to 8 have six-field records whose limits the logger fixes.
inline constexpr std::string_view kFixedUpperLimit = "1.000";
inline constexpr std::string_view kFixedLowerLimit = "0.000";
inline constexpr std::string_view kFixedStartZero = "1.000";

// The Set command of a temperature sensor from the mode and alerts entered;
// sensors 3 to 8 go out with the fixed limits.
std::string TemperatureSensorCommand(std::string_view password, const TemperatureSensor& sensor,
                                     ChannelRecord entered);

}  // namespace vexa
