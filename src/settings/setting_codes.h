#pragma once

namespace vexa {

// Codes under which the Device Setup and Analog Channel pages send and record
// their setup commands. The relay, digital channel and alarm text codes live
// with their rules (relay_settings.h, operation_modes.h, alarm_rows.h).

// Device Setup page.
inline constexpr int kStationIdCode = 11002;
inline constexpr int kPasswordsCode = 11003;
inline constexpr int kDateTimeCode = 11004;
inline constexpr int kLoggingIntervalCode = 11005;
inline constexpr int kSmsUploadCode = 11007;
inline constexpr int kAlarmPhone1Code = 11009;
inline constexpr int kAlarmPhone2Code = 11010;
inline constexpr int kResetCode = 11019;

// Analog Channel page.
inline constexpr int kHumiditySensorCode = 12002;
inline constexpr int kAnalogChannelCode = 12005;  // recorded under 12005 + channel number

}  // namespace vexa
