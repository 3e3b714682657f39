#include "batch/apply_plan.h"

#include <gmock/gmock.h>

#include "protocol/date_time_setting.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A file saved on logger 000041 with the passwords of another logger.
const std::map<int, std::string> kFile = {
    {0, ""},  // an unchecked row of the file
    {11002, "111111#ST:000041#"},
    {11004, "111111#TM:0901010000#"},
    {11005, "111111#SA:1#"},
    {11008, "111111#PL:2#"},
};

std::vector<std::string> Commands(const ApplyPlan& plan) {
  std::vector<std::string> commands;
  for (const BatchRow& row : plan.rows) commands.push_back(row.command);
  return commands;
}

TEST(PlanApply, TheSafeDefaultsLeaveOutTheStationIdAndTheStaleTime) {
  const ApplyPlan plan = PlanApply(kFile, "246802", {}, 0);
  EXPECT_THAT(Commands(plan), ElementsAre("246802#SA:1#", "246802#PL:2#"));
  for (const BatchRow& row : plan.rows) EXPECT_EQ(row.status, "Ready");
  ASSERT_EQ(plan.left_out.size(), 2u);
  EXPECT_EQ(plan.left_out[0].code, 11002);
  EXPECT_EQ(plan.left_out[0].object, "Station ID");
  EXPECT_EQ(plan.left_out[0].parameters, "000041");
  EXPECT_EQ(LeftOutText(plan.left_out[0].reason),
            "a file does not rename the logger it is applied to");
  EXPECT_EQ(plan.left_out[1].code, 11004);
  EXPECT_EQ(LeftOutText(plan.left_out[1].reason), "a file's date and time are out of date");
}

TEST(PlanApply, StationIdAndTimeGoOutOnlyWhenAsked) {
  const std::time_t now = 1'800'000'000;
  const std::string time = "246802#TM:" + DateTimeSettingValue(now) + "#";
  const struct {
    ApplyOptions options;
    std::vector<std::string> commands;
  } cases[] = {
      {{.with_station_id = true}, {"246802#ST:000041#", "246802#SA:1#", "246802#PL:2#"}},
      {{.auto_station_id = true}, {"246802#ST:000042#", "246802#SA:1#", "246802#PL:2#"}},
      {{.auto_station_id = true, .with_station_id = true},
       {"246802#ST:000042#", "246802#SA:1#", "246802#PL:2#"}},
      {{.with_time = true}, {time, "246802#SA:1#", "246802#PL:2#"}},
  };
  for (const auto& c : cases) {
    const ApplyPlan plan = PlanApply(kFile, "246802", c.options, now);
    EXPECT_THAT(Commands(plan), ElementsAreArray(c.commands));
    EXPECT_EQ(plan.left_out.size(), 1u);
  }
  const ApplyPlan counted = PlanApply(kFile, "246802", {.auto_station_id = true}, now);
  EXPECT_EQ(counted.rows[0].parameters, "000042");
  const ApplyPlan everything =
      PlanApply(kFile, "246802", {.with_station_id = true, .with_time = true}, now);
  EXPECT_THAT(everything.left_out, IsEmpty());
  EXPECT_EQ(everything.rows[1].parameters, DateTimeSettingValue(now));
}

}  // namespace
}  // namespace vexa
