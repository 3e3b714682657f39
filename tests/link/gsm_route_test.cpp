#include <gmock/gmock.h>

#include "exchange_fixture.h"
#include "link/gsm_reassembly.h"
#include "link/modem_text.h"
#include "link/port.h"
#include "sim/sms_parts.h"
#include "support/group2_reply.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A 40-character reply announced as 40: delivered once the parts exceed that.
const std::string kFirstPart = "#STC2:000041;L:0040;AD13:1,2.000,3.0;";  // 37 characters
const std::string kSecondPart = "#STA:000041;PA:023400;#";               // 11 after its header

TEST(GsmReassembly, FirstPartWithALargerTotalWaitsForTheRest) {
  GsmReassembly reassembly;
  EXPECT_EQ(reassembly.Add(kFirstPart), "");
  EXPECT_EQ(reassembly.Add(kSecondPart), kFirstPart + "PA:023400;#");
}

TEST(GsmReassembly, ExactlyTheAnnouncedLengthIsNotDeliveredOneMoreIs) {
  GsmReassembly reassembly;
  EXPECT_EQ(reassembly.Add("#STC2:000041;L:0040;AD00:1.000,2.000;"), "");
  EXPECT_EQ(reassembly.Add("#STA:000041;PA:"), "");  // 40 characters buffered
  EXPECT_EQ(reassembly.Add("#STA:000041;#"), "#STC2:000041;L:0040;AD00:1.000,2.000;PA:#");
}

// A line that floods with text that looks like parts, announced or not.
TEST(GsmReassembly, NeverHoldsMoreThanTheLargestBurst) {
  for (const std::string first : {"#STC2:000041;L:9999999;", "#STD:000041,T;"}) {
    GsmReassembly reassembly;
    reassembly.Add(first);
    const std::string part = "#STA:000041;" + std::string(kMaxBurstSize / 2, 'x');
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(reassembly.Add(part), "");
      EXPECT_LE(reassembly.buffered(), kMaxBurstSize) << first;
    }
  }
}

TEST(GsmReassembly, LengthFieldCountsOnlyAtPositions12To19) {
  GsmReassembly reassembly;
  // "L:" at position 5: no announced length, so nothing is ever complete.
  EXPECT_EQ(reassembly.Add("#STA;L:0005;A00:1;#"), "");
  EXPECT_EQ(reassembly.buffered(), 19u);
  reassembly.Reset();
  // Position 19 still counts.
  EXPECT_EQ(reassembly.Add("#STA:000041,T;xxxxxL:0090;#"), "");
  EXPECT_EQ(reassembly.Add("#STA:000041;" + std::string(70, 'x')),
            "#STA:000041,T;xxxxxL:0090;#" + std::string(70, 'x'));
}

TEST(GsmReassembly, TextsWithoutStationKeysPassUnchanged) {
  GsmReassembly reassembly;
  EXPECT_EQ(reassembly.Add("Set success!"), "Set success!");
  EXPECT_EQ(reassembly.Add("1,TANK ALRM!"), "1,TANK ALRM!");
}

// Alarm texts are short replies without a length field, whatever words they hold.
const char* const kAlarmTextsWithKeys[] = {"1,STATION DOWN", "1,PUMP STB", "0,STC FAULT",
                                           "1,TANK STD LOW", "1,LEVEL:STA"};

TEST(GsmReassembly, ShortTextsHoldingAKeyPassUnchangedUnlessAReplyIsInProgress) {
  GsmReassembly reassembly;
  for (const std::string text : kAlarmTextsWithKeys) {
    EXPECT_EQ(reassembly.Add(text), text);
    EXPECT_EQ(reassembly.buffered(), 0u) << text;
  }
  // Once a framed reply has announced its total, a further part is awaited as before.
  const std::string first_part = "#STC2:000041;L:0090;AD00:1.000,2.000;";
  EXPECT_EQ(reassembly.Add(first_part), "");
  EXPECT_EQ(reassembly.Add("1,STATION DOWN"), "");
  EXPECT_EQ(reassembly.buffered(), first_part.size() + 14);
}

TEST(GsmReassembly, HugeAnnouncedLengthNeverOverflows) {
  GsmReassembly reassembly;
  EXPECT_EQ(reassembly.Add("#STC1:000041;L:99999999999999999999;#"), "");
  EXPECT_EQ(reassembly.Add("#STA:000041;x"), "");
}

TEST_F(ExchangeTest, GsmCommandsAreWrappedForTheModem) {
  UseGsm();
  commands.ReadGroup(2);
  EXPECT_THAT(port.writes, ElementsAre("AT+BJSD=13,+491701000041,135791#CHEACK2#\r\n"));
  EXPECT_EQ(exchange.state().last_command, "AT+BJSD=13,+491701000041,135791#CHEACK2#\r\n");
}

TEST_F(ExchangeTest, GsmEchoIsLoggedButNotRoutedThenThePartsAreJoined) {
  UseGsm();
  commands.ReadGroup(2);
  listener.events.clear();
  exchange.OnReceived("AT+BJSD=13,+491701000041,135791#CHEACK2#");
  exchange.OnReceived("message send");
  exchange.OnReceived(kFirstPart);
  EXPECT_TRUE(exchange.busy());
  exchange.OnReceived(kSecondPart);
  EXPECT_FALSE(exchange.busy());
  EXPECT_THAT(listener.events, ElementsAre("group2:" + kFirstPart + "PA:023400;#"));
  EXPECT_THAT(listener.data_log, ElementsAre("AT+BJSD=13,+491701000041,135791#CHEACK2#",
                                             "message send", kFirstPart + "PA:023400;#"));
}

TEST(ModemText, OnlyAnAnswerAfterLeadingModemTextIsSplitOff) {
  const std::string echo = "AT+BJSD=13,+491701000041,135791#CHEACK2#\r\n";
  struct Case {
    std::string burst;
    std::size_t modem_length;
  };
  for (const Case& c : {
           Case{echo + "message send" + kFirstPart, echo.size() + 12},
           Case{"\r\nmessage send\r\nSet success!", 16},
           Case{echo + "message send", echo.size() + 12},  // nothing follows
           Case{echo + "Set success!", echo.size()},
           Case{"AT+BJSD=13,+491701000041,135791#STATUS#", 39},         // no line end: all echo
           Case{"+CMGS: 12 message send#STA:000041;#", 35},             // not at the start
           Case{echo + "#STA:000041;#message send", echo.size() + 25},  // modem text follows
       }) {
    EXPECT_TRUE(HoldsModemText(c.burst));
    EXPECT_EQ(ModemTextLength(c.burst), c.modem_length) << c.burst;
  }
  EXPECT_FALSE(HoldsModemText(kFirstPart));
}

// A quick modem's echo, confirmation and the first part of the answer in one
// burst: the modem's text is logged, the part routed.
TEST_F(ExchangeTest, GsmModemTextAndReplyInOneBurstAreSplit) {
  UseGsm();
  commands.ReadGroup(2);
  listener.events.clear();
  const std::string modem = "AT+BJSD=13,+491701000041,135791#CHEACK2#\r\nmessage send";
  exchange.OnReceived(modem + kFirstPart);
  EXPECT_TRUE(exchange.busy());
  exchange.OnReceived(kSecondPart);
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_THAT(listener.events, ElementsAre("group2:" + kFirstPart + "PA:023400;#"));
  EXPECT_THAT(listener.data_log, ElementsAre(modem, kFirstPart + "PA:023400;#"));

  exchange.SendCommand("246802#SA:3#", 11005);
  exchange.OnReceived("AT+BJSD=13,+491701000041,246802#SA:3#\r\nmessage sendSet success!");
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
}

TEST_F(ExchangeTest, ModemTextOnTheCableRouteIsNeverRouted) {
  commands.ReadStatus();
  exchange.OnReceived("message send#STA:000041,T;K01:1;O01:1;#");
  EXPECT_TRUE(exchange.busy());
  EXPECT_THAT(listener.data_log, ElementsAre("message send#STA:000041,T;K01:1;O01:1;#"));
}

// The modem's SMS of a logger's "#2" as they come, and with two changing places.
TEST_F(ExchangeTest, GsmPartsOutOfOrderEndAsDataErrorAndReachNoPage) {
  UseGsm();
  std::vector<std::string> parts = sim::SplitIntoSms(kGroup2Reply, "000041");
  ASSERT_EQ(parts.size(), 4u);
  for (bool swapped : {false, true}) {
    if (swapped) std::swap(parts[1], parts[2]);
    commands.ReadGroup(2);
    listener.events.clear();
    for (const std::string& part : parts) exchange.OnReceived(part);
    EXPECT_EQ(exchange.progress().status_text, swapped ? "Data Error" : "Command Success");
    EXPECT_EQ(listener.events.size(), swapped ? 0u : 1u);
  }
}

// On the cable a reply is judged by its fields alone: a field the program does
// not know is no fault, a record that does not read is.
TEST_F(ExchangeTest, CableRepliesAreJudgedByTheirFields) {
  const std::pair<const char*, const char*> cases[] = {
      {"#STC2:000041;AD13:2,50.00,-10.0;BAT:3.61;PA:0234;#", "Command Success"},
      {"#STC2:000041;AD14:1,60.00,0.000;AD13:2,50.00,-10.0;#", "Command Success"},
      {"#STC2:000041;AD13:2,50.00;PA:0234;#", "Data Error"},
      {"#STC2:000041;AD13:2,50.00,-10.0;TM:2612091430;#", "Data Error"},
  };
  for (const auto& [reply, outcome] : cases) {
    listener.events.clear();
    commands.ReadGroup(2);
    exchange.OnReceived(reply);
    EXPECT_EQ(exchange.progress().status_text, outcome) << reply;
    EXPECT_EQ(listener.events.size(), std::string(outcome) == "Data Error" ? 1u : 2u) << reply;
  }
  commands.ReadStatus();
  exchange.OnReceived("#STA:000041,T;A00:45.20;O01:10;O01:01;#");
  EXPECT_EQ(exchange.progress().status_text, "Data Error");
  EXPECT_FALSE(exchange.status_read());

  // Nor does a calibration step or the Data Record page act on such a status.
  for (int code : {12001, 15001}) {
    listener.events.clear();
    SendAndReply("135791#STATUS#", code, "#STA:000041,T;A02:48.30;A02:4;#");
    EXPECT_EQ(exchange.state().result, kResultDataError) << code;
    EXPECT_TRUE(listener.events.empty()) << code;
    SendAndReply("135791#STATUS#", code, "#STA:000041,T;A02:48.30;#");
    EXPECT_EQ(exchange.state().result, kResultSuccess) << code;
    EXPECT_EQ(listener.events.size(), 1u) << code;
  }
}

TEST_F(ExchangeTest, GsmReplyThatNeverCompletesTimesOut) {
  UseGsm();
  commands.ReadGroup(2);
  exchange.OnReceived(kFirstPart);
  EXPECT_EQ(TickToEnd(), 902);
  EXPECT_EQ(exchange.progress().status_text, "Command Time Out");
}

TEST_F(ExchangeTest, LeftOverPartIsNotGluedToTheNextReply) {
  UseGsm();
  commands.ReadGroup(2);
  exchange.OnReceived(kFirstPart);
  exchange.RequestStop();
  exchange.Tick();
  commands.ReadGroup(2);
  exchange.OnReceived("#STC2:000041;L:0010;PA:1;#");
  EXPECT_THAT(listener.events.back(), "group2:#STC2:000041;L:0010;PA:1;#");
}

TEST_F(ExchangeTest, GsmAlarmTextHoldingAKeyIsDeliveredAtOnce) {
  UseGsm();
  for (const std::string text : kAlarmTextsWithKeys) {
    listener.events.clear();
    ASSERT_TRUE(exchange.SendCommand("135791#SMS:16#", 19116));
    exchange.OnReceived("AT+BJSD=13,+491701000041,135791#SMS:16#");
    exchange.OnReceived("message send");
    exchange.OnReceived(text);
    EXPECT_THAT(listener.events, ElementsAre("alarm-text:" + text));
    EXPECT_EQ(TickToEnd(), 1) << text;
    EXPECT_EQ(exchange.progress().status_text, "Command Success") << text;
  }
}

TEST_F(ExchangeTest, ModemCommandsAreNotWrappedAndAnswerToTheInfoBox) {
  UseGsm();
  commands.BatchOrModemTest();
  exchange.OnReceived("BJ-GSM TEST OK CSQ:21");
  commands.ModemVersion();
  exchange.OnReceived("BJ-GSM Modem V1.02");
  EXPECT_THAT(port.writes, ElementsAre("AT+BJTE\r\n", "AT+BJDS\r\n"));
  EXPECT_THAT(listener.events,
              ElementsAre("info:BJ-GSM TEST OK CSQ:21", "info:BJ-GSM Modem V1.02"));
}

TEST_F(ExchangeTest, ModemCommandsNeedAnOpenIdlePortOnTheGsmRoute) {
  commands.ModemVersion();
  EXPECT_EQ(notifier.Last(), "Please select GSM Modem first.");
  UseGsm();
  port.open = false;
  commands.BatchOrModemTest();
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Connect!");
  port.open = true;
  commands.ReadStatus();
  commands.ModemVersion();
  EXPECT_EQ(notifier.Last(), "Command is in progress...");
  EXPECT_EQ(port.writes.size(), 1u);
}

}  // namespace
}  // namespace vexa::testing
