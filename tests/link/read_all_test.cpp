#include "link/read_all.h"

#include <gmock/gmock.h>

#include <optional>

#include "exchange_fixture.h"
#include "settings/group_commands.h"
#include "support/group2_reply.h"
#include "support/logger_replies.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class ReadAllTest : public ExchangeTest {
 protected:
  ReadAllTest() {
    listener.on_command_finished = [this](const FinishedCommand& f) {
      read_all.CommandFinished(f);
    };
  }

  bool Start() {
    return read_all.Start([this](const ReadAllOutcome& o) { outcome = o; },
                          [this](const ReadAllStep& step) {
                            steps.push_back(std::string(step.name) + " " +
                                            std::to_string(step.number) + "/" +
                                            std::to_string(step.total));
                          });
  }

  ReadAll read_all{commands, exchange, phone_book};
  std::optional<ReadAllOutcome> outcome;
  std::vector<std::string> steps;
};

TEST_F(ReadAllTest, FourCommandsEachAsSoonAsTheOneBeforeEnded) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(read_all.running());
  for (const char* reply : {kStatusReply, kGroup1Reply, kGroup2Reply}) {
    EXPECT_FALSE(outcome);
    exchange.OnReceived(reply);  // no tick between: the next goes out at once
  }
  EXPECT_THAT(port.writes, ElementsAre("135791#STATUS#", "135791#CHEACK1#", "135791#CHEACK2#",
                                       "135791#CHEACK3#"));
  EXPECT_TRUE(exchange.busy());
  exchange.OnReceived(kGroup3Reply);

  ASSERT_TRUE(outcome);
  EXPECT_FALSE(read_all.running());
  EXPECT_TRUE(outcome->succeeded);
  EXPECT_EQ(outcome->stopped_at, "");
  EXPECT_EQ(outcome->status_text, "Command Success");
  EXPECT_EQ(outcome->station_id, "000041");
  EXPECT_THAT(steps, ElementsAre("Status 1/4", "#1 2/4", "#2 3/4", "#3 4/4"));
  EXPECT_FALSE(exchange.Tick());
  EXPECT_EQ(exchange.progress().status_text, "Command Success");

  // What the pages record, with the relay count the status told.
  RecordedCommands expected;
  for (int group = 1; group <= 3; ++group) {
    const char* reply[] = {kGroup1Reply, kGroup2Reply, kGroup3Reply};
    expected.Add(GroupCommands(group, reply[group - 1], kSetup, 2));
  }
  EXPECT_EQ(outcome->recorded, expected);
  EXPECT_EQ(outcome->recorded.commands.at(11002), "246802#ST:000041#");
  EXPECT_EQ(outcome->recorded.commands.at(14023), "246802#OC2:00000000000000000000000000#");

  // Every reply reached the listener as its button's does.
  std::vector<std::string> kinds;
  for (const std::string& event : listener.events) kinds.push_back(event.substr(0, 8));
  EXPECT_THAT(kinds, ElementsAre("first-st", "page:0", "group1:#", "page:1", "group2:#", "page:3",
                                 "group3:#"));
}

TEST_F(ReadAllTest, StopsAtTheFirstCommandThatDoesNotSucceed) {
  const struct {
    int failing;  // 0 Status, 1 to 3 the groups
    const char* reply;
    const char* status;
  } cases[] = {
      {0, "Password is error!", "Password Error"},
      {1, "#STC2:000041;#", "Data Error"},  // another group's reply
      {2, "SMS format is error!", "Data Error"},
      {3, nullptr, "Command Time Out"},  // the logger stays silent
  };
  const char* good[] = {kStatusReply, kGroup1Reply, kGroup2Reply};
  for (const auto& c : cases) {
    port.writes.clear();
    outcome.reset();
    ASSERT_TRUE(Start());
    for (int step = 0; step < c.failing; ++step) exchange.OnReceived(good[step]);
    if (c.reply != nullptr) {
      exchange.OnReceived(c.reply);
    } else {
      TickToEnd();
    }
    ASSERT_TRUE(outcome) << c.failing;
    EXPECT_FALSE(outcome->succeeded);
    EXPECT_EQ(outcome->stopped_at,
              (std::vector<std::string>{"Status", "#1", "#2", "#3"}[c.failing]));
    EXPECT_EQ(outcome->status_text, c.status);
    EXPECT_EQ(exchange.progress().status_text, c.status);  // as the exchange ended it
    EXPECT_EQ(port.writes.size(), static_cast<std::size_t>(c.failing + 1));
    EXPECT_FALSE(exchange.busy());
  }
}

TEST_F(ReadAllTest, StopButtonEndsTheReadAll) {
  ASSERT_TRUE(Start());
  exchange.OnReceived(kStatusReply);
  exchange.RequestStop();
  EXPECT_FALSE(exchange.Tick());
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->stopped_at, "#1");
  EXPECT_EQ(outcome->status_text, "Command Time Out");
  EXPECT_EQ(outcome->station_id, "000041");
  EXPECT_THAT(outcome->recorded.commands, IsEmpty());
}

TEST_F(ReadAllTest, RefusedAsTheButtonsAre) {
  // Busy with another command; then while a read-all runs.
  ASSERT_TRUE(exchange.SendCommand("135791#CHECKVR%", 10001));
  EXPECT_FALSE(Start());
  EXPECT_EQ(notifier.Last(), "Command is Progress , Don't Disconnect!");
  exchange.OnReceived("Vexa-T V2.13");
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Start());
  exchange.RequestStop();
  exchange.Tick();

  // Without a device.
  RecordingNotifier quiet;
  PhoneBookStore empty_book(book_path(), quiet);
  CommandExchange other_exchange(port, empty_book, command_buffer, setup_log, notifier, listener);
  MainWindowCommands other_commands{other_exchange, empty_book, notifier, listener};
  ReadAll other{other_commands, other_exchange, empty_book};
  EXPECT_FALSE(other.Start([](const ReadAllOutcome&) {}));
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Select Device ID!");
  EXPECT_FALSE(other.running());

  // Disconnected: the status query cannot be written, which ends it at once.
  outcome.reset();
  steps.clear();
  port.open = false;
  const std::size_t written = port.writes.size();
  EXPECT_TRUE(Start());
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->stopped_at, "Status");
  EXPECT_EQ(outcome->status_text, "Communication Error");
  EXPECT_THAT(steps, IsEmpty());
  EXPECT_EQ(port.writes.size(), written);
  EXPECT_FALSE(read_all.running());
}

TEST_F(ReadAllTest, OnTheGsmRouteEachCommandIsWrapped) {
  UseGsm();
  ASSERT_TRUE(Start());
  exchange.OnReceived("AT+BJSD=13,+491701000041,135791#STATUS#\r\n");  // the modem's echo
  exchange.OnReceived("#STA:000041,T;L:0020;K01:10;O01:10;#");         // the whole reply in one SMS
  ASSERT_EQ(port.writes.size(), 2u);
  EXPECT_EQ(port.writes[1], "AT+BJSD=13,+491701000041,135791#CHEACK1#\r\n");
  EXPECT_THAT(listener.events, ElementsAre(StartsWith("first-status:"), "page:0"));
}

// The next command may start from inside the notice of the last one's end;
// the tick that ended it must then keep the timer for the new one.
TEST_F(ExchangeTest, ACommandSentWhenTheLastEndedKeepsItsTimer) {
  std::vector<FinishedCommand> finished;
  listener.on_command_finished = [&](const FinishedCommand& f) {
    finished.push_back(f);
    if (finished.size() == 1) exchange.SendCommand("135791#STATUS#", 10005);
  };
  ASSERT_TRUE(exchange.SendCommand("135791#CHEACK1#", 10002));
  exchange.RequestStop();
  EXPECT_TRUE(exchange.Tick());
  EXPECT_TRUE(exchange.busy());
  EXPECT_EQ(exchange.progress().stop_text, "Stop 40");
  exchange.OnReceived("#STA:000041,T;#");
  EXPECT_FALSE(exchange.Tick());

  ASSERT_EQ(finished.size(), 2u);
  EXPECT_EQ(finished[0].code, 10002);
  EXPECT_EQ(finished[0].status_text, "Command Time Out");
  EXPECT_EQ(finished[0].reply, "");
  EXPECT_EQ(finished[1].code, 10005);
  EXPECT_EQ(finished[1].result, kResultSuccess);
  EXPECT_EQ(finished[1].reply, "#STA:000041,T;#");
}

}  // namespace
}  // namespace vexa::testing
