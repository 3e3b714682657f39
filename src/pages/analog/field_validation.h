#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// The range a field must lie in before it is normalised, and how its message says so.
struct ValueRange {
  double low;
  double high;
  std::string_view text;  // "0-100", "-125 to 155"
};

inline constexpr ValueRange kHumidityRange = {0, 100, "0-100"};
inline constexpr ValueRange kTemperatureRange = {-125, 155, "-125 to 155"};

// How a passing value is checked against the other fields of its record.
enum class CrossCheck {
  kNone,
  kAlertHigh,        // a filled alert low that is not below it is emptied
  kAlertLowAtMost,   // alert low <= alert high (humidity sensor)
  kAlertLowBelow,    // alert low < alert high (temperature sensors)
  kUpperLimit,       // a filled lower limit that is not below it is emptied
  kLowerLimit,       // lower < upper
  kStartZero,        // lower <= start zero < upper
  kAnalogAlertHigh,  // lower < alert high <= upper, then as kAlertHigh
  kAnalogAlertLow,   // lower <= alert low < upper
};

// One validated edit: its name in messages ("Analog Channel Upper limit"),
// its range, if any, and its cross-check.
struct FieldRule {
  std::string name;
  std::optional<ValueRange> range;
  CrossCheck cross_check = CrossCheck::kNone;
};

// The texts of the other fields of the record; an empty one compares as 0.
struct RecordTexts {
  std::string_view upper;
  std::string_view lower;
  std::string_view alert_high;
  std::string_view alert_low;
};

// What leaving a field comes to.
struct FieldCheck {
  std::string message;             // for an error box; empty when the value passed
  std::string text;                // what the field holds afterwards
  bool empty_counterpart = false;  // the alert low (or lower limit) is emptied silently
};

// Checks `text` when the cursor leaves its field. An empty field is left alone;
// a failure empties it; a pass writes back the normalised value.
FieldCheck CheckField(const FieldRule& rule, std::string_view text, const RecordTexts& record);

}  // namespace vexa
