#include "settings/analog_records.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "settings/group2_records.h"
#include "support/group2_reply.h"

namespace vexa {
namespace {

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

  const auto commands = AnalogChannelCommands(records, "111111").commands;
  ASSERT_EQ(commands.size(), 15u);  // 12002 to 12004, 12006 to 12011, 12207 to 12212
  const std::pair<int, const char*> spot_checks[] = {
      {12002, "111111#AD00:100.0,0.000,0.000,1,80.00,20.00#"},
      {12004, "111111#AD14:1,60.00,0.000#"},
      {12006, "111111#AD01:20.00,4.000,4.000,1,18.00,6.000#"},
      {12011, "111111#AD06:5.000,0.000,0.000,0,4.000,1.000#"},
      {12207, "111111#AD07:1.000,0.000,1.000,1,40.00,-10.0#"},
      {12212, "111111#AD12:1.000,0.000,1.000,0,40.00,0.000#"},
  };
  for (const auto& [code, command] : spot_checks) EXPECT_EQ(commands.at(code), command);
}

TEST(Group2RecordsTest, ARecordThatCannotBeReadIsLeftOut) {
  const std::map<int, ChannelRecord> records = ReadGroup2Records(
      "#STC2:000041;AD07:1.000,0.000,1.000,1,40.00,-10.0;AD08:1.000,0.000,1.000,1,40.00;"
      "AD13:2,50.00;AD14:1,60.00,0.000,9;AD15:1,2,3,4,5,6;AD20:1,2,3,4,5,6;AD02:1,2,3,4,5,6#");
  EXPECT_EQ(records.size(), 3u);  // AD07, AD15 and AD20; AD02 has no ";"
  EXPECT_TRUE(records.contains(7));
  EXPECT_EQ(AnalogChannelCommands(records, "246802").commands.size(),
            1u);  // only the records the page shows
  EXPECT_TRUE(ReadGroup2Records("").empty());
}

TEST(AnalogRecordsTest, TemperatureSensorsThreeToEightGoOutWithTheFixedLimits) {
  const ChannelRecord entered{"9", "9", "9", "2", "80.00", "-10.0"};
  EXPECT_EQ(TemperatureSensorCommand("246802", kTemperatureSensors[4], entered),
            "246802#AD09:1.000,0.000,1.000,2,80.00,-10.0#");
  EXPECT_EQ(TemperatureSensorCommand("246802", kTemperatureSensors[0], entered),
            "246802#AD13:2,80.00,-10.0#");
}

}  // namespace
}  // namespace vexa
