// Batch runs against the simulated logger over a real pseudo-terminal, with
// the worker on its own thread: the program's threads as they run for real,
// so that ThreadSanitizer sees them.
#include <gmock/gmock.h>

#include <filesystem>

#include "batch/config_file.h"
#include "protocol/date_time_setting.h"
#include "support/batch_rig.h"

namespace vexa::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAreArray;

// The window's 100 ms, shortened: a silent logger's 401 ticks take 2 s.
constexpr auto kTick = 5ms;

std::size_t ThreadCount() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator("/proc/self/task")) {
    ++count;
  }
  return count;
}

std::string AlarmPhoneCommand(int n) {
  return "246802#AP1:+4917010000" + std::to_string(10 + n) + "!#";
}

class BatchAgainstSimulator : public ::testing::Test {
 protected:
  // `count` alarm phone commands under codes 19000 on, listed and checked.
  void ListCommands(int count) {
    for (int n = 0; n < count; ++n) rig->buffer.RecordCommand(19000 + n, AlarmPhoneCommand(n));
    rig->setup.Refresh(true);
  }
  std::vector<std::string> Statuses() const {
    std::vector<std::string> statuses;
    for (const BatchRow& row : rig->setup.list().rows()) statuses.push_back(row.status);
    return statuses;
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> written;
    for (const RigPort::Write& write : rig->port.writes) written.push_back(write.bytes);
    return written;
  }

  std::unique_ptr<BatchRig> rig = std::make_unique<BatchRig>(sim::SimulatorOptions{}, kTick);
};

TEST_F(BatchAgainstSimulator, TwentyCommandsEachEndWithTheirOwnResult) {
  ASSERT_TRUE(rig->connected());
  constexpr int kCommands = 20, kOutOfRange = 5, kSilent = 8, kFailedWrite = 13;
  ListCommands(kCommands);
  rig->buffer.RecordCommand(19000 + kOutOfRange, "246802#SA:9#");
  rig->setup.Refresh(true);
  rig->port.fail_write = kFailedWrite;
  rig->port.before_write = [this](int attempt) {
    if (attempt == kSilent) rig->simulator->set_faults({.silent = true});
    if (attempt == kSilent + 1) rig->simulator->set_faults({});
  };
  const std::size_t threads_before = ThreadCount();

  ASSERT_TRUE(rig->setup.Start(false));
  EXPECT_TRUE(rig->setup.running());
  ASSERT_TRUE(rig->RunBatch(120s)) << rig->setup.run().Summary();

  std::vector<std::string> expected(kCommands, "Command Success");
  expected[kOutOfRange] = "Command Fail ";
  expected[kSilent] = "Command Time Out";
  expected[kFailedWrite] = "Communication Error";
  EXPECT_THAT(Statuses(), ElementsAreArray(expected));

  // Every command but the failed one went out once, in list order.
  std::vector<std::string> sent;
  for (const BatchRow& row : rig->setup.list().rows()) {
    if (row.number != "14") sent.push_back(row.command);
  }
  EXPECT_THAT(Written(), ElementsAreArray(sent));
  EXPECT_EQ(rig->results.size(), static_cast<std::size_t>(kCommands));
  EXPECT_EQ(rig->setup.run().Summary(), "17 of 20 commands succeeded");
  EXPECT_FALSE(rig->setup.running());
  EXPECT_EQ(ThreadCount(), threads_before);
  EXPECT_TRUE(rig->notifier.messages.empty()) << rig->notifier.Last();
}

TEST_F(BatchAgainstSimulator, RefusedWhileACommandIsInFlightOrWithoutAPort) {
  ListCommands(2);
  ASSERT_TRUE(rig->exchange.SendCommand("135791#STATUS#", 10005));
  EXPECT_FALSE(rig->setup.Start(false));
  EXPECT_EQ(rig->notifier.Last(), "Command is in progress...");

  rig->serial_port.ClosePort();
  EXPECT_FALSE(rig->setup.Start(false));
  EXPECT_EQ(rig->notifier.Last(), "Before Batch Setup ,please Connect!");
  EXPECT_THAT(Statuses(), ElementsAreArray({"", ""}));
  EXPECT_FALSE(rig->setup.running());
}

TEST_F(BatchAgainstSimulator, DisconnectingBetweenCommandsEndsTheRun) {
  ListCommands(3);
  ASSERT_TRUE(rig->setup.Start(false));
  ASSERT_TRUE(rig->loop.RunUntil([this] { return rig->results.size() == 1; }, 20s));
  rig->serial_port.ClosePort();
  ASSERT_TRUE(rig->RunBatch(20s));
  EXPECT_THAT(Statuses(), ElementsAreArray({"Command Success", "Not Sent", "Not Sent"}));
  EXPECT_EQ(rig->setup.run().Summary(), "1 of 3 commands succeeded, 2 not sent");
  EXPECT_EQ(rig->port.writes.size(), 1u);
}

TEST_F(BatchAgainstSimulator, TheEngineersOwnCommandBetweenStepsIsNotTakenForOne) {
  ListCommands(2);
  ASSERT_TRUE(rig->setup.Start(false));
  ASSERT_TRUE(rig->loop.RunUntil([this] { return rig->results.size() == 1; }, 20s));
  ASSERT_TRUE(rig->exchange.SendCommand("135791#STATUS#", 10005));
  // The page's button watch sends a step that had to wait.
  ASSERT_TRUE(rig->loop.RunUntil(
      [this] {
        rig->setup.SendWaitingStep();
        return rig->setup.run().ended;
      },
      20s));
  EXPECT_THAT(Written(), ElementsAreArray({AlarmPhoneCommand(0), std::string("135791#STATUS#"),
                                           AlarmPhoneCommand(1)}));
  EXPECT_THAT(Statuses(), ElementsAreArray({"Command Success", "Command Success"}));
}

// The clock setting replays the PC's time at sending, not the time "#1"
// read or a file kept; the row and the report show what went out.
TEST_F(BatchAgainstSimulator, DateAndTimeGoOutAsThePcsTimeAtSending) {
  const std::string stale = "246802#TM:0901010000#";
  rig->buffer.RecordCommand(11002, "246802#ST:000041#");
  rig->buffer.RecordCommand(11004, stale);
  const std::string file = rig->folder.File("Datalogger_Setup.cfg");
  rig->setup.Refresh(true);
  ASSERT_TRUE(SaveConfigFile(file, rig->setup.list().rows(), 0));
  ASSERT_EQ(LoadConfigFile(file, rig->buffer).outcome, ConfigLoad::kLoaded);
  rig->setup.Refresh(true);

  const std::string before = DateTimeSettingValue(std::time(nullptr));
  ASSERT_TRUE(rig->setup.Start(false));
  ASSERT_TRUE(rig->RunBatch(20s)) << rig->setup.run().Summary();
  const std::string after = DateTimeSettingValue(std::time(nullptr));

  ASSERT_EQ(Written().size(), 2u);
  const std::string sent = Written()[1];
  EXPECT_TRUE(sent == "246802#TM:" + before + "#" || sent == "246802#TM:" + after + "#") << sent;
  const BatchRow& row = rig->setup.list().rows()[1];
  EXPECT_EQ(row.command, sent);
  EXPECT_EQ(row.parameters, sent.substr(10, 10));
  EXPECT_EQ(rig->setup.run().steps[1].parameters, row.parameters);
  EXPECT_EQ(row.status, "Command Success");
  // The buffer keeps what was read, so that the next run takes its own time.
  EXPECT_EQ(rig->buffer.Entries().at(11004), stale);
}

TEST_F(BatchAgainstSimulator, ClosingDuringARunEndsTheWorker) {
  ListCommands(3);
  const std::size_t threads_before = ThreadCount();
  ASSERT_TRUE(rig->setup.Start(false));
  ASSERT_TRUE(rig->loop.RunUntil([this] { return !rig->port.writes.empty(); }, 20s));
  rig.reset();
  EXPECT_LT(ThreadCount(), threads_before);  // its port and simulator went too
}

TEST(BatchRun, SummaryAndReport) {
  BatchRun run;
  run.logger_id = "000041";
  run.steps = {{0, 11002, "01", "Station ID", "000099", "Command Sending"},
               {1, 11009, "02", "Alarm Phone1", "+49, 1", "Ready"}};
  run.sent = 1;
  EXPECT_EQ(run.Summary(), "Sending command 1 of 2");
  EXPECT_EQ(run.ProvisionedId(), "000041");

  run.steps[0].status = "Command Success";
  run.steps[0].finished_at = 1;
  run.steps[1].status = "Command Time Out";
  run.ended = true;
  EXPECT_EQ(run.Summary(), "1 of 2 commands succeeded");
  EXPECT_EQ(run.ProvisionedId(), "000099");
  const auto report = run.ReportRows();
  ASSERT_EQ(report.size(), 3u);
  EXPECT_THAT(report[0],
              ElementsAreArray({"Logger ID", "Time", "No.", "Object", "Parameters", "Status"}));
  EXPECT_EQ(report[1][0], "000099");
  EXPECT_FALSE(report[1][1].empty());
  EXPECT_THAT(report[2],
              ElementsAreArray({"000099", "", "02", "Alarm Phone1", "+49, 1", "Command Time Out"}));

  run.steps.resize(1);
  EXPECT_EQ(run.Summary(), "1 of 1 command succeeded");
}

}  // namespace
}  // namespace vexa::testing
