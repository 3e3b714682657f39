// The exchange over a real pseudo-terminal, talking to the simulated logger
// directly or through the simulated GSM modem.
#include <gmock/gmock.h>

#include <chrono>

#include "burst_queue.h"
#include "exchange_fixture.h"
#include "link/read_all.h"
#include "link/serial_port.h"
#include "sim/simulator_session.h"

namespace vexa::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class EndToEndTest : public LoggerFixture {
 protected:
  // The modem's texts `part_delay` apart: far enough for the port to see each on its own.
  void Connect(bool gsm, sim::Faults faults = {}, std::chrono::milliseconds part_delay = 600ms) {
    session_ =
        sim::SimulatorSession::Start({.gsm = gsm, .faults = faults, .part_delay = part_delay});
    ASSERT_TRUE(session_);
    ASSERT_EQ(serial_.InitPort(session_->slave_path(), 9600), 1);
    ASSERT_EQ(serial_.OpenPort(), 1);
    exchange.set_transport_mode(gsm ? TransportMode::kGsmModem : TransportMode::kRs232);
  }

  // Hands received bursts to the exchange while it is busy, as the window's
  // queued events would, until nothing more comes for `quiet`.
  void Pump(std::chrono::milliseconds quiet = 3s) {
    while (exchange.busy()) {
      auto burst = bursts_.Pop(quiet);
      if (!burst) return;
      transcript.push_back(*burst);
      exchange.OnReceived(*burst);
    }
  }

  // Pumps the replies, then lets the next tick finish the command.
  std::string Outcome() {
    Pump();
    exchange.Tick();
    return exchange.progress().status_text;
  }

  std::vector<std::string> transcript;
  BurstQueue bursts_;
  std::unique_ptr<sim::SimulatorSession> session_;
  SerialPort serial_{[this](std::string burst) { bursts_.Push(std::move(burst)); }};
  CommandExchange exchange{serial_, phone_book, command_buffer, setup_log, notifier, listener};
  MainWindowCommands commands{exchange, phone_book, notifier, listener};
};

TEST_F(EndToEndTest, Rs232StatusThenGroup2) {
  Connect(false);
  commands.SelectDevice("000041");
  EXPECT_EQ(Outcome(), "Command Success");
  EXPECT_EQ(exchange.device_context().digital_input_count, 15);
  EXPECT_EQ(exchange.device_context().relay_count, 2);

  commands.ReadGroup(2);
  EXPECT_EQ(Outcome(), "Command Success");
  ASSERT_EQ(listener.events.size(), 3u);
  EXPECT_THAT(listener.events[0], StartsWith("first-status:#STA:000041,T;"));
  EXPECT_EQ(listener.events[1], "page:1");
  EXPECT_THAT(listener.events[2], StartsWith("group2:#STC2:000041;AD00:"));
}

TEST_F(EndToEndTest, GsmStatusThenGroup2ThroughTheModem) {
  Connect(true);
  commands.SelectDevice("000041");
  EXPECT_EQ(Outcome(), "Command Success");
  EXPECT_EQ(exchange.device_context().relay_count, 2);

  transcript.clear();
  commands.ReadGroup(2);
  EXPECT_EQ(Outcome(), "Command Success");
  // Echo, confirmation, then the reply in several short messages.
  ASSERT_GE(transcript.size(), 4u);
  EXPECT_THAT(transcript[0], HasSubstr("AT+BJSD"));
  EXPECT_THAT(transcript[1], HasSubstr("message send"));
  EXPECT_THAT(transcript[2], StartsWith("#STC2:000041;L:"));
  EXPECT_THAT(transcript[3], StartsWith("#STA:000041;"));
  EXPECT_THAT(listener.events.back(), StartsWith("group2:#STC2:000041;L:"));
  EXPECT_THAT(listener.events.back(), HasSubstr("PA:023400;#"));
  for (const auto& burst : transcript) EXPECT_LE(burst.size(), 160u + 40u) << burst;
}

// SMS carry no sequence number. With the second and third of "#2" delivered
// in each other's place the joined reply has its announced length and its end
// mark, and its records read, each with another's values: no page may take it.
TEST_F(EndToEndTest, GsmPartsOutOfOrderAreADataError) {
  Connect(true, {.swap_parts = true});
  commands.SelectDevice("000041");  // a status short enough for two SMS stays in order
  EXPECT_EQ(Outcome(), "Command Success");

  listener.events.clear();
  transcript.clear();
  commands.ReadGroup(2);
  EXPECT_EQ(Outcome(), "Data Error");
  EXPECT_THAT(listener.events, ElementsAre("page:1"));
  ASSERT_EQ(transcript.size(), 6u);  // echo, confirmation, four SMS
  EXPECT_THAT(listener.data_log.back(), StartsWith("#STC2:000041;L:"));
  EXPECT_THAT(listener.data_log.back(), EndsWith(";PA:023400;#"));
}

TEST_F(EndToEndTest, SilentLoggerTimesOut) {
  Connect(false, {.silent = true});
  commands.ReadStatus();
  Pump(1s);
  int ticks = 1;
  while (exchange.Tick()) ++ticks;
  EXPECT_EQ(ticks, 402);
  EXPECT_EQ(exchange.state().result, kResultTimeOut);
}

TEST_F(EndToEndTest, WrongPasswordEndsAsPasswordError) {
  phone_book.UpdatePasswords("000041", "000000", "000000");
  Connect(false);
  commands.ReadGroup(1);
  EXPECT_EQ(Outcome(), "Password Error");
  command_buffer.Clear();
  exchange.SendCommand("000000#TM:2612091430#", 11004);
  EXPECT_EQ(Outcome(), "Password Error");
  EXPECT_THAT(listener.data_log, ElementsAre("Password is error!", "Password is error!"));
}

// A quick modem: its echo, its confirmation and the logger's short answer
// reach the port as one burst.
TEST_F(EndToEndTest, GsmQuickModemsCombinedBurstIsAnswered) {
  Connect(true, {}, 0ms);
  exchange.SendCommand("246802#SA:3#", 11005);
  EXPECT_EQ(Outcome(), "Command Success");
  commands.ReadVersion();
  EXPECT_EQ(Outcome(), "Command Success");
  ASSERT_EQ(transcript.size(), 2u);
  EXPECT_THAT(transcript[1], StartsWith("AT+BJSD="));
  EXPECT_THAT(transcript[1], HasSubstr("message send"));
  EXPECT_THAT(listener.events, ElementsAre("page:0", StartsWith("info:Vexa-T V")));
}

TEST_F(EndToEndTest, StatusCutOffBeforeItsEndIsADataError) {
  Connect(false, {.truncated = true});
  commands.SelectDevice("000041");
  EXPECT_EQ(Outcome(), "Data Error");
  EXPECT_FALSE(exchange.status_read());
  EXPECT_EQ(exchange.device_context().relay_count, 0);
}

// Read All on either route: four commands, one after the other, and what the
// logger holds recorded as the pages record it.
TEST_F(EndToEndTest, ReadAllOnBothRoutes) {
  for (const bool gsm : {false, true}) {
    SCOPED_TRACE(gsm ? "GSM" : "RS232");
    Connect(gsm, {}, 300ms);
    ReadAll read_all(commands, exchange, phone_book);
    listener.on_command_finished = [&](const FinishedCommand& f) { read_all.CommandFinished(f); };
    std::optional<ReadAllOutcome> outcome;
    ASSERT_TRUE(read_all.Start([&](const ReadAllOutcome& o) { outcome = o; }));
    Pump();
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->succeeded) << outcome->stopped_at << ": " << outcome->status_text;
    EXPECT_EQ(outcome->station_id, "000041");
    EXPECT_EQ(outcome->recorded.commands.at(11002), "246802#ST:000041#");
    EXPECT_EQ(outcome->recorded.commands.at(12002), "246802#AD00:100.0,0.000,0.000,1,80.00,20.00#");
    EXPECT_EQ(outcome->recorded.commands.at(13001), "246802#PA:023400#");
    EXPECT_EQ(outcome->recorded.commands.at(14023), "246802#OC2:00000000000000000000000000#");
    EXPECT_EQ(exchange.progress().status_text, "Command Success");
    listener.on_command_finished = nullptr;
    serial_.ClosePort();
  }
}

TEST_F(EndToEndTest, SetCommandIsAppliedAndReadBack) {
  Connect(false);
  exchange.SendCommand("246802#SA:3#", 11005);
  EXPECT_EQ(Outcome(), "Command Success");
  commands.ReadGroup(1);
  EXPECT_EQ(Outcome(), "Command Success");
  EXPECT_THAT(listener.events.back(), HasSubstr(";SA:3;"));
}

}  // namespace
}  // namespace vexa::testing
