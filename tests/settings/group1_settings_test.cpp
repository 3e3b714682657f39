#include "settings/group1_settings.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

// Widget tests cover a full reply; these are the malformed and extreme ones.
TEST(Group1SettingsTest, UnclosedTruncatedAndMisplacedValues) {
  const Group1Settings s = ReadGroup1Settings("#STC1:0000;AP2:5;CP:+4917;PS:1,2;ER:0;AP1:0123");
  EXPECT_EQ(s.station_id, "0000;A");  // fixed widths take what is there
  EXPECT_EQ(s.alarm_phone2, "5");
  EXPECT_FALSE(s.alarm_phone1);  // no ";" after it
  EXPECT_FALSE(s.sms_upload);    // the "," after it belongs to PS
  EXPECT_TRUE(s.module_status->gsm_module_ok);
  EXPECT_FALSE(s.module_status->sim_card_ok);
  EXPECT_FALSE(s.signal_bar || s.date_time || s.ia_flag);
  EXPECT_EQ(ReadGroup1Settings("#STC1:").station_id, "");
  EXPECT_FALSE(ReadGroup1Settings("XH:15").signal_bar);

  const auto unclosed = ReadGroup1Settings("CP:0123,").sms_upload;
  ASSERT_TRUE(unclosed);
  EXPECT_EQ(unclosed->number, "0123");
  EXPECT_EQ(unclosed->interval_code, "");
}

TEST(Group1SettingsTest, SignalBarNeverLeavesItsRange) {
  EXPECT_EQ(SignalBarValue("1"), 3);
  EXPECT_EQ(SignalBarValue("30"), 100);
  EXPECT_EQ(SignalBarValue("x"), 0);
  EXPECT_EQ(SignalBarValue("-5"), 0);
  EXPECT_EQ(SignalBarValue("99999999999999999999999"), 100);
  EXPECT_EQ(SignalBarValue("-99999999999999999999999"), 0);
}

TEST(Group1SettingsTest, EmptyNumbersAreNotRecordedAndIaDropsOneEntry) {
  const RecordedCommands none =
      DeviceSetupCommands(ReadGroup1Settings("CP:,5;AP1:;AP2:;IA:2;"), "999999");
  EXPECT_TRUE(none.commands.empty());
  EXPECT_TRUE(none.dropped.empty());
  EXPECT_EQ(DeviceSetupCommands(ReadGroup1Settings("IA:0;"), "999999").dropped,
            std::vector<int>{11014});
  EXPECT_EQ(DeviceSetupCommands(ReadGroup1Settings("IA:1;"), "999999").dropped,
            std::vector<int>{11015});
}

}  // namespace
}  // namespace vexa
