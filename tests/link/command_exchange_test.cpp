#include "link/command_exchange.h"

#include <gmock/gmock.h>

#include "exchange_fixture.h"
#include "link/command_codes.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kGroup2 = "#STC2:000041;AD00:100.0,0.000,0.000,1,80.00,20.00;PA:023400;#";
const std::string kStatus = "#STA:000041,T;TM:261209143005;A00:45.20;K01:100000000001000;O01:10;#";

TEST_F(ExchangeTest, GroupReadsAreRoutedToTheirPagesWhenMarkedAndEnded) {
  SendAndReply("135791#CHEACK1#", 10002, "#STC1:000041;TM:2612091430;#");
  SendAndReply("135791#CHEACK2#", 10003, kGroup2);
  SendAndReply("135791#CHEACK3#", 10004, "#STC3:000041;COUT1:1;#");
  EXPECT_THAT(listener.events, ElementsAre("group1:#STC1:000041;TM:2612091430;#",
                                           "group2:" + kGroup2, "group3:#STC3:000041;COUT1:1;#"));
  EXPECT_EQ(exchange.state().result, kResultSuccess);
  EXPECT_FALSE(exchange.busy());
}

TEST_F(ExchangeTest, TruncatedOrForeignGroupReplyIsADataError) {
  SendAndReply("135791#CHEACK2#", 10003, "#STC2:000041;AD00:100.0");
  EXPECT_EQ(exchange.state().result, kResultDataError);
  SendAndReply("135791#CHEACK2#", 10003, "#STC1:000041;#");
  EXPECT_EQ(exchange.state().result, kResultDataError);
  EXPECT_THAT(listener.events, IsEmpty());
}

// A refused password ends every command as such, whatever its handler would
// have made of the text, and reaches no page.
// A refused password or command ends every command with its own result and
// reaches no page: no version, calibration step or alarm text, no Init step.
class RefusalTest : public ExchangeTest,
                    public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(RefusalTest, EndsEveryCommandWithItsResultAndReachesNoPage) {
  const auto [refusal, status_text] = GetParam();
  for (int code : {10000, 10001, 10002, 10005, 10006, 11002, 11003, 11019, 12000, 12001, 12002,
                   13001, 15001, 16001, 19000, 19100}) {
    SendAndReply("246802#ST:000077#", code, refusal);
    EXPECT_FALSE(exchange.progress().visible) << code;
    EXPECT_EQ(exchange.progress().status_text, status_text) << code;
  }
  EXPECT_THAT(listener.events, ElementsAre(std::string("batch-result:") + status_text));
  EXPECT_EQ(port.writes.size(), 16u);  // Init sent no second step
  EXPECT_TRUE(phone_book.EntryExists("000041"));
  EXPECT_FALSE(exchange.status_read());
  EXPECT_EQ(listener.data_log.size(), 16u);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusalTest,
                         ::testing::Values(std::pair{"Password is error!", "Password Error"},
                                           std::pair{"SMS format is error!", "Data Error"}),
                         [](const auto& info) {
                           return info.param.second[0] == 'P' ? "Password" : "Format";
                         });

TEST_F(ExchangeTest, FirstStatusReplyFillsTheDeviceContextOnceLaterOnesGoToThePages) {
  SendAndReply("135791#STATUS#", 10000, kStatus);
  EXPECT_EQ(exchange.device_context().digital_input_count, 15);
  EXPECT_EQ(exchange.device_context().relay_count, 2);
  EXPECT_TRUE(exchange.status_read());

  SendAndReply("135791#STATUS#", 10005,
               "#STA:000041,T;K01:1;O01:1111;#");  // later replies leave the counts
  EXPECT_EQ(exchange.device_context().relay_count, 2);
  SendAndReply("135791#STATUS#", 10000, kStatus);  // a later selection's query: no page
  EXPECT_THAT(listener.events, ElementsAre("first-status:" + kStatus, "page:6",
                                           "later-status:#STA:000041,T;K01:1;O01:1111;#"));
}

TEST_F(ExchangeTest, StatusWithoutStationOrCutOffBeforeItsEndIsADataError) {
  for (int code : {10000, 10005}) {
    for (const char* reply : {"#STC1:000041;#", "#STA:000041,T;TM:261209143005;A00:45.20;K01:1000",
                              "#STA:000041,T;K01:100000000001000;O01:10;#\r\n"}) {
      SendAndReply("135791#STATUS#", code, reply);
      EXPECT_EQ(exchange.state().result, kResultDataError) << code << " " << reply;
    }
  }
  EXPECT_FALSE(exchange.status_read());
  EXPECT_EQ(exchange.device_context().relay_count, 0);
  EXPECT_THAT(listener.events, IsEmpty());
}

TEST_F(ExchangeTest, VersionTextGoesToTheInfoBox) {
  SendAndReply("135791#CHECKVR%", 10001, "Vexa-T V2.13 Build 260105");
  EXPECT_THAT(listener.events, ElementsAre("info:Vexa-T V2.13 Build 260105"));
  EXPECT_EQ(exchange.state().result, kResultSuccess);
}

TEST_F(ExchangeTest, PlainSetResultsForEverySetCode) {
  for (int code : {12002, 12005, 12207, 12212, 13001, 14001, 14003, 16001, 19000, 19019}) {
    SendAndReply("246802#X#", code, "xx Set success! xx");
    EXPECT_EQ(exchange.state().result, kResultSuccess) << code;
    SendAndReply("246802#X#", code, "SET fail!");
    EXPECT_EQ(exchange.state().result, kResultFail) << code;
    SendAndReply("246802#X#", code, "what?");
    EXPECT_EQ(exchange.state().result, kResultDataError) << code;
    EXPECT_FALSE(exchange.busy());
  }
  // Only the batch step tells its page.
  EXPECT_THAT(listener.events,
              ElementsAre("batch-result:Command Success", "batch-result:Command Fail ",
                          "batch-result:Data Error"));
}

TEST_F(ExchangeTest, CalibrationDataRecordAndAlarmTextRoutes) {
  SendAndReply("246802#X#", 12000, "SET fail!");
  EXPECT_EQ(exchange.state().result, kResultFail);
  SendAndReply("246802#X#", 12001, "anything");
  EXPECT_EQ(exchange.state().result, kResultSuccess);
  SendAndReply("246802#R#", 15001, "#STD:000041,T;T:1;#");
  SendAndReply("246802#R#", 15001, "#STA:000041,T;#");
  SendAndReply("246802#R#", 15001, "nothing");
  EXPECT_EQ(exchange.state().result, kResultDataError);
  SendAndReply("135791#SMS:03#", 19103, "1,TANK ALRM!");
  EXPECT_THAT(listener.events, ElementsAre("calibration:SET fail!", "calibration:anything",
                                           "records:#STD:000041,T;T:1;#",
                                           "readings:#STA:000041,T;#", "alarm-text:1,TANK ALRM!"));
}

TEST_F(ExchangeTest, CodeWithoutHandlerEndsByTimeOut) {
  SendAndReply("246802#X#", 17000, "Set success!");
  EXPECT_TRUE(exchange.busy());
  EXPECT_EQ(TickToEnd(), 402);
  EXPECT_EQ(exchange.progress().status_text, "Command Time Out");
}

TEST_F(ExchangeTest, TextWhileIdleIsDiscardedEvenFromTheDataLog) {
  exchange.OnReceived("#STA:000041,T;#");
  EXPECT_THAT(listener.data_log, IsEmpty());
  EXPECT_THAT(listener.events, IsEmpty());
}

TEST_F(ExchangeTest, ReplyAfterTheCommandFinishedIsDiscarded) {
  ASSERT_TRUE(exchange.SendCommand("135791#CHEACK1#", 10002));
  exchange.RequestStop();
  EXPECT_FALSE(exchange.Tick());
  EXPECT_EQ(exchange.progress().status_text, "Command Time Out");
  exchange.OnReceived("#STC1:000041;#");
  EXPECT_THAT(listener.events, IsEmpty());
  EXPECT_THAT(listener.data_log, IsEmpty());
}

TEST_F(ExchangeTest, CalibrationAndDataRecordCodesStayPendingForLateReplies) {
  for (int code : {12000, 12001, 15001}) {
    ASSERT_TRUE(exchange.SendCommand("246802#X#", code));
    exchange.RequestStop();
    exchange.Tick();
    EXPECT_EQ(exchange.state().pending_code, code);
  }
  exchange.OnReceived("#STD:000041,T;#");
  EXPECT_THAT(listener.events, ElementsAre("records:#STD:000041,T;#"));
}

TEST_F(ExchangeTest, TimeOutOnRs232After401TicksWithCountdown) {
  ASSERT_TRUE(exchange.SendCommand("135791#STATUS#", 10005));
  EXPECT_TRUE(exchange.progress().visible);
  EXPECT_EQ(exchange.progress().status_text, "Command in progress");
  EXPECT_EQ(exchange.progress().stop_text, "Stop 40");
  for (int tick = 0; tick < 401; ++tick) ASSERT_TRUE(exchange.Tick()) << tick;
  EXPECT_EQ(exchange.progress().stop_text, "Stop 0");
  EXPECT_EQ(exchange.progress().bar, 88);  // 400 * 100 / 450
  EXPECT_FALSE(exchange.Tick());
  EXPECT_FALSE(exchange.progress().visible);
  EXPECT_EQ(exchange.progress().status_text, "Command Time Out");
  EXPECT_FALSE(exchange.progress().lamp_lit);
  EXPECT_EQ(exchange.state().pending_code, kNoPendingCode);
}

TEST_F(ExchangeTest, TimeOutOnGsmAfter901Ticks) {
  UseGsm();
  ASSERT_TRUE(exchange.SendCommand("135791#STATUS#", 10005));
  EXPECT_EQ(exchange.progress().stop_text, "Stop 90");
  exchange.Tick();
  EXPECT_EQ(exchange.progress().stop_text, "Stop 90");
  EXPECT_EQ(TickToEnd(), 901);
  EXPECT_EQ(exchange.progress().status_text, "Command Time Out");
}

TEST_F(ExchangeTest, StopEndsTheWaitAtTheNextTick) {
  ASSERT_TRUE(exchange.SendCommand("135791#STATUS#", 10005));
  for (int i = 0; i < 5; ++i) exchange.Tick();
  exchange.RequestStop();
  EXPECT_FALSE(exchange.Tick());
  EXPECT_EQ(exchange.progress().status_text, "Command Time Out");
  // A new command clears the stop request.
  ASSERT_TRUE(exchange.SendCommand("135791#STATUS#", 10005));
  EXPECT_TRUE(exchange.Tick());
}

TEST_F(ExchangeTest, SuccessLightsTheLampAndEveryResultHasItsText) {
  SendAndReply("246802#X#", 13001, "Set success!");
  EXPECT_FALSE(exchange.Tick());
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_TRUE(exchange.progress().lamp_lit);
  SendAndReply("246802#X#", 13001, "SET fail!");
  exchange.Tick();
  EXPECT_EQ(exchange.progress().status_text, "Command Fail ");
  SendAndReply("135791#STATUS#", 10005, "SMS format is error!");
  exchange.Tick();
  EXPECT_EQ(exchange.progress().status_text, "Data Error");
}

TEST_F(ExchangeTest, FailedWriteEndsAtOnceWithCommunicationError) {
  port.fail_writes = true;
  EXPECT_FALSE(exchange.SendCommand("246802#R#", 15001));
  EXPECT_FALSE(exchange.busy());
  EXPECT_FALSE(exchange.progress().visible);
  EXPECT_EQ(exchange.progress().status_text, "Communication Error");
  EXPECT_EQ(exchange.state().pending_code, kNoPendingCode);
  // A batch step learns it and the batch goes on.
  EXPECT_FALSE(exchange.SendCommand("246802#ST:000042#", 16001));
  EXPECT_THAT(listener.events, ElementsAre("batch-result:Communication Error"));
}

TEST_F(ExchangeTest, WriteOnAClosedPortIsReportedToo) {
  port.open = false;
  commands.ReadStatus();
  EXPECT_EQ(exchange.progress().status_text, "Communication Error");
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(ExchangeTest, LostLineEndsTheCommandInFlightAtOnce) {
  exchange.ConnectionLost();  // idle: nothing to end
  EXPECT_EQ(exchange.progress().status_text, "");
  ASSERT_TRUE(exchange.SendCommand("246802#R#", 15001));
  exchange.ConnectionLost();
  EXPECT_FALSE(exchange.busy());
  EXPECT_EQ(exchange.progress().status_text, "Communication Error");
  EXPECT_EQ(exchange.state().pending_code, kNoPendingCode);
}

// A handled reply finishes its command at once, without waiting for a tick.
TEST_F(ExchangeTest, AHandledReplyFinishesTheCommandAtOnce) {
  struct Case {
    int code;
    std::string reply;
    std::string status;
    int pending_after;
  };
  for (const Case& c : {Case{10002, "#STC1:000041;#", "Command Success", kNoPendingCode},
                        Case{10001, "Vexa-T V2.13", "Command Success", kNoPendingCode},
                        Case{13001, "SET fail!", "Command Fail ", kNoPendingCode},
                        Case{19100, "0,", "Command Success", kNoPendingCode},
                        Case{12000, "Set success!", "Command Success", 12000},
                        Case{12001, "#STA:000041,T;A02:55.0;#", "Command Success", 12001},
                        Case{15001, "#STD:000041,T;T:1;#", "Command Success", 15001}}) {
    SendAndReply("246802#X#", c.code, c.reply);
    EXPECT_FALSE(exchange.busy()) << c.code;
    EXPECT_FALSE(exchange.progress().visible) << c.code;
    EXPECT_EQ(exchange.progress().status_text, c.status) << c.code;
    EXPECT_EQ(exchange.state().pending_code, c.pending_after) << c.code;
  }
}

TEST_F(ExchangeTest, ALaterReplyToAStillPendingCodeReachesItsPageWithoutFinishingAgain) {
  SendAndReply("135791#REDEEM1001011200#", 15001, "#STD:000041,T;T:1;#");
  exchange.OnReceived("nothing");  // the command is over: its result stays shown
  exchange.OnReceived("#STD:000041,T;T:2;#");
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_TRUE(exchange.progress().lamp_lit);
  EXPECT_EQ(exchange.state().pending_code, 15001);
  EXPECT_THAT(listener.events,
              ElementsAre("records:#STD:000041,T;T:1;#", "records:#STD:000041,T;T:2;#"));
}

TEST_F(ExchangeTest, BatchStepHandsItsResultOverOnceWhenItsReplyArrives) {
  SendAndReply("246802#ST:000042#", 16001, "Set success!");
  EXPECT_THAT(listener.events, ElementsAre("batch-result:Command Success"));
  EXPECT_EQ(exchange.state().pending_code, kNoPendingCode);
  EXPECT_FALSE(exchange.Tick());
  SendAndReply("246802#ST:000042#", 16001, "SET fail!");
  EXPECT_THAT(listener.events,
              ElementsAre("batch-result:Command Success", "batch-result:Command Fail "));
}

TEST_F(ExchangeTest, DataLogShowsRoutedTextShortened) {
  SendAndReply("135791#STATUS#", 10005, "#STA:0000411234567,T;A00:1;#");
  EXPECT_THAT(listener.data_log, ElementsAre("#STA:000041;A00:1;#"));
}

}  // namespace
}  // namespace vexa::testing

namespace vexa::testing {
namespace {

// The port learns, with each write, the form of that command's own reply.
TEST_F(ExchangeTest, EveryWriteTellsThePortTheFormOfItsOwnReply) {
  commands.ReadStatus();
  EXPECT_TRUE(port.IsWhole(kStatus));
  EXPECT_FALSE(port.IsWhole(kStatus.substr(0, 30)));
  exchange.OnReceived(kStatus);

  exchange.SendCommand("135791#REDEEM2603081405 20#", kDataRecordCode);
  EXPECT_FALSE(port.IsWhole("#STD:000041,T;TM:100308140500;D:1;T:1;A00:45.0;#"));
  EXPECT_TRUE(port.IsWhole("Password is error!"));
  exchange.OnReceived("Password is error!");

  // Init's second step goes out without a new progress: it carries its own form.
  exchange.SendCommand("246802#RESET#", kInitCode);
  exchange.OnReceived("initialize succesed!");
  ASSERT_EQ(port.writes.size(), 4u);
  EXPECT_TRUE(port.IsWhole("Set success!"));

  exchange.OnReceived("Set success!");
  UseGsm();
  commands.ReadGroup(3);
  EXPECT_TRUE(port.IsWhole("AT+BJSD=13,+491701000041,135791#CHEACK3#\r\n"));
  EXPECT_TRUE(port.IsWhole("#STA:000041;COUT2:00000000000000000000000000;#"));
}

// No reply is as long as a burst cut from a line that never paused.
TEST_F(ExchangeTest, AFloodIsToldAndNeverTakenForAReply) {
  const std::string cut = "#STD:000041,T;TM:100308140500;" + std::string(kMaxBurstSize, 'x');
  exchange.OnReceived(cut);  // no command waits
  exchange.SendCommand("135791#REDEEM260308140520#", kDataRecordCode);
  exchange.OnReceived(cut);
  ASSERT_EQ(listener.data_log.size(), 2u);
  EXPECT_EQ(listener.data_log[0], listener.data_log[1]);
  EXPECT_THAT(listener.data_log[0],
              ::testing::StartsWith("The line is flooding: 2097182 bytes without a pause"));
  EXPECT_THAT(listener.data_log[0], ::testing::EndsWith("It began: #STD:000041,T;TM:100308140500;" +
                                                        std::string(34, 'x')));
  EXPECT_THAT(listener.events, IsEmpty());
  EXPECT_TRUE(exchange.busy());  // still waiting for a reply
}

}  // namespace
}  // namespace vexa::testing
