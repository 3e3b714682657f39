#include "settings/settings_comparison.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vexa {
namespace {

// One code on each side ("" where that side has none) and how they compare.
struct Case {
  int code;
  std::string logger;
  std::string file;
  Agreement agreement;
};

std::map<int, std::string> Side(const Case& c, const std::string& command) {
  if (command.empty()) return {};
  return {{c.code, command}};
}

Agreement CompareOne(const Case& c, ComparisonOptions options = {}) {
  const auto result = CompareSettings(Side(c, c.logger), Side(c, c.file), options);
  EXPECT_EQ(result.size(), 1u);
  return result.empty() ? Agreement::kSame : result.front().agreement;
}

TEST(CompareSettings, ValuesCompareByFieldNumbersAsNumbers) {
  const Case cases[] = {
      {11005, "246802#SA:3#", "246802#SA:3#", Agreement::kSame},
      {11005, "246802#SA:3#", "111111#SA:3#", Agreement::kSame},  // passwords are not compared
      {11005, "246802#SA:3#", "246802#SA:4#", Agreement::kDiffers},
      {12207, "246802#AD07:1.000,0.000,1.000,1,40.00,-10.0#", "246802#AD07:1,0,1.0,1,40.0,-10.00#",
       Agreement::kSame},
      {12207, "246802#AD07:1.000,0.000,1.000,1,40.00,-10.0#",
       "246802#AD07:1.000,0.000,1.000,1,40.00,-10.5#", Agreement::kDiffers},
      {12207, "246802#AD07:1.000,0.000,1.000,1,40.00,-10.0#",
       "246802#AD07:1.000,0.000,1.000,1,40.00#", Agreement::kDiffers},
      {12207, "246802#AD07:1.000,0.000,1.000,1,40.00,-10.0#",
       "246802#AD07:1.000,0.000,1.000,1,40.00,x#", Agreement::kDiffers},
      {14012, "246802#OT1:0010#", "246802#OT1:10#", Agreement::kSame},
      {11007, "246802#CP:+491701234567!,2#", "246802#CP:+491701234567!,02#", Agreement::kSame},
      // Texts stay texts: a phone number, mode digits, source bits, a station ID.
      {11007, "246802#CP:+491701234567!,2#", "246802#CP:491701234567!,2#", Agreement::kDiffers},
      {11009, "246802#AP1:0049170!#", "246802#AP1:49170!#", Agreement::kDiffers},
      {13001, "246802#PA:0234#", "246802#PA:234#", Agreement::kDiffers},
      {14013, "246802#OC1:01000000000000000000000000#", "246802#OC1:1000000000000000000000000#",
       Agreement::kDiffers},
      {11002, "246802#ST:000041#", "246802#ST:41#", Agreement::kDiffers},
      {11002, "246802#ST:000041#", "246802#ST:000042#", Agreement::kDiffers},
      // One side only.
      {11009, "246802#AP1:+491709876543!#", "", Agreement::kOnlyOnLogger},
      {11009, "", "246802#AP1:+491709876543!#", Agreement::kOnlyInFile},
      {12008, "", "246802#AD03:10.00,0.000,0.000,2,9.000,1.000#", Agreement::kOnlyInFile},
      // An alarm phone switched off: the logger reports it empty, which records nothing.
      {11010, "", "246802#AP2:!#", Agreement::kSame},
      // What no read tells, whichever side holds it.
      {11004, "246802#TM:2612091430#", "246802#TM:2612091430#", Agreement::kCannotBeReadBack},
      {11004, "246802#TM:2612091430#", "", Agreement::kCannotBeReadBack},
      {11019, "", "tovel3#RESET#", Agreement::kCannotBeReadBack},
      {14021, "", "246802#O2:1#", Agreement::kCannotBeReadBack},
      {19013, "", "246802#SMSSET13:1,10,TANK ALRM!#", Agreement::kCannotBeReadBack},
      {11008, "", "246802#PL:5#", Agreement::kCannotBeReadBack},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareOne(c), c.agreement) << c.code << " " << c.logger << " / " << c.file;
  }
}

TEST(CompareSettings, AutoStationIdLetsEachLoggerHaveItsOwnId) {
  const Case id{11002, "246802#ST:000042#", "246802#ST:000041#", Agreement::kSame};
  EXPECT_EQ(CompareOne(id), Agreement::kDiffers);
  EXPECT_EQ(CompareOne(id, {.auto_station_id = true}), Agreement::kSame);
  const Case missing{11002, "", "246802#ST:000041#", Agreement::kOnlyInFile};
  EXPECT_EQ(CompareOne(missing, {.auto_station_id = true}), Agreement::kOnlyInFile);
}

TEST(CompareSettings, EveryCodeOnceInCodeOrderWithBothSettings) {
  const std::map<int, std::string> logger = {{11005, "246802#SA:3#"},
                                             {11009, "246802#AP1:+491709876543!#"},
                                             {12003, "246802#AD13:2,50.00,-10.0#"}};
  const std::map<int, std::string> file = {{0, ""},  // a record without attributes holds none
                                           {11005, "246802#SA:5#"},
                                           {11004, "246802#TM:2601311745#"},
                                           {12003, "246802#AD13:2,50.0,-10.00#"}};
  const auto result = CompareSettings(logger, file);
  ASSERT_EQ(result.size(), 4u);
  EXPECT_EQ(result[0].code, 11004);
  EXPECT_EQ(result[0].agreement, Agreement::kCannotBeReadBack);
  EXPECT_FALSE(result[0].logger);
  EXPECT_EQ(result[1].code, 11005);
  EXPECT_EQ(result[1].agreement, Agreement::kDiffers);
  ASSERT_TRUE(result[1].logger && result[1].file);
  EXPECT_EQ(result[1].logger->command, "#SA:3#");
  EXPECT_EQ(result[1].file->command, "#SA:5#");
  EXPECT_EQ(result[1].logger->parameters, "30 Minute");
  EXPECT_EQ(result[1].file->parameters, "01 Minute");
  EXPECT_EQ(result[2].code, 11009);
  EXPECT_EQ(result[2].agreement, Agreement::kOnlyOnLogger);
  EXPECT_FALSE(result[2].file);
  EXPECT_EQ(result[3].agreement, Agreement::kSame);
  EXPECT_TRUE(CompareSettings({}, {}).empty());
}

}  // namespace
}  // namespace vexa
