#include "sim/simulated_modem.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/reply_rules.h"

namespace vexa::sim {
namespace {

using namespace std::chrono_literals;
using testing::FieldValue;
using testing::ProgramReassembly;

LoggerTime FixedNow() {
  return std::chrono::sys_days{std::chrono::year{2026} / 12 / 9} + std::chrono::hours{14} +
         std::chrono::minutes{30} + std::chrono::seconds{5};
}

// As the program wraps a command for the modem.
std::string Wrap(const std::string& phone, const std::string& command) {
  return "AT+BJSD=" + std::to_string(phone.size()) + "," + phone + "," + command + "\r\n";
}

// The logger's reply as the program puts it together from the modem's bursts.
std::string Reassembled(const Schedule& schedule) {
  ProgramReassembly reassembly;
  std::string whole;
  for (std::size_t i = 2; i < schedule.size(); ++i) {
    const std::string result = reassembly.Add(schedule[i].bytes);
    if (!result.empty()) {
      EXPECT_EQ(i + 1, schedule.size()) << "complete before the last part";
      whole = result;
    }
  }
  return whole;
}

class SimulatedModemTest : public ::testing::Test {
 protected:
  SimulatedModem modem_{DemoLoggers(), 1000ms, FixedNow};
};

TEST_F(SimulatedModemTest, EchoesConfirmsAndRelaysInSeparateBursts) {
  const std::string line = Wrap("+491701000042", "135791#CHEACK1#");
  const Schedule schedule = modem_.Respond(line);
  ASSERT_GE(schedule.size(), 3u);
  EXPECT_EQ(schedule[0].bytes, line);
  EXPECT_EQ(schedule[0].delay, 0ms);
  EXPECT_EQ(schedule[1].bytes, "message send");
  EXPECT_EQ(schedule[1].delay, 1000ms);
  for (std::size_t i = 2; i < schedule.size(); ++i) {
    EXPECT_EQ(schedule[i].delay, 1000ms);
    EXPECT_LE(schedule[i].bytes.size(), 160u);
  }
  // The logger behind that number answers, with its length announced.
  const std::string reply = Reassembled(schedule);
  EXPECT_TRUE(reply.starts_with("#STC1:000042;L:")) << reply;
  EXPECT_EQ(reply.back(), '#');
  EXPECT_EQ(std::stoul(FieldValue(reply, "L:")), reply.size() - 7);
}

TEST_F(SimulatedModemTest, EveryLongReplyReassembles) {
  for (const char* command : {"135791#STATUS#", "135791#CHEACK1#", "135791#CHEACK2#",
                              "135791#CHEACK3#", "135791#REDEEM261208000001#"}) {
    const Schedule schedule = modem_.Respond(Wrap("+491701000041", command));
    const std::string reply = Reassembled(schedule);
    EXPECT_TRUE(reply.starts_with("#ST")) << command;
    EXPECT_EQ(reply.back(), '#') << command;
    EXPECT_EQ(std::stoul(FieldValue(reply, "L:")), reply.size() - 7) << command;
  }
  // A record of twelve samples of nine sensors takes several messages.
  EXPECT_GT(modem_.Respond(Wrap("+491701000041", "135791#REDEEM261208000001#")).size(), 5u);
}

TEST_F(SimulatedModemTest, StoredRecordsComeOneRecordAtATime) {
  const Schedule schedule = modem_.Respond(Wrap("+491701000041", "135791#REDEEM261208000003#"));
  ProgramReassembly reassembly;
  std::vector<std::string> replies;
  for (std::size_t i = 2; i < schedule.size(); ++i) {
    EXPECT_LE(schedule[i].bytes.size(), 160u);
    const std::string reply = reassembly.Add(schedule[i].bytes);
    if (!reply.empty()) replies.push_back(reply);
  }
  ASSERT_EQ(replies.size(), 3u);
  const char* starts[] = {"261208000000", "261208010000", "261208020000"};
  for (std::size_t i = 0; i < replies.size(); ++i) {
    EXPECT_TRUE(replies[i].starts_with("#STD:000041,T;L:")) << replies[i];
    EXPECT_EQ(replies[i].back(), '#');
    EXPECT_EQ(replies[i].find("#STD:", 1), std::string::npos) << "one record a reply";
    EXPECT_EQ(std::stoul(FieldValue(replies[i], "L:")), replies[i].size() - 7);
    EXPECT_EQ(FieldValue(replies[i], "TM:"), starts[i]);
  }
}

TEST_F(SimulatedModemTest, ShortRepliesComeWhole) {
  const Schedule set = modem_.Respond(Wrap("+491701000043", "246802#SA:2#"));
  ASSERT_EQ(set.size(), 3u);
  EXPECT_EQ(set[2].bytes, "Set success!");
  const Schedule alarm = modem_.Respond(Wrap("+491701000043", "135791#SMS:13#"));
  ASSERT_EQ(alarm.size(), 3u);
  EXPECT_EQ(alarm[2].bytes, "1,TANK ALRM!");
  // Each logger keeps its own settings.
  EXPECT_EQ(FieldValue(modem_.LoggerByPhone("+491701000043")->Handle("135791#CHEACK1#"), "SA:"),
            "2");
  EXPECT_EQ(FieldValue(modem_.LoggerByPhone("+491701000041")->Handle("135791#CHEACK1#"), "SA:"),
            "3");
}

TEST_F(SimulatedModemTest, AlarmTextWithCommasAndEndMarksCrossesTheModemWhole) {
  const Schedule set = modem_.Respond(Wrap("+491701000043", "246802#SMSSET17:1,11,STB,STC#STD#"));
  ASSERT_EQ(set.size(), 3u);
  EXPECT_EQ(set[2].bytes, "Set success!");
  const Schedule read = modem_.Respond(Wrap("+491701000043", "135791#SMS:17#"));
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[2].bytes, "1,STB,STC#STD");  // a short reply: no length field, one message
}

TEST_F(SimulatedModemTest, UnknownNumberGetsNoAnswer) {
  const std::string line = Wrap("+491701000099", "135791#STATUS#");
  const Schedule schedule = modem_.Respond(line);
  ASSERT_EQ(schedule.size(), 2u);
  EXPECT_EQ(schedule[0].bytes, line);
  EXPECT_EQ(schedule[1].bytes, "message send");
}

TEST_F(SimulatedModemTest, ModemCommandsAnswerWithoutEcho) {
  const Schedule test = modem_.Respond("AT+BJTE\r\n");
  ASSERT_EQ(test.size(), 1u);
  EXPECT_EQ(test[0].bytes, "BJ-GSM TEST OK CSQ:21");
  const Schedule version = modem_.Respond("AT+BJDS\r\n");
  ASSERT_EQ(version.size(), 1u);
  EXPECT_EQ(version[0].bytes, "BJ-GSM Modem V1.02");
  // Lines the modem cannot read: a length that does not match the number,
  // no command, an unknown AT command.
  for (const char* line :
       {"AT+BJSD=12,+491701000041,135791#STATUS#\r\n", "AT+BJSD=13,+491701000041\r\n",
        "AT+BJSD=x,+4917,1#STATUS#\r\n", "ATD123\r\n"}) {
    const Schedule schedule = modem_.Respond(line);
    ASSERT_EQ(schedule.size(), 1u) << line;
    EXPECT_EQ(schedule[0].bytes, "ERROR") << line;
  }
  EXPECT_TRUE(modem_.Respond("\r\n").empty());
}

TEST_F(SimulatedModemTest, FaultsReachTheLoggersAndTheParts) {
  modem_.set_faults({.late = 5000ms});
  Schedule schedule = modem_.Respond(Wrap("+491701000041", "135791#STATUS#"));
  ASSERT_GE(schedule.size(), 3u);
  EXPECT_EQ(schedule[1].delay, 1000ms);  // the modem itself is on time
  EXPECT_EQ(schedule[2].delay, 6000ms);

  modem_.set_faults({.drop_last_part = true});
  schedule = modem_.Respond(Wrap("+491701000041", "135791#STATUS#"));
  ASSERT_GE(schedule.size(), 3u);
  EXPECT_EQ(Reassembled(schedule), "");  // never reaches its announced length
  schedule = modem_.Respond(Wrap("+491701000041", "246802#SA:1#"));
  ASSERT_EQ(schedule.size(), 3u);  // a single message is not dropped
  EXPECT_EQ(schedule[2].bytes, "Set success!");

  modem_.set_faults({.silent = true});
  EXPECT_EQ(modem_.Respond(Wrap("+491701000042", "135791#STATUS#")).size(), 2u);

  modem_.set_faults({.password_error = true});
  schedule = modem_.Respond(Wrap("+491701000043", "135791#STATUS#"));
  ASSERT_EQ(schedule.size(), 3u);
  EXPECT_EQ(schedule[2].bytes, "Password is error!");
}

}  // namespace
}  // namespace vexa::sim
