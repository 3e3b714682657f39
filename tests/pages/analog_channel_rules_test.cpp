#include <gtest/gtest.h>

#include <map>
#include <string>

#include "group2_reply.h"
#include "pages/analog/analog_records.h"
#include "pages/analog/channel_value.h"
#include "pages/analog/field_validation.h"
#include "pages/analog/group2_records.h"
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

TEST(AnalogRecordsTest, CommandsAndCodesFollowTheRecordLayout) {
  EXPECT_EQ(ChannelCommand("246802", 9, {"1.000", "0.000", "1.000", "2", "80.00", "-10.0"}),
            "246802#AD09:1.000,0.000,1.000,2,80.00,-10.0#");
  EXPECT_EQ(ChannelCommand("246802", 13, {"x", "y", "z", "2", "50.00", "-10.0"}),
            "246802#AD13:2,50.00,-10.0#");
  const std::pair<int, int> codes[] = {{0, 12002},  {1, 12006},  {3, 12008},
                                       {6, 12011},  {7, 12207},  {12, 12212},
                                       {13, 12003}, {14, 12004}, {15, -1}};
  for (const auto& [ad, code] : codes) EXPECT_EQ(RecordCode(ad), code) << ad;
  for (const auto& [code, index] :
       {std::pair{"0", 0}, {"2", 2}, {"3", -1}, {"", -1}, {"x", -1}, {"10", -1}}) {
    EXPECT_EQ(OperationModeIndex(code), index) << code;
  }
}

TEST(Group2RecordsTest, ReadsEveryRecordAndRecordsTheCommandsThatReproduceIt) {
  const std::map<int, ChannelRecord> records = ReadGroup2Records(testing::kGroup2Reply);
  ASSERT_EQ(records.size(), 15u);
  EXPECT_EQ(records.at(0), (ChannelRecord{"100.0", "0.000", "0.000", "1", "80.00", "20.00"}));
  EXPECT_EQ(records.at(13), (ChannelRecord{"", "", "", "2", "50.00", "-10.0"}));

  CommandBuffer buffer;
  RecordGroup2Commands(records, "111111", buffer);
  ASSERT_EQ(buffer.Count(), 15u);  // 12002 to 12004, 12006 to 12011, 12207 to 12212
  const std::pair<int, const char*> spot_checks[] = {
      {12002, "111111#AD00:100.0,0.000,0.000,1,80.00,20.00#"},
      {12004, "111111#AD14:1,60.00,0.000#"},
      {12006, "111111#AD01:20.00,4.000,4.000,1,18.00,6.000#"},
      {12011, "111111#AD06:5.000,0.000,0.000,0,4.000,1.000#"},
      {12207, "111111#AD07:1.000,0.000,1.000,1,40.00,-10.0#"},
      {12212, "111111#AD12:1.000,0.000,1.000,0,40.00,0.000#"},
  };
  for (const auto& [code, command] : spot_checks) EXPECT_EQ(buffer.Entries().at(code), command);
}

TEST(Group2RecordsTest, ARecordThatCannotBeReadIsLeftOut) {
  const std::map<int, ChannelRecord> records = ReadGroup2Records(
      "#STC2:000041;AD07:1.000,0.000,1.000,1,40.00,-10.0;AD08:1.000,0.000,1.000,1,40.00;"
      "AD13:2,50.00;AD14:1,60.00,0.000,9;AD15:1,2,3,4,5,6;AD20:1,2,3,4,5,6;AD02:1,2,3,4,5,6#");
  EXPECT_EQ(records.size(), 3u);  // AD07, AD15 and AD20; AD02 has no ";"
  EXPECT_TRUE(records.contains(7));
  CommandBuffer buffer;
  RecordGroup2Commands(records, "246802", buffer);
  EXPECT_EQ(buffer.Count(), 1u);  // only the records the page shows
  EXPECT_TRUE(ReadGroup2Records("").empty());
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
