#include "sim/simulated_logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/reply_rules.h"

namespace vexa::sim {
namespace {

using testing::FieldValue;
using namespace std::chrono_literals;

LoggerTime At(int year, unsigned month, unsigned day, int hour, int minute, int second = 0) {
  return std::chrono::sys_days{std::chrono::year{year} / month / day} + std::chrono::hours{hour} +
         std::chrono::minutes{minute} + std::chrono::seconds{second};
}

const LoggerIdentity kIdentity{"000041", "+491701000041", "135791", "246802"};

class SimulatedLoggerTest : public ::testing::Test {
 protected:
  LoggerTime now_ = At(2026, 12, 9, 14, 30, 5);
  SimulatedLogger logger_{kIdentity, [this] { return now_; }};

  std::string Read(const std::string& key) { return logger_.Handle("135791#" + key + "#"); }
  std::string Set(const std::string& payload) { return logger_.Handle("246802#" + payload + "#"); }
};

TEST_F(SimulatedLoggerTest, ParameterGroupsHaveTheDocumentedLayout) {
  EXPECT_EQ(Read("CHEACK1"),
            "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;"
            "AP1:+491709876543;AP2:;ER:00;IA:1;XH:21;OUT1:0010;OUT2:0005;#");
  EXPECT_EQ(Read("CHEACK2"),
            "#STC2:000041;AD00:100.0,0.000,0.000,1,80.00,20.00;AD01:20.00,4.000,4.000,1,18.00,"
            "6.000;AD02:20.00,4.000,4.000,0,18.00,6.000;AD03:10.00,0.000,0.000,2,9.000,1.000;"
            "AD04:10.00,0.000,0.000,0,9.000,1.000;AD05:5.000,0.000,0.000,0,4.000,1.000;AD06:5.000,"
            "0.000,0.000,0,4.000,1.000;AD07:1.000,0.000,1.000,1,40.00,-10.0;AD08:1.000,0.000,1.000,"
            "1,40.00,-10.0;AD09:1.000,0.000,1.000,2,80.00,-10.0;AD10:1.000,0.000,1.000,0,40.00,"
            "0.000;AD11:1.000,0.000,1.000,0,40.00,0.000;AD12:1.000,0.000,1.000,0,40.00,0.000;AD13:"
            "2,50.00,-10.0;AD14:1,60.00,0.000;PA:023400;#");
  EXPECT_EQ(Read("CHEACK3"),
            "#STC3:000041;COUT1:10000000000000000001000000;COUT2:00000000000000000000000000;#");
}

TEST_F(SimulatedLoggerTest, StatusCarriesWhatThePagesRead) {
  const std::string status = Read("STATUS");
  EXPECT_TRUE(status.starts_with("#STA:000041,T;TM:261209143005;")) << status;
  EXPECT_EQ(status.back(), '#');
  EXPECT_EQ(FieldValue(status, "STA:"), "000041,T");
  EXPECT_EQ(FieldValue(status, "K01:"), "100000000001000");  // 15 digital inputs
  EXPECT_EQ(FieldValue(status, ";O01:"), "10");              // two relays, the first on
  EXPECT_EQ(FieldValue(status, "P21:"), "0.000");
  for (const char* key :
       {"A00:", "A02:", "A07:", "A08:", "A09:", "A10:", "A11:", "A12:", "A13:", "A14:"}) {
    const std::string value = FieldValue(status, key);
    EXPECT_EQ(value.size(), 5u) << key << " in " << status;  // "45.20"
  }
  // Uncalibrated, the shown humidity is the raw reading.
  EXPECT_EQ(FieldValue(status, "A00:"), FieldValue(status, "A02:"));
  // The readings are a function of the logger's time alone.
  EXPECT_EQ(Read("STATUS"), status);
}

TEST_F(SimulatedLoggerTest, VersionAndAlarmTexts) {
  const std::string version = logger_.Handle("135791#CHECKVR%");
  EXPECT_EQ(version, "Vexa-T V2.13 Build 260105");
  for (const char* key : {"STA", "STB", "STC", "STD"}) EXPECT_EQ(version.find(key), version.npos);
  EXPECT_EQ(Read("SMS:13"), "1,TANK ALRM!");
  EXPECT_EQ(Read("SMS:15"), "1,POWER ALM!");
  EXPECT_EQ(Read("SMS:16"), "1,DOOR ALM!");
  EXPECT_EQ(Read("SMS:01"), "0,");
  EXPECT_EQ(logger_.Handle("246802#SMS:19#"), "0,");  // the setup password may read too
}

TEST_F(SimulatedLoggerTest, SetCommandsShowInLaterReads) {
  struct Case {
    std::string set, read, key, expected;
  };
  const Case cases[] = {
      {"SA:5", "CHEACK1", "SA:", "5"},
      {"CP:+4930123456!,9", "CHEACK1", "CP:", "+4930123456,9"},
      {"AP1:0049170111!", "CHEACK1", "AP1:", "0049170111"},
      {"AP1:!", "CHEACK1", "AP1:", ""},
      {"AP2:+49171222!", "CHEACK1", "AP2:", "+49171222"},
      {"TM:2701311859", "CHEACK1", "TM:", "2701311859"},
      {"OT2:7", "CHEACK1", "OUT2:", "0007"},
      {"OT1:1234", "CHEACK1", "OUT1:", "1234"},
      {"AD00:57.14,0.000,0.000,1,100.0,0.000", "CHEACK2",
       "AD00:", "57.14,0.000,0.000,1,100.0,0.000"},
      {"AD03:-0123,-1.50,0.000,2,-0.50,-1.00", "CHEACK2",
       "AD03:", "-0123,-1.50,0.000,2,-0.50,-1.00"},
      {"AD09:1.000,0.000,1.000,2,80.00,-10.0", "CHEACK2",
       "AD09:", "1.000,0.000,1.000,2,80.00,-10.0"},
      {"AD14:0,155.0,-125", "CHEACK2", "AD14:", "0,155.0,-125"},
      {"PA:432000", "CHEACK2", ";PA:", "432000"},
      {"OC1:10000000000000000001000000", "CHEACK3", "COUT1:", "10000000000000000001000000"},
      {"OC2:01010101010101010101000000", "CHEACK3", "COUT2:", "01010101010101010101000000"},
      {"O1:0", "STATUS", ";O01:", "00"},
      {"O2:1", "STATUS", ";O01:", "01"},
      {"SMSSET03:1,10,HIGH LEVEL", "SMS:03", "", "1,HIGH LEVEL"},
      {"SMSSET16:1,05,A,B#C", "SMS:16", "", "1,A,B#C"},  // content as typed
      {"SMSSET13:0", "SMS:13", "", "0,"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Set(c.set), "Set success!") << c.set;
    const std::string reply = Read(c.read);
    EXPECT_EQ(c.key.empty() ? reply : FieldValue(reply, c.key), c.expected) << c.set;
  }
  // The GPRS upload of the reset sequence is accepted.
  EXPECT_EQ(Set("SD:00,0,0"), "Set success!");
}

TEST_F(SimulatedLoggerTest, ValuesOutOfRangeFailAndChangeNothing) {
  const std::string group1 = Read("CHEACK1");
  const std::string group2 = Read("CHEACK2");
  const std::string group3 = Read("CHEACK3");
  const std::string alarms = Read("SMS:00");
  for (const std::string& payload :
       std::vector<std::string>{"ST:12345",
                                "ST:00004A",
                                "PS:12345,246802",
                                "PS:135791,24680x",
                                "TM:2613011200",
                                "TM:2602300000",
                                "TM:2612092400",
                                "TM:26120914",
                                "SA:6",
                                "SA:",
                                "SD:12,0,0",
                                "SD:00,2,0",
                                "CP:+49!,10",
                                "CP:49a1!,1",
                                "CP:!,1",
                                "AP1:12-34!",
                                "AP2:+12345678901234567890!",
                                "AD00:100.0,0.000,0.000,3,80.00,20.00",
                                "AD01:E,0.000,0.000,1,80.00,20.00",
                                "AD02:123456,0.000,0.000,1,80.00,20.00",
                                "AD03:1.2.3,0.000,0.000,1,80.00,20.00",
                                "AD13:2,5-0,-10.0",
                                "AD15:2,50.00,-10.0",
                                "PA:053400",
                                "PA:0234",
                                "O3:1",
                                "O1:2",
                                "OT1:12345",
                                "OT2:1a",
                                "OC3:" + std::string(26, '0'),
                                "OC1:1000000000000000000100000",
                                "OC1:10000000000000000001000002",
                                "SMSSET00:1,11,HIGH LEVEL",
                                "SMSSET00:1,15,FIFTEEN BYTES!!",
                                "SMSSET00:1,00,",
                                "SMSSET20:1,02,HI"}) {
    EXPECT_EQ(Set(payload), "SET fail!") << payload;
  }
  EXPECT_EQ(Read("CHEACK1"), group1);
  EXPECT_EQ(Read("CHEACK2"), group2);
  EXPECT_EQ(Read("CHEACK3"), group3);
  EXPECT_EQ(Read("SMS:00"), alarms);
  EXPECT_EQ(Read("STATUS").substr(0, 14), "#STA:000041,T;");
}

TEST_F(SimulatedLoggerTest, UnparseableCommandsAreFormatErrors) {
  for (const char* command : {
           "135791STATUS",                // no separator
           "135791#STATUS",               // no end mark
           "135791#CHECKVR#",             // the version query ends with "%"
           "135791#STATUS:1#",            // arguments where none belong
           "135791#SMS:3#",               // channel needs two digits
           "135791#SMS:20#",              // no such channel
           "135791#REDEEM2612091400#",    // no record count
           "135791#REDEEM261309140001#",  // no 13th month
           "246802#FOO:1#",               // unknown key
           "246802#SA#",                  // no value
           "246802#SA:1,2#",              // too many values
           "246802#PS:135791#",           // too few values
           "246802#AD13:2,50.00,-10.0,1,2,3#",
           "246802#AD00:2,50.00,-10.0#",
           "246802#AP1:+4917#",  // free text not closed by "!"
           "246802#CP:+4917,1#",
           "246802#SMSSET00:1,05#",
           "246802#SMSSET00:0,05,HELLO#",
           "246802#RESET:1#",
       }) {
    EXPECT_EQ(logger_.Handle(command), "SMS format is error!") << command;
  }
}

TEST_F(SimulatedLoggerTest, PasswordsGuardReadsAndSettings) {
  // Reads take either password, everything else only the setup password.
  EXPECT_TRUE(logger_.Handle("246802#CHEACK1#").starts_with("#STC1:"));
  EXPECT_EQ(logger_.Handle("135790#STATUS#"), "Password is error!");
  EXPECT_EQ(logger_.Handle("#CHEACK2#"), "Password is error!");
  EXPECT_EQ(logger_.Handle("000000#REDEEM261209140001#"), "Password is error!");
  EXPECT_EQ(logger_.Handle("135791#SA:1#"), "Password is error!");
  EXPECT_EQ(logger_.Handle("135791#RESET#"), "Password is error!");
  EXPECT_EQ(logger_.Handle("tovel3#SA:1#"), "Password is error!");
  EXPECT_EQ(FieldValue(Read("CHEACK1"), "SA:"), "3");

  // New passwords replace the old ones at once.
  EXPECT_EQ(Set("PS:111111,222222"), "Set success!");
  EXPECT_EQ(FieldValue(logger_.Handle("111111#CHEACK1#"), "PS:"), "111111,222222");
  EXPECT_EQ(Read("STATUS"), "Password is error!");
  EXPECT_EQ(Set("SA:1"), "Password is error!");
  EXPECT_EQ(logger_.Handle("222222#SA:1#"), "Set success!");
}

TEST_F(SimulatedLoggerTest, ResetRestoresFactorySettingsAndKeepsTheStationId) {
  ASSERT_EQ(Set("ST:000099"), "Set success!");
  ASSERT_EQ(logger_.Handle("246802#PS:111111,222222#"), "Set success!");
  ASSERT_EQ(logger_.Handle("222222#SA:0#"), "Set success!");
  ASSERT_EQ(logger_.Handle("222222#O1:0#"), "Set success!");
  ASSERT_EQ(logger_.Handle("222222#SMSSET13:0#"), "Set success!");

  EXPECT_EQ(logger_.Handle("tovel3#RESET#"), "initialize succesed!");
  const std::string group1 = Read("CHEACK1");
  EXPECT_TRUE(group1.starts_with("#STC1:000099;")) << group1;
  EXPECT_EQ(FieldValue(group1, "PS:"), "135791,246802");
  EXPECT_EQ(FieldValue(group1, "SA:"), "3");
  EXPECT_EQ(FieldValue(Read("STATUS"), ";O01:"), "10");
  EXPECT_EQ(Read("SMS:13"), "1,TANK ALRM!");
  EXPECT_EQ(logger_.Handle("222222#SA:1#"), "Password is error!");

  // The setup password resets as well as the access code.
  EXPECT_EQ(logger_.Handle("246802#RESET#"), "initialize succesed!");
}

TEST_F(SimulatedLoggerTest, NewStationIdHeadsEveryReply) {
  EXPECT_EQ(Set("ST:000042"), "Set success!");
  EXPECT_EQ(logger_.station_id(), "000042");
  EXPECT_TRUE(Read("STATUS").starts_with("#STA:000042,T;"));
  EXPECT_TRUE(Read("CHEACK1").starts_with("#STC1:000042;"));
  EXPECT_TRUE(Read("CHEACK2").starts_with("#STC2:000042;"));
  EXPECT_TRUE(Read("CHEACK3").starts_with("#STC3:000042;"));
  EXPECT_TRUE(Read("REDEEM261209140001").starts_with("#STD:000042,T;"));
}

TEST_F(SimulatedLoggerTest, SetTimeRunsOnWithTheClock) {
  ASSERT_EQ(Set("TM:2001020304"), "Set success!");
  EXPECT_EQ(FieldValue(Read("STATUS"), "TM:"), "200102030400");
  now_ += 90s;
  EXPECT_EQ(FieldValue(Read("STATUS"), "TM:"), "200102030530");
  EXPECT_EQ(FieldValue(Read("CHEACK1"), "TM:"), "2001020305");
}

TEST_F(SimulatedLoggerTest, InputsAndRelaysAsFitted) {
  SimulatedLogger small({"000041", "+491701000041", "135791", "246802", 3, 4},
                        [this] { return now_; });
  const auto set = [&](const std::string& payload) {
    return small.Handle("246802#" + payload + "#");
  };
  const auto read = [&](const std::string& key) { return small.Handle("135791#" + key + "#"); };
  EXPECT_EQ(FieldValue(read("STATUS"), "K01:"), "100");
  EXPECT_EQ(FieldValue(read("STATUS"), ";O01:"), "1000");
  EXPECT_EQ(FieldValue(read("CHEACK1"), "OUT4:"), "0000");
  EXPECT_EQ(FieldValue(read("CHEACK3"), "COUT4:"), std::string(26, '0'));
  EXPECT_EQ(FieldValue(read("CHEACK2"), ";PA:"), "02300");  // a mode per input, then filler

  for (const char* applied : {"PA:43100", "O4:1", "OT4:7", "OC4:01000000000000000000000000"}) {
    EXPECT_EQ(set(applied), "Set success!") << applied;
  }
  EXPECT_EQ(FieldValue(read("STATUS"), ";O01:"), "1001");
  EXPECT_EQ(FieldValue(read("CHEACK1"), "OUT4:"), "0007");
  EXPECT_EQ(FieldValue(read("CHEACK2"), ";PA:"), "43100");
  EXPECT_EQ(FieldValue(read("CHEACK3"), "COUT4:"), "01000000000000000000000000");
  for (const char* refused : {"PA:023400", "PA:4310", "PA:43500", "O5:1", "OT5:1"}) {
    EXPECT_EQ(set(refused), "SET fail!") << refused;
  }

  // A reset keeps what the logger is fitted with.
  ASSERT_EQ(set("RESET"), "initialize succesed!");
  EXPECT_EQ(FieldValue(read("STATUS"), ";O01:"), "1000");
  EXPECT_EQ(FieldValue(read("CHEACK2"), ";PA:"), "02300");
  EXPECT_EQ(FieldValue(read("STATUS"), "K01:").size(), 3u);
}

// Splits a "#STD:" reply into its records, as the Data Record page does.
std::vector<std::string> Records(const std::string& reply) {
  std::vector<std::string> records;
  for (auto at = reply.find("#STD:"); at != reply.npos;) {
    const auto next = reply.find("#STD:", at + 1);
    records.push_back(reply.substr(at, next - at));
    at = next;
  }
  return records;
}

std::size_t SampleCount(const std::string& values) {
  return static_cast<std::size_t>(std::count(values.begin(), values.end(), '|')) + 1;
}

TEST_F(SimulatedLoggerTest, StoredRecordsFromTheAskedMoment) {
  // 8 December, 14:02, 2 records: the first sample at 14:05, every 5 minutes,
  // twelve samples a record.
  const std::string reply = Read("REDEEM261208140202");
  ASSERT_EQ(reply.back(), '#');
  const auto records = Records(reply);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(FieldValue(records[0], "TM:"), "261208140500");
  EXPECT_EQ(FieldValue(records[1], "TM:"), "261208150500");
  for (const auto& record : records) {
    EXPECT_EQ(FieldValue(record, "#STD:"), "000041,T");
    EXPECT_EQ(FieldValue(record, ";D:"), "1");
    EXPECT_EQ(FieldValue(record, ";T:"), "12");
    // The humidity and all eight temperature sensors.
    for (const char* key :
         {"A00:", "A07:", "A08:", "A09:", "A10:", "A11:", "A12:", "A13:", "A14:"}) {
      EXPECT_EQ(SampleCount(FieldValue(record, key)), 12u) << key << " in " << record;
    }
  }
  EXPECT_EQ(Read("REDEEM261208140202"), reply);  // the memory does not change
  EXPECT_EQ(Records(Read("REDEEM261208140220")).size(), 20u);
}

TEST(SimulatedLoggerHistory, IntervalAndRecordSizeAreConfigurable) {
  const LoggerTime now = At(2026, 12, 9, 14, 30, 5);
  SimulatedLogger logger(kIdentity, [now] { return now; }, {2, 4, std::chrono::hours{24}});
  const auto records = Records(logger.Handle("135791#REDEEM261209000003#"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(FieldValue(records[0], ";D:"), "2");
  EXPECT_EQ(FieldValue(records[0], ";T:"), "4");
  // Four samples of fifteen minutes a record.
  EXPECT_EQ(FieldValue(records[0], "TM:"), "261209000000");
  EXPECT_EQ(FieldValue(records[1], "TM:"), "261209010000");
  EXPECT_EQ(FieldValue(records[2], "TM:"), "261209020000");
  // A day back at most.
  EXPECT_EQ(FieldValue(logger.Handle("135791#REDEEM260101000001#"), "TM:"), "261208143000");

  // A logger that logs nothing answers with its status.
  SimulatedLogger silent(kIdentity, [now] { return now; }, {0, 12, std::chrono::hours{72}});
  EXPECT_TRUE(silent.Handle("135791#REDEEM261209000003#").starts_with("#STA:000041,T;"));
}

TEST_F(SimulatedLoggerTest, StoredRecordsStopAtNowAndReachBackThreeDays) {
  // Now is 14:30:05: from 14:20 only 14:20, 14:25 and 14:30 are stored.
  const std::string recent = Read("REDEEM261209142099");
  EXPECT_EQ(FieldValue(recent, ";T:"), "3");
  EXPECT_EQ(Records(recent).size(), 1u);
  // Asked for more than the memory holds, it starts with its oldest sample.
  EXPECT_EQ(FieldValue(Read("REDEEM250101000001"), "TM:"), "261206143000");
  // Nothing stored from then on: the logger answers with its status.
  EXPECT_TRUE(Read("REDEEM261209143501").starts_with("#STA:000041,T;"));
  EXPECT_TRUE(Read("REDEEM261209140000").starts_with("#STA:000041,T;"));
}

TEST_F(SimulatedLoggerTest, HumidityCalibrationScalesTheShownHumidity) {
  // As the Analog Channel page does it: factor = actual x 100 / raw reading.
  const double raw = std::strtod(FieldValue(Read("STATUS"), "A02:").c_str(), nullptr);
  ASSERT_GT(raw, 0.0);
  ASSERT_LE(raw, 170.0);
  char factor[32];
  std::snprintf(factor, sizeof factor, "%f", 55.0 * 100.0 / raw);
  ASSERT_EQ(Set("AD00:" + std::string(factor, 5) + ",0.000,0.000,1,100.0,0.000"), "Set success!");
  const double shown = std::strtod(FieldValue(Read("STATUS"), "A00:").c_str(), nullptr);
  EXPECT_NEAR(shown, 55.0, 0.15);
}

TEST_F(SimulatedLoggerTest, ARawHumidityReadingCanBeFixed) {
  for (const auto& [tenths, text] : {std::pair{0, "0.00"}, {1705, "170.50"}, {483, "48.30"}}) {
    logger_.set_raw_humidity(tenths);
    const std::string status = Read("STATUS");
    EXPECT_EQ(FieldValue(status, "A02:"), text);
    EXPECT_EQ(FieldValue(status, "A00:"), text);  // the factory scale shows it as it is
  }
  ASSERT_EQ(Set("AD00:50.00,0.000,0.000,1,100.0,0.000"), "Set success!");
  EXPECT_EQ(FieldValue(Read("STATUS"), "A00:"), "24.20");  // 48.3 at half scale, rounded
  logger_.set_raw_humidity(std::nullopt);
  now_ = At(2026, 12, 9, 0, 0);
  EXPECT_EQ(FieldValue(Read("STATUS"), "A02:"), "40.00");  // the daily swing again
}

TEST_F(SimulatedLoggerTest, FaultsOverrideTheAnswer) {
  logger_.set_faults({.silent = true});
  EXPECT_EQ(Read("STATUS"), "");
  EXPECT_TRUE(logger_.Respond("135791#STATUS#").empty());

  logger_.set_faults({.password_error = true});
  EXPECT_EQ(Read("STATUS"), "Password is error!");
  logger_.set_faults({.format_error = true});
  EXPECT_EQ(Set("SA:1"), "SMS format is error!");

  logger_.set_faults({.set_fail = true});
  EXPECT_EQ(Set("SA:1"), "SET fail!");
  EXPECT_EQ(Set("ST:000077"), "SET fail!");
  EXPECT_EQ(FieldValue(Read("CHEACK1"), "SA:"), "3");  // not applied; reads still work
  EXPECT_EQ(logger_.Handle("135791#SA:1#"), "Password is error!");

  logger_.set_faults({.keep_old_values = true});
  EXPECT_EQ(Set("SA:1"), "Set success!");
  EXPECT_EQ(Set("PS:111111,222222"), "Set success!");
  EXPECT_EQ(FieldValue(Read("CHEACK1"), "SA:"), "3");
  EXPECT_EQ(FieldValue(Read("CHEACK1"), "PS:"), "135791,246802");

  logger_.set_faults({.garbage = true});
  const std::string garbage = Read("STATUS");
  EXPECT_FALSE(garbage.empty());
  EXPECT_NE(garbage.find('\0'), garbage.npos);
  EXPECT_EQ(garbage.find("STA"), garbage.npos);

  logger_.set_faults({.truncated = true});
  const std::string truncated = Read("CHEACK1");
  EXPECT_TRUE(truncated.starts_with("#STC1:000041;"));
  EXPECT_NE(truncated.back(), '#');
  EXPECT_LT(truncated.size(), 80u);

  logger_.set_faults({});
  EXPECT_EQ(Set("SA:1"), "Set success!");
}

TEST_F(SimulatedLoggerTest, DirectCableAnswersInOneBurst) {
  auto schedule = logger_.Respond("135791#CHEACK3#");
  ASSERT_EQ(schedule.size(), 1u);
  EXPECT_EQ(schedule[0].delay, 0ms);
  EXPECT_EQ(schedule[0].bytes, Read("CHEACK3"));
  // A terminal program's line end is not part of the command.
  EXPECT_EQ(logger_.Respond("135791#CHEACK3#\r\n")[0].bytes, Read("CHEACK3"));

  logger_.set_faults({.late = 1500ms});
  schedule = logger_.Respond("135791#STATUS#");
  ASSERT_EQ(schedule.size(), 1u);
  EXPECT_EQ(schedule[0].delay, 1500ms);
}

}  // namespace
}  // namespace vexa::sim
