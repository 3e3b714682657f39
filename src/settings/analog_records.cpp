#include "settings/analog_records.h"

#include "protocol/command_envelope.h"
#include "settings/setting_codes.h"

namespace vexa {

int OperationModeIndex(std::string_view code) {
  const int index = code.size() == 1 ? code[0] - '0' : -1;
  return index >= 0 && index < static_cast<int>(kOperationModes.size()) ? index : -1;
}

bool IsThreeFieldRecord(int ad) {
  return ad == 13 || ad == 14;
}

std::string ChannelCommand(std::string_view password, int ad, const ChannelRecord& record) {
  const std::string number = {static_cast<char>('0' + ad / 10), static_cast<char>('0' + ad % 10)};
  if (IsThreeFieldRecord(ad)) {
    return FormatCommand("%s#AD%s:%s,%s,%s#",
                         {password, number, record.mode, record.alert_high, record.alert_low});
  }
  return FormatCommand("%s#AD%s:%s,%s,%s,%s,%s,%s#",
                       {password, number, record.upper, record.lower, record.start_zero,
                        record.mode, record.alert_high, record.alert_low});
}

int RecordCode(int ad) {
  if (ad == kHumidityAd) return kHumiditySensorCode;
  if (ad >= kFirstAnalogAd && ad < kFirstAnalogAd + kAnalogChannelCount) {
    return kAnalogChannelCode + ad;
  }
  for (const TemperatureSensor& sensor : kTemperatureSensors) {
    if (sensor.ad == ad) return sensor.code;
  }
  return -1;
}

std::string TemperatureSensorCommand(std::string_view password, const TemperatureSensor& sensor,
                                     ChannelRecord entered) {
  if (!IsThreeFieldRecord(sensor.ad)) {
    entered.upper = kFixedUpperLimit;
    entered.lower = kFixedLowerLimit;
    entered.start_zero = kFixedStartZero;
  }
  return ChannelCommand(password, sensor.ad, entered);
}

}  // namespace vexa
