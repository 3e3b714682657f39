#include "pages/analog/humidity_calibration.h"

#include "pages/analog/channel_value.h"
#include "protocol/reply_field.h"

namespace vexa {
namespace {

constexpr double kLargestReading = 170;
constexpr double kLargestFactor = 170;

}  // namespace

CalibrationResult CalibrateHumidity(std::string_view actual_humidity, std::string_view status) {
  const ReplyFieldValue raw = ReplyField(status, "A02:");
  if (raw.position < 0) return {CalibrationResult::kNoReading, {}};
  const double reading = ChannelNumber(raw.value);
  if (!(reading > 0 && reading <= kLargestReading)) return {CalibrationResult::kFailed, {}};
  const std::string factor =
      NormalizeChannelValue(SixDecimals(ChannelNumber(actual_humidity) * 100 / reading));
  if (factor == kIllegalCharacters || factor == kTooManyDigits ||
      ChannelNumber(factor) > kLargestFactor) {
    return {CalibrationResult::kFailed, {}};
  }
  return {CalibrationResult::kFactor, factor};
}

}  // namespace vexa
