#include "pages/device_setup/group1_settings.h"

#include <gtest/gtest.h>

#include "pages/device_setup/interval_codes.h"

namespace vexa {
namespace {

constexpr char kSampleReply[] =
    "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;AP1:+491709876543;"
    "AP2:;ER:00;IA:1;XH:21;OUT1:0010;OUT2:0005;#";

TEST(Group1SettingsTest, ReadsEveryKeyOfAFullReply) {
  const Group1Settings s = ReadGroup1Settings(kSampleReply);
  EXPECT_EQ(s.station_id, "000041");
  EXPECT_EQ(s.date_time, "2612091430");
  EXPECT_EQ(s.enquiry_password, "135791");
  EXPECT_EQ(s.setup_password, "246802");
  EXPECT_EQ(s.logging_interval_code, "3");
  ASSERT_TRUE(s.sms_upload);
  EXPECT_EQ(s.sms_upload->number, "+491701234567");
  EXPECT_EQ(s.sms_upload->interval_code, "2");
  EXPECT_EQ(s.alarm_phone1, "+491709876543");
  EXPECT_EQ(s.alarm_phone2, "");
  ASSERT_TRUE(s.module_status);
  EXPECT_TRUE(s.module_status->gsm_module_ok);
  EXPECT_TRUE(s.module_status->sim_card_ok);
  EXPECT_EQ(s.ia_flag, "1");
  EXPECT_EQ(s.signal_bar, 70);
}

TEST(Group1SettingsTest, MissingKeysAndUnclosedValuesStayUnset) {
  const Group1Settings none = ReadGroup1Settings("#STC2:000041;#");
  EXPECT_FALSE(none.station_id || none.date_time || none.enquiry_password ||
               none.logging_interval_code || none.sms_upload || none.alarm_phone1 ||
               none.alarm_phone2 || none.module_status || none.ia_flag || none.signal_bar);

  // Values that run up to a ";" are ignored without one.
  const Group1Settings unclosed = ReadGroup1Settings("#STC1:1;AP2:5;AP1:0123");
  EXPECT_FALSE(unclosed.alarm_phone1);
  EXPECT_EQ(unclosed.alarm_phone2, "5");
  EXPECT_FALSE(ReadGroup1Settings("XH:15").signal_bar);

  // A truncated reply gives what is there of the fixed-width values.
  const Group1Settings cut = ReadGroup1Settings("#STC1:0000");
  EXPECT_EQ(cut.station_id, "0000");
  EXPECT_EQ(ReadGroup1Settings("PS:135").setup_password, "");
  const Group1Settings er = ReadGroup1Settings("ER:0");
  EXPECT_TRUE(er.module_status->gsm_module_ok);
  EXPECT_FALSE(er.module_status->sim_card_ok);
}

TEST(Group1SettingsTest, ControlCentreNumberNeedsACommaInsideItsField) {
  EXPECT_FALSE(ReadGroup1Settings("CP:+4917;").sms_upload);
  // A comma of a later field is not the end of the number.
  EXPECT_FALSE(ReadGroup1Settings("CP:+4917;PS:135791,246802;").sms_upload);
  const auto empty_number = ReadGroup1Settings("CP:,5;").sms_upload;
  ASSERT_TRUE(empty_number);
  EXPECT_EQ(empty_number->number, "");
  EXPECT_EQ(empty_number->interval_code, "5");
  const auto unclosed = ReadGroup1Settings("CP:0123,").sms_upload;
  ASSERT_TRUE(unclosed);
  EXPECT_EQ(unclosed->number, "0123");
  EXPECT_EQ(unclosed->interval_code, "");
}

TEST(Group1SettingsTest, SignalBarScalesQualityToAtMostFull) {
  EXPECT_EQ(SignalBarValue("15"), 50);
  EXPECT_EQ(SignalBarValue("1"), 3);
  EXPECT_EQ(SignalBarValue("30"), 100);
  EXPECT_EQ(SignalBarValue("31"), 100);
  EXPECT_EQ(SignalBarValue("98"), 100);
  EXPECT_EQ(SignalBarValue("99"), 0);
  EXPECT_EQ(SignalBarValue("0"), 0);
  EXPECT_EQ(SignalBarValue(""), 0);
  EXPECT_EQ(SignalBarValue("x"), 0);
  EXPECT_EQ(SignalBarValue("-5"), 0);
  EXPECT_EQ(SignalBarValue("99999999999999999999999"), 100);
  EXPECT_EQ(SignalBarValue("-99999999999999999999999"), 0);
}

TEST(Group1SettingsTest, RecordsTheReadSettingsWithTheGivenPassword) {
  CommandBuffer buffer;
  buffer.RecordCommand(11010, "old");
  buffer.RecordCommand(11014, "kept");
  buffer.RecordCommand(11015, "dropped");
  RecordGroup1Commands(ReadGroup1Settings(kSampleReply), "999999", buffer);
  const std::map<int, std::string> expected = {{11002, "999999#ST:000041#"},
                                               {11004, "999999#TM:2612091430#"},
                                               {11005, "999999#SA:3#"},
                                               {11007, "999999#CP:+491701234567!,2#"},
                                               {11009, "999999#AP1:+491709876543!#"},
                                               {11010, "old"},  // an empty AP2 is not recorded
                                               {11014, "kept"}};
  EXPECT_EQ(buffer.Entries(), expected);

  RecordGroup1Commands(ReadGroup1Settings("CP:,1;IA:0;"), "999999", buffer);
  EXPECT_EQ(buffer.Entries().count(11014), 0u);
  EXPECT_EQ(buffer.Entries().at(11007), "999999#CP:+491701234567!,2#");
  buffer.RecordCommand(11014, "again");
  RecordGroup1Commands(ReadGroup1Settings("IA:2;"), "999999", buffer);
  EXPECT_EQ(buffer.Entries().count(11014), 1u);
}

TEST(IntervalCodesTest, ItemsAndCodesMapBothWays) {
  const char* logging_codes[] = {"0", "5", "1", "2", "3", "4"};
  for (std::size_t i = 0; i < kLoggingIntervalItems.size(); ++i) {
    const std::string code = LoggingIntervalCode(kLoggingIntervalItems[i]);
    EXPECT_EQ(code, logging_codes[i]) << kLoggingIntervalItems[i];
    EXPECT_EQ(LoggingIntervalItem(code), static_cast<int>(i)) << code;
  }
  for (std::size_t i = 0; i < kSmsUploadIntervalItems.size(); ++i) {
    const std::string code = SmsUploadIntervalCode(kSmsUploadIntervalItems[i]);
    EXPECT_EQ(code, std::to_string(i)) << kSmsUploadIntervalItems[i];
    EXPECT_EQ(SmsUploadIntervalItem(code), static_cast<int>(i));
  }
  EXPECT_EQ(LoggingIntervalCode("02 Hour"), "");
  EXPECT_EQ(SmsUploadIntervalCode("60 Minute"), "");
  EXPECT_EQ(SmsUploadIntervalCode("00 anything"), "0");
}

TEST(IntervalCodesTest, ReplyCodesOutsideTheListSelectNothingOrTheFirstItem) {
  for (const char* code : {"6", "7", "8", "9"}) EXPECT_EQ(LoggingIntervalItem(code), -1) << code;
  for (const char* code : {"0", "", "x", "#"}) EXPECT_EQ(LoggingIntervalItem(code), 0) << code;
  EXPECT_EQ(SmsUploadIntervalItem(""), 0);
  EXPECT_EQ(SmsUploadIntervalItem("#"), 0);
}

}  // namespace
}  // namespace vexa
