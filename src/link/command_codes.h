#pragma once

namespace vexa {

// Codes of the commands whose replies the exchange handles beyond a plain set
// result; the sender and the reply router both use these names. The codes of
// the setup commands are the settings' (settings/setting_codes.h).

// Main window.
inline constexpr int kSelectStatusCode = 10000;  // first status query on selecting a device
inline constexpr int kInfoCode = 10001;          // version, modem test and modem version
inline constexpr int kGroup1Code = 10002;        // "#1"; "#2" and "#3" follow
inline constexpr int kStatusCode = 10005;
inline constexpr int kInitCode = 10006;
inline constexpr int kInitSecondStepCode = 10008;

// Analog Channel page.
inline constexpr int kCalibrationWriteCode = 12000;  // humidity record of a calibration
inline constexpr int kCalibrationQueryCode = 12001;  // its status query

// Data Record page: stored records; stays pending for records that come later.
inline constexpr int kDataRecordCode = 15001;

// Batch page: one row of a batch.
inline constexpr int kBatchStepCode = 16001;

}  // namespace vexa
