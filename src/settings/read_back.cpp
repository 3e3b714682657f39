#include "settings/read_back.h"

#include "settings/analog_records.h"
#include "settings/operation_modes.h"
#include "settings/relay_settings.h"
#include "settings/setting_codes.h"

namespace vexa {
namespace {

constexpr int kEndOfRelayCodes = 15000;  // the Data Record page's codes follow

// Relay k's time lapse and associations are recorded under 14002 + 10k and
// 14003 + 10k; its on/off state (14001 + 10k) is switched, not reported.
bool IsReportedRelayCode(int code) {
  if (code < RelayRecordCode(kRelayStateCode, 1) || code >= kEndOfRelayCodes) return false;
  const int relay = (code - kRelayStateCode) / 10;
  const int command = code - 10 * relay;
  return command == kRelayTimeLapseCode || command == kRelayAlarmsCode;
}

}  // namespace

bool CanBeReadBack(int code) {
  switch (code) {
    case kStationIdCode:
    case kLoggingIntervalCode:
    case kSmsUploadCode:
    case kAlarmPhone1Code:
    case kAlarmPhone2Code:
    case kDigitalChannelCode:
      return true;
    default:
      break;
  }
  for (int ad = 0; ad <= kLastAdNumber; ++ad) {
    if (RecordCode(ad) == code) return true;
  }
  return IsReportedRelayCode(code);
}

}  // namespace vexa
