#pragma once

#include <array>

namespace vexa {

// One alarm source of the logger: its label on the page, its channel number in
// the commands and the subject its validation messages name.
struct AlarmRow {
  const char* label;
  int channel;
  const char* subject;
  bool clear_unchecks;  // Clear also unchecks the row's "Text Message" box
  bool power_source;    // the logger abbreviates its alarm as "ALM!" here
};

// The AD page, top to bottom. Temperature sensors 3 to 8 report as analog
// channels, and sensors 1 and 2 (AD13, AD14) come last.
inline constexpr std::array<AlarmRow, 15> kAnalogAlarmRows{{
    {"Humidity: (AD00)", 0, "Humidity Channel", true, false},
    {"Analog Channel: (AD01)", 1, "Analog Channel AD01", false, false},
    {"Analog Channel: (AD02)", 2, "Analog Channel AD02", false, false},
    {"Analog Channel: (AD03)", 3, "Analog Channel AD03", false, false},
    {"Analog Channel: (AD04)", 4, "Analog Channel AD04", false, false},
    {"Analog Channel: (AD05)", 5, "Analog Channel AD05", false, false},
    {"Analog Channel: (AD06)", 6, "Analog Channel AD06", false, false},
    {"Temperature_3: (AD07)", 7, "Analog Channel AD07", true, false},
    {"Temperature_4: (AD08)", 8, "Analog Channel AD08", true, false},
    {"Temperature_5: (AD09)", 9, "Analog Channel AD09", true, false},
    {"Temperature_6: (AD10)", 10, "Analog Channel AD10", true, false},
    {"Temperature_7: (AD11)", 11, "Analog Channel AD11", true, false},
    {"Temperature_8: (AD12)", 12, "Analog Channel AD12", true, false},
    {"Temperature_1: (AD13)", 13, "Temperature 1 Channel", true, false},
    {"Temperature_2: (AD14)", 14, "Temperature 2 Channel", true, false},
}};

// The IN page: the power source, then inputs IN01 to IN04 (channel = input + 15).
// Clear leaves every box of this page.
inline constexpr std::array<AlarmRow, 5> kInputAlarmRows{{
    {"Power Source: (Power Alert)", 15, "Power Source", false, true},
    {"Digital Input Channel: (IN01)", 16, "Digital Input Channel IN01", false, false},
    {"Digital Input Channel: (IN02)", 17, "Digital Input Channel IN02", false, false},
    {"Digital Input Channel: (IN03)", 18, "Digital Input Channel IN03", false, false},
    {"Digital Input Channel: (IN04)", 19, "Digital Input Channel IN04", false, false},
}};

// A row's Set command goes out under 19000 + channel, its Read under 19100 + channel.
inline constexpr int AlarmSetCode(const AlarmRow& row) {
  return 19000 + row.channel;
}
inline constexpr int AlarmReadCode(const AlarmRow& row) {
  return 19100 + row.channel;
}

// The row of alarm source `channel` on either page (0 to 19), or null.
inline const AlarmRow* AlarmRowOf(int channel) {
  for (const AlarmRow& row : kAnalogAlarmRows) {
    if (row.channel == channel) return &row;
  }
  for (const AlarmRow& row : kInputAlarmRows) {
    if (row.channel == channel) return &row;
  }
  return nullptr;
}

}  // namespace vexa
