#include <gtest/gtest.h>

#include <map>
#include <string>

#include "pages/analog/channel_value.h"
#include "pages/analog/field_validation.h"
#include "pages/analog/humidity_calibration.h"
#include "pages/analog/missing_value.h"

namespace vexa {
namespace {

TEST(NormalizeChannelValueTest, GivesFiveCharactersOrTheCodeOfTheFailure) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "E"},
      {"0", "0.000"},
      {"100", "100.0"},
      {"12.5", "12.50"},
      {"-12.5", "-12.5"},
      {"-0.5", "-0.50"},
      {"1234.5", "01234"},  // a cut on the point keeps the whole part, padded
      {"-123.4", "-0123"},
      {"-125", "-0125"},
      {"12345", "12345"},
      {"99999", "99999"},
      {"9999.99999999", "10000"},  // six decimals round first
      {"-9999.9", "-9999"},
      {".5", "0.500"},
      {"5.", "5.000"},
      {"007", "7.000"},
      {"0.0001", "0.000"},
      {"-", "0.000"},
      {"1.2.3", "F"},
      {"1-2", "F"},
      {"--1", "F"},
      {"1e5", "F"},
      {"+5", "F"},
      {" 5", "F"},
      {"12,5", "F"},
      {"123456", "B"},
      {"99999.5", "B"},
      {"-100000", "B"},
      // Five characters cannot hold a whole part below -9999 without losing a digit.
      {"-10000", "B"},
      {"-99999", "B"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(NormalizeChannelValue(text), expected) << '"' << text << '"';
  }
}

TEST(ChannelNumberTest, ReadsAsFarAsANumberGoes) {
  EXPECT_EQ(ChannelNumber(""), 0);
  EXPECT_EQ(ChannelNumber("abc"), 0);
  EXPECT_EQ(ChannelNumber("1.2.3"), 1.2);
  EXPECT_EQ(ChannelNumber("-0123"), -123);
  EXPECT_EQ(ChannelNumber(" +5x"), 5);
  EXPECT_EQ(SixDecimals(93.1677018633), "93.167702");
}

struct FieldCase {
  FieldRule rule;
  const char* text;
  RecordTexts record;
  const char* message;
  const char* shown;
  bool empties_counterpart;
};

TEST(CheckFieldTest, RangeThenNormalisationThenCrossCheck) {
  const FieldRule actual{"Humidity", kHumidityRange, CrossCheck::kNone};
  const FieldRule humidity_high{"Humidity Sensor Alert High", kHumidityRange,
                                CrossCheck::kAlertHigh};
  const FieldRule humidity_low{"Humidity Sensor Alert Low", kHumidityRange,
                               CrossCheck::kAlertLowAtMost};
  const FieldRule sensor1_high{"Temperature Sensor_1 Alert High", kTemperatureRange,
                               CrossCheck::kAlertHigh};
  const FieldRule sensor4_low{"Temperature Sensor_4 Alert Low", kTemperatureRange,
                              CrossCheck::kAlertLowBelow};
  const FieldRule upper{"Analog Channel Upper limit", {}, CrossCheck::kUpperLimit};
  const FieldRule lower{"Analog Channel Lower limit", {}, CrossCheck::kLowerLimit};
  const FieldRule start_zero{"Analog Channel Start Zero", {}, CrossCheck::kStartZero};
  const FieldRule alert_high{"Analog Channel Alert High", {}, CrossCheck::kAnalogAlertHigh};
  const FieldRule alert_low{"Analog Channel Alert Low", {}, CrossCheck::kAnalogAlertLow};
  const RecordTexts none{};
  const RecordTexts zero_to_ten{"10.00", "0.000", "", ""};

  const FieldCase cases[] = {
      {actual, "", none, "", "", false},
      {actual, "45", none, "", "45.00", false},
      {actual, "100", none, "", "100.0", false},
      {actual, "101", none, "Humidity is Range 0-100!", "", false},
      {actual, "-1", none, "Humidity is Range 0-100!", "", false},
      {actual, "1.2.3", none, "Humidity is Illegal characters!", "", false},
      {actual, "abc", none, "Humidity is Illegal characters!", "", false},
      {humidity_high, "100.5", none, "Humidity Sensor Alert High is Range 0-100!", "", false},
      {humidity_high, "40", {"", "", "", "60"}, "", "40.00", true},
      {humidity_high, "60", {"", "", "", "60"}, "", "60.00", true},
      {humidity_high, "61", {"", "", "", "60"}, "", "61.00", false},
      {humidity_high, "40", none, "", "40.00", false},
      {humidity_low, "60", {"", "", "60.00", ""}, "", "60.00", false},  // equal passes
      {humidity_low, "61", {"", "", "60.00", ""}, "Humidity Sensor Alert Low is error!", "", false},
      {humidity_low, "5", none, "Humidity Sensor Alert Low is error!", "", false},
      {sensor1_high, "155", none, "", "155.0", false},
      {sensor1_high, "-125", none, "", "-0125", false},
      {sensor1_high, "156", none, "Temperature Sensor_1 Alert High is Range -125 to 155!", "",
       false},
      {sensor1_high, "123456", none, "Temperature Sensor_1 Alert High is Range -125 to 155!", "",
       false},
      {sensor1_high, "1-2", none, "Temperature Sensor_1 Alert High is Illegal characters!", "",
       false},
      {sensor4_low, "-10", {"", "", "80.00", ""}, "", "-10.0", false},
      {sensor4_low,
       "80",
       {"", "", "80.00", ""},
       "Temperature Sensor_4 Alert Low is error!\n",
       "",
       false},
      {upper, "1234.5", none, "", "01234", false},
      {upper, "123456", none, "Analog Channel Upper limit is Five digits!", "", false},
      {upper, "1.2.3", none, "Analog Channel Upper limit is Illegal characters!", "", false},
      {upper, "10", {"", "20.00", "", ""}, "", "10.00", true},
      {upper, "10", {"", "10.00", "", ""}, "", "10.00", true},
      {upper, "10", {"", "9.000", "", ""}, "", "10.00", false},
      {upper, "-1", none, "", "-1.00", false},  // an empty lower limit is not emptied
      {lower, "5", zero_to_ten, "", "5.000", false},
      {lower, "10", zero_to_ten, "Analog Channel Lower limit is error!", "", false},
      {start_zero, "0", zero_to_ten, "", "0.000", false},
      {start_zero, "-0.5", zero_to_ten, "Analog Channel Start Zero is error!", "", false},
      {start_zero, "10", zero_to_ten, "Analog Channel Start Zero is error!", "", false},
      {alert_high, "0", zero_to_ten, "Analog Channel Alert High is error!", "", false},
      {alert_high, "10", zero_to_ten, "", "10.00", false},
      {alert_high, "11", zero_to_ten, "Analog Channel Alert High is error!", "", false},
      {alert_high, "5", {"10.00", "0.000", "", "9.000"}, "", "5.000", true},
      {alert_low, "0", zero_to_ten, "", "0.000", false},
      {alert_low, "10", zero_to_ten, "Analog Channel Alert Low is error!", "", false},
  };
  for (const FieldCase& c : cases) {
    const FieldCheck check = CheckField(c.rule, c.text, c.record);
    const std::string what = c.rule.name + " \"" + c.text + "\"";
    EXPECT_EQ(check.message, c.message) << what;
    EXPECT_EQ(check.text, c.shown) << what;
    EXPECT_EQ(check.empty_counterpart, c.empties_counterpart) << what;
  }
}

TEST(MissingValueMessageTest, NamesTheFirstEmptyPartInOrder) {
  const ChannelRecord full{"10.00", "0.000", "0.000", "1", "9.000", "1.000"};
  EXPECT_EQ(MissingValueMessage(kAnalogChannelName, full, EnteredParts::kWithLimits), std::nullopt);
  const std::pair<std::string ChannelRecord::*, const char*> analog[] = {
      {&ChannelRecord::mode, "Please select Analog Channel Alarm Type!"},
      {&ChannelRecord::lower, "Analog Channel Lower limit is empty"},
      {&ChannelRecord::upper, "Analog Channel Upper limit is empty"},
      {&ChannelRecord::start_zero, "Analog ChannelStart Zero is empty"},
      {&ChannelRecord::alert_high, "Analog Channel Alert High is empty"},
      {&ChannelRecord::alert_low, "Analog Channel Alert Low is empty"},
  };
  for (const auto& [part, message] : analog) {
    ChannelRecord entry = full;
    entry.*part = "";
    EXPECT_EQ(MissingValueMessage(kAnalogChannelName, entry, EnteredParts::kWithLimits), message);
  }
  EXPECT_EQ(MissingValueMessage(kAnalogChannelName, {}, EnteredParts::kWithLimits),
            "Please select Analog Channel Alarm Type!");

  ChannelRecord humidity = full;
  humidity.start_zero = "";
  EXPECT_EQ(MissingValueMessage(kHumiditySensorName, humidity, EnteredParts::kWithLimits),
            "Humidity Sensor Start Zero is empty");
  const ChannelRecord alerts_only{"", "", "", "2", "", "1.000"};
  EXPECT_EQ(MissingValueMessage("Temperature Sensor_2", alerts_only, EnteredParts::kAlertsOnly),
            "Temperature Sensor_2 Alert High is empty");
  EXPECT_EQ(MissingValueMessage("Temperature Sensor_5", {"", "", "", "", "1", "2"},
                                EnteredParts::kAlertsOnly),
            "Please select Temperature Sensor_5 Alarm Type!");
}

TEST(CalibrateHumidityTest, AcceptsOnlyReadingsAndFactorsWithinTheScale) {
  struct Case {
    const char* actual;
    const char* status;
    CalibrationResult::Outcome outcome;
    const char* factor;
  };
  const Case cases[] = {
      {"45.00", "#STA:000041,T;A00:45.20;A02:48.30;A07:21.10;#", CalibrationResult::kFactor,
       "93.16"},
      {"50.00", "A02:170.0;", CalibrationResult::kFactor, "29.41"},
      {"85.00", "A02:50.00;", CalibrationResult::kFactor, "170.0"},
      {"90.00", "A02:50.00;", CalibrationResult::kFailed, ""},  // factor 180
      {"50.00", "A02:170.1;", CalibrationResult::kFailed, ""},
      {"50.00", "A02:0.00;", CalibrationResult::kFailed, ""},
      {"50.00", "A02:-4.00;", CalibrationResult::kFailed, ""},
      {"50.00", "A02:abc;", CalibrationResult::kFailed, ""},
      {"50.00", "A02:;", CalibrationResult::kFailed, ""},
      {"50.00", "A02:48.30", CalibrationResult::kFailed, ""},   // no ";": no value
      {"100.0", "A02:0.001;", CalibrationResult::kFailed, ""},  // too many digits
      {"50.00", "#STA:000041,T;A00:45.20;#", CalibrationResult::kNoReading, ""},
      {"50.00", "Password is error!", CalibrationResult::kNoReading, ""},
  };
  for (const Case& c : cases) {
    const CalibrationResult result = CalibrateHumidity(c.actual, c.status);
    EXPECT_EQ(result.outcome, c.outcome) << c.actual << " " << c.status;
    EXPECT_EQ(result.factor, c.factor) << c.actual << " " << c.status;
  }
}

}  // namespace
}  // namespace vexa
