#include "protocol/date_time_setting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vexa {
namespace {

using ::testing::Optional;

TEST(DateTimeSettingTest, ValueIsTheLocalTimeInTenDigits) {
  const char* zone = std::getenv("TZ");
  const std::string saved = zone ? zone : "";
  ::setenv("TZ", "CET-1", 1);
  ::tzset();
  // 2026-03-08 14:05:59 UTC, 15:05 in the zone.
  EXPECT_EQ(DateTimeSettingValue(1772978759), "2603081505");
  if (zone) {
    ::setenv("TZ", saved.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST(DateTimeSettingTest, OnlyADateTimeSettingTakesTheNewValue) {
  EXPECT_THAT(WithDateTimeValue("246802#TM:2001010101#", "2603081505"),
              Optional(std::string("246802#TM:2603081505#")));
  EXPECT_THAT(WithDateTimeValue("246802#TM:#", "2603081505"),
              Optional(std::string("246802#TM:2603081505#")));
  EXPECT_THAT(WithDateTimeValue("246802#TM:2001", "2603081505"),
              Optional(std::string("246802#TM:2603081505")));
  for (const char* other : {"246802#ST:000041#", "246802#SA:3#", "246802#SMSSET00:1,05,#TM:#",
                            "246802TM:2001010101", ""}) {
    EXPECT_EQ(WithDateTimeValue(other, "2603081505"), std::nullopt) << other;
  }
}

}  // namespace
}  // namespace vexa
