#include "pages/analog/field_validation.h"

#include "pages/analog/channel_value.h"

namespace vexa {
namespace {

FieldCheck Fail(const FieldRule& rule, std::string_view words) {
  return {rule.name + " is " + std::string(words), {}, false};
}

// Whether `value` agrees with the rest of its record; sets `empty_counterpart`
// for the checks that empty a field instead of failing.
bool CrossCheckPasses(CrossCheck check, double value, const RecordTexts& record,
                      bool& empty_counterpart) {
  const double upper = ChannelNumber(record.upper);
  const double lower = ChannelNumber(record.lower);
  const double alert_high = ChannelNumber(record.alert_high);
  const double alert_low = ChannelNumber(record.alert_low);
  switch (check) {
    case CrossCheck::kNone:
      return true;
    case CrossCheck::kAlertHigh:
      empty_counterpart = !record.alert_low.empty() && value <= alert_low;
      return true;
    case CrossCheck::kAlertLowAtMost:
      return value <= alert_high;
    case CrossCheck::kAlertLowBelow:
      return value < alert_high;
    case CrossCheck::kUpperLimit:
      empty_counterpart = !record.lower.empty() && value <= lower;
      return true;
    case CrossCheck::kLowerLimit:
      return value < upper;
    case CrossCheck::kStartZero:
    case CrossCheck::kAnalogAlertLow:
      return lower <= value && value < upper;
    case CrossCheck::kAnalogAlertHigh:
      if (!(lower < value && value <= upper)) return false;
      empty_counterpart = !record.alert_low.empty() && value <= alert_low;
      return true;
  }
  return true;
}

}  // namespace

FieldCheck CheckField(const FieldRule& rule, std::string_view text, const RecordTexts& record) {
  if (text.empty()) return {};
  if (rule.range) {
    const double value = ChannelNumber(text);
    if (value < rule.range->low || value > rule.range->high) {
      return Fail(rule, "Range " + std::string(rule.range->text) + "!");
    }
  }
  const std::string normalized = NormalizeChannelValue(text);
  if (normalized == kIllegalCharacters) return Fail(rule, "Illegal characters!");
  if (normalized == kTooManyDigits) return Fail(rule, "Five digits!");
  FieldCheck check{{}, normalized, false};
  if (!CrossCheckPasses(rule.cross_check, ChannelNumber(normalized), record,
                        check.empty_counterpart)) {
    // The temperature sensors' message ends with a line break.
    return Fail(rule, rule.cross_check == CrossCheck::kAlertLowBelow ? "error!\n" : "error!");
  }
  return check;
}

}  // namespace vexa
