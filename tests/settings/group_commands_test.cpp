#include "settings/group_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "settings/alarm_message.h"
#include "settings/read_back.h"
#include "settings/relay_settings.h"
#include "settings/setting.h"
#include "support/group2_reply.h"
#include "support/logger_replies.h"

namespace vexa {
namespace {

using Commands = std::map<int, std::string>;
using testing::kGroup1Reply;
using testing::kGroup2Reply;
using testing::kGroup3Reply;

TEST(GroupCommands, EachReplyRecordsWhatItsPagesRecordWithTheSetupPassword) {
  const RecordedCommands group1 = GroupCommands(1, kGroup1Reply, "111111", 2);
  EXPECT_EQ(group1.commands, (Commands{{11002, "111111#ST:000041#"},
                                       {11004, "111111#TM:2612091430#"},
                                       {11005, "111111#SA:3#"},
                                       {11007, "111111#CP:+491701234567!,2#"},
                                       {11009, "111111#AP1:+491709876543!#"},
                                       {14012, "111111#OT1:0010#"},
                                       {14022, "111111#OT2:0005#"}}));
  EXPECT_EQ(group1.dropped, std::vector<int>{11015});  // IA:1

  const Commands group2 = GroupCommands(2, kGroup2Reply, "111111", 2).commands;
  EXPECT_EQ(group2.size(), 16u);  // fifteen AD records and the digital modes
  EXPECT_EQ(group2.at(12002), "111111#AD00:100.0,0.000,0.000,1,80.00,20.00#");
  EXPECT_EQ(group2.at(12209), "111111#AD09:1.000,0.000,1.000,2,80.00,-10.0#");
  EXPECT_EQ(group2.at(12003), "111111#AD13:2,50.00,-10.0#");
  EXPECT_EQ(group2.at(13001), "111111#PA:023400#");

  EXPECT_EQ(GroupCommands(3, kGroup3Reply, "111111", 2).commands,
            (Commands{{14013, "111111#OC1:10000000000000000001000000#"},
                      {14023, "111111#OC2:00000000000000000000000000#"}}));
}

TEST(GroupCommands, RelayRecordsFollowTheRelayCountOfTheFirstStatus) {
  const auto relay_codes = [](int group, const char* reply, int relays) {
    std::vector<int> codes;
    for (const auto& [code, command] : GroupCommands(group, reply, "246802", relays).commands) {
      if (code > 14000 && code < 15000) codes.push_back(code);
    }
    return codes;
  };
  EXPECT_TRUE(relay_codes(1, kGroup1Reply, 0).empty());
  EXPECT_EQ(relay_codes(1, kGroup1Reply, 1), std::vector<int>{14012});
  EXPECT_EQ(relay_codes(1, kGroup1Reply, 3), (std::vector<int>{14012, 14022}));  // no OUT3
  EXPECT_EQ(relay_codes(3, kGroup3Reply, 1), std::vector<int>{14013});
}

TEST(GroupCommands, NothingForAnEmptyReplyOrAnotherGroup) {
  for (int group : {0, 1, 2, 3, 4}) {
    EXPECT_EQ(GroupCommands(group, "", "246802", 2), RecordedCommands{}) << group;
  }
  EXPECT_EQ(GroupCommands(4, kGroup1Reply, "246802", 2), RecordedCommands{});
}

TEST(GroupCommands, StatusRecordsTheRelayStates) {
  EXPECT_EQ(RelayStateCommands(testing::kStatusReply, "246802").commands,
            (Commands{{14011, "246802#O1:1#"}, {14021, "246802#O2:0#"}}));
}

// What the groups record is what a read can verify, but for the moving clock.
TEST(ReadBack, EverySettingAGroupRecordsButTheClockReadsBack) {
  for (int group : {1, 2, 3}) {
    const char* reply = group == 1 ? kGroup1Reply : group == 2 ? kGroup2Reply : kGroup3Reply;
    for (const auto& [code, command] : GroupCommands(group, reply, "246802", 2).commands) {
      EXPECT_EQ(CanBeReadBack(code), code != 11004) << code << " " << command;
    }
  }
  for (int code : {0,     11003, 11004, 11008, 11014, 11015, 11019, 12000, 12001, 12005, 12012,
                   12206, 14001, 14002, 14003, 14011, 14021, 14991, 15001, 16001, 19000, 19019}) {
    EXPECT_FALSE(CanBeReadBack(code)) << code;
  }
  for (int code : {11010, 12006, 12011, 12212, 14992, 14993}) {
    EXPECT_TRUE(CanBeReadBack(code)) << code;
  }
}

TEST(AlarmTextCommands, ARepliedTextRecordsTheSetThatGivesItAsTheLoggerHoldsIt) {
  const AlarmRow& tank = *AlarmRowOf(13);
  EXPECT_EQ(AlarmTextCommands(tank, "1,TANK ALRM!", "246802").commands,
            (Commands{{19013, "246802#SMSSET13:1,10,TANK ALRM!#"}}));
  EXPECT_EQ(AlarmTextCommands(*AlarmRowOf(15), "0,POWER ALM!", "246802").commands,
            (Commands{{19015, "246802#SMSSET15:0#"}}));
  EXPECT_TRUE(AlarmTextCommands(tank, "Password is error!", "246802").commands.empty());
  EXPECT_TRUE(AlarmTextCommands(tank, "", "246802").commands.empty());
  EXPECT_EQ(AlarmRowOf(19)->subject, std::string("Digital Input Channel IN04"));
  EXPECT_EQ(AlarmRowOf(20), nullptr);
}

TEST(Setting, IsTheCommandWithoutItsPasswordAndWhatTheBatchListShows) {
  const Setting interval = SettingOf(11005, "246802#SA:3#");
  EXPECT_EQ(interval, (Setting{11005, "#SA:3#", "Data Logging Interval", "30 Minute"}));
  EXPECT_EQ(SettingOf(11005, "2468").command, "");
  const auto settings =
      SettingsOf({{0, ""}, {11005, "246802#SA:3#"}, {11002, "111111#ST:000041#"}});
  ASSERT_EQ(settings.size(), 2u);
  EXPECT_EQ(settings[0].code, 11002);
  EXPECT_EQ(settings[0].command, "#ST:000041#");
}

}  // namespace
}  // namespace vexa
