// When a reply ends: the exchange over a real pseudo-terminal whose far end the
// test plays, piece by piece, with pauses of its choosing.
#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "burst_queue.h"
#include "exchange_fixture.h"
#include "link/command_codes.h"
#include "link/pty_pair.h"
#include "link/serial_port.h"
#include "settings/setting_codes.h"

namespace vexa::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using ::testing::ElementsAre;

const std::string kStatus =
    "#STA:000041,T;TM:261209143005;A00:45.20;A13:20.50;K01:100000000001000;O01:10;#";
const std::string kGroup1 = "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;#";
const std::string kGroup2 = "#STC2:000041;AD00:100.0,0.000,0.000,1,80.00,20.00;PA:023400;#";
const std::string kGroup3 = "#STC3:000041;COUT1:10000000000000000001000000;#";
const std::string kRecord1 = "#STD:000041,T;TM:100308140500;D:1;T:2;A00:45.0|46.1;";
const std::string kRecord2 = "#STD:000041,T;TM:100308141500;D:1;T:1;A00:47.2;";

class ReplyEndTest : public LoggerFixture {
 protected:
  ReplyEndTest() {
    exchange.set_device_id("000041");
    EXPECT_EQ(serial_.InitPort(pty_.slave_path(), 9600), 1);
    EXPECT_EQ(serial_.OpenPort(), 1);
  }

  // The far end takes the command just written and answers with these pieces,
  // `pause` apart. Returns when the last piece began to go out: the port may
  // read it before the write returns.
  Clock::time_point Answer(const std::vector<std::string>& pieces,
                           std::chrono::milliseconds pause = 0ms) {
    const std::string& command = exchange.state().last_command;
    EXPECT_EQ(pty_.Receive(command.size(), 1s), command);
    Clock::time_point last_piece = Clock::now();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (i > 0) std::this_thread::sleep_for(pause);
      last_piece = Clock::now();
      pty_.Send(pieces[i]);
    }
    return last_piece;
  }

  // Hands the bursts to the exchange as the window's queued events would, until
  // nothing more comes for `quiet`; returns how many there were.
  std::size_t Pump(std::chrono::milliseconds quiet = 600ms) {
    std::size_t count = 0;
    while (auto burst = bursts_.Pop(quiet)) {
      exchange.OnReceived(*burst);
      ++count;
    }
    return count;
  }

  // Hands over the first burst; the time from the reply's last byte to its hand-over.
  Clock::duration HandOver(Clock::time_point last_byte) {
    const auto burst = bursts_.Pop(2s);
    EXPECT_TRUE(burst);
    if (burst) exchange.OnReceived(*burst);
    return bursts_.last_push() - last_byte;
  }

  PtyPair pty_;
  TempDir lock_dir_;
  BurstQueue bursts_;
  SerialPort serial_{
      [this](std::string burst) { bursts_.Push(std::move(burst)); }, {}, lock_dir_.path()};
  CommandExchange exchange{serial_, phone_book, command_buffer, setup_log, notifier, listener};
  MainWindowCommands commands{exchange, phone_book, notifier, listener};
};

TEST_F(ReplyEndTest, AStructuredReplyIsHandedOverWithinTheGuard) {
  struct Read {
    int group;  // 0 for the status
    const std::string& reply;
    const char* event;
  };
  std::vector<Clock::duration> delays;
  commands.SelectDevice("000041");
  delays.push_back(HandOver(Answer({kStatus})));
  EXPECT_THAT(listener.events, ElementsAre("first-status:" + kStatus));
  for (int round = 0; round < 2; ++round) {
    for (const Read& read : {Read{0, kStatus, "later-status:"}, Read{1, kGroup1, "group1:"},
                             Read{2, kGroup2, "group2:"}, Read{3, kGroup3, "group3:"}}) {
      if (read.group == 0) {
        commands.ReadStatus();
      } else {
        commands.ReadGroup(read.group);
      }
      delays.push_back(HandOver(Answer({read.reply})));
      EXPECT_EQ(exchange.progress().status_text, "Command Success") << read.event;
      EXPECT_FALSE(exchange.progress().visible);
      EXPECT_EQ(listener.events.back(), read.event + read.reply);
    }
  }
  std::sort(delays.begin(), delays.end());
  EXPECT_GE(delays.front(), 20ms);
  EXPECT_LT(delays[delays.size() / 2], 120ms);  // not the full 200 ms pause
}

TEST_F(ReplyEndTest, AReplyThatPausesAfterAnInnerMarkIsStillReadWhole) {
  commands.SelectDevice("000041");
  HandOver(Answer({kStatus}));
  listener.events.clear();
  // "#" inside a value (an alarm phone that hides the caller's number), then a
  // pause longer than the guard but within the burst.
  const std::string head = "#STC1:000041;TM:2612091430;AP1:*31#";
  const std::string tail = "+491709876543;AP2:;#";
  commands.ReadGroup(1);
  Answer({head, tail}, 80ms);
  EXPECT_EQ(Pump(), 1u);
  EXPECT_THAT(listener.events, ElementsAre("page:0", "group1:" + head + tail));
  EXPECT_EQ(exchange.progress().status_text, "Command Success");

  // Stored records are never taken as ended at a block's end.
  listener.events.clear();
  exchange.SendCommand("135791#REDEEM260308140520#", kDataRecordCode);
  Answer({kRecord1 + "#", kRecord2.substr(1) + "#"}, 80ms);
  EXPECT_EQ(Pump(), 1u);
  EXPECT_THAT(listener.events, ElementsAre("records:" + kRecord1 + kRecord2 + "#"));
}

TEST_F(ReplyEndTest, StoredRecordsInSeveralBurstsAreAllShown) {
  exchange.SendCommand("135791#REDEEM260308140520#", kDataRecordCode);
  Answer({kRecord1 + "#", kRecord2 + "#", kRecord1 + kRecord2 + "#"}, 400ms);
  EXPECT_EQ(Pump(), 3u);
  EXPECT_THAT(listener.events, ElementsAre("records:" + kRecord1 + "#", "records:" + kRecord2 + "#",
                                           "records:" + kRecord1 + kRecord2 + "#"));
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_EQ(exchange.state().pending_code, kDataRecordCode);
}

// As on a line with a pause after the text: the command ends with the text, and
// what follows after the guard is the next text, handled as any late one.
TEST_F(ReplyEndTest, AFixedTextFollowedByMoreBytesIsHandledAsBefore) {
  exchange.SendCommand("246802#SA:3#", kLoggingIntervalCode);
  Answer({"Set success!\r\n"});  // the line end comes at once: one text
  EXPECT_EQ(Pump(), 1u);
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_THAT(listener.data_log, ElementsAre("Set success!\r\n"));

  listener.data_log.clear();
  exchange.SendCommand("246802#SA:3#", kLoggingIntervalCode);
  Answer({"SET fail!", "\r\n"}, 80ms);
  EXPECT_EQ(Pump(), 2u);
  EXPECT_EQ(exchange.progress().status_text, "Command Fail ");
  EXPECT_THAT(listener.data_log, ElementsAre("SET fail!"));  // the rest came while idle
  EXPECT_EQ(exchange.state().pending_code, kNoPendingCode);

  // A code that stays pending routes the rest again, as after a pause.
  listener.data_log.clear();
  exchange.SendCommand("246802#AD02:100.0#", kCalibrationWriteCode);
  Answer({"Set success!", "\r\n"}, 80ms);
  EXPECT_EQ(Pump(), 2u);
  EXPECT_THAT(listener.events, ElementsAre("calibration:Set success!", "calibration:\r\n"));
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
}

TEST_F(ReplyEndTest, AnUnknownReplyKeepsTheFullPause) {
  commands.ReadVersion();
  const auto delay = HandOver(Answer({"Vexa-T V2.13 Build 260105"}));
  EXPECT_GE(delay, 200ms);
  EXPECT_THAT(listener.events, ElementsAre("page:0", "info:Vexa-T V2.13 Build 260105"));
  EXPECT_FALSE(bursts_.Pop(0ms));
}

}  // namespace
}  // namespace vexa::testing
