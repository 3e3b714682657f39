#pragma once

#include <string>
#include <string_view>

#include "settings/analog_records.h"

namespace vexa {

inline constexpr std::string_view kCalibrationErrorMessage =
    "Calibration Actual Humidity error.\nPlease check the Humidity hardware is connected "
    "correctly.";

// The humidity record written first, so that the logger reports its sensor's
// raw reading: upper 100.0 (the reading as it is), everything else 0, the
// alert band the whole scale.
inline const ChannelRecord kNeutralHumidityRecord = {"100.0", "0.000", "0.000",
                                                     "1",     "100.0", "0.000"};

// What the status reply of a calibration allows.
struct CalibrationResult {
  enum Outcome {
    kNoReading,  // the reply lacks "A02:"
    kFailed,     // the raw reading or the factor is out of bounds
    kFactor,     // the new upper limit is `factor`
  };
  Outcome outcome;
  std::string factor;
};

// Fits the humidity sensor's scale to one reference: the raw reading r (the
// status's "A02:") must satisfy 0 < r <= 170, and the factor actual x 100 / r,
// as a channel value, must not exceed 170.
CalibrationResult CalibrateHumidity(std::string_view actual_humidity, std::string_view status);

}  // namespace vexa
