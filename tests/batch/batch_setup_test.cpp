// Batch runs against the simulated logger over a real pseudo-terminal, with
// the worker on its own thread: the program's threads as they run for real,
// so that ThreadSanitizer sees them.
#include <gmock/gmock.h>

#include <filesystem>

#include "batch/apply_plan.h"
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

// --- Stop Batch and the stop at a first time-out ------------------------------------------

TEST_F(BatchAgainstSimulator, StopEndsTheCommandInFlightAndSendsNoMore) {
  rig->simulator->set_faults({.silent = true});
  ListCommands(5);
  ASSERT_TRUE(rig->setup.Start(false));
  ASSERT_TRUE(rig->loop.RunUntil([this] { return !rig->port.writes.empty(); }, 20s));
  rig->setup.Stop();
  EXPECT_THAT(Statuses(), ElementsAreArray(
                              {"Command Sending", "Not Sent", "Not Sent", "Not Sent", "Not Sent"}));
  // Its command ends at the next tick, not after 40 s.
  ASSERT_TRUE(rig->RunBatch(1s));
  EXPECT_THAT(Statuses(), ElementsAreArray({"Command Time Out", "Not Sent", "Not Sent", "Not Sent",
                                            "Not Sent"}));
  EXPECT_EQ(rig->setup.run().Summary(), "0 of 5 commands succeeded, 4 not sent");
  EXPECT_EQ(rig->port.writes.size(), 1u);
  EXPECT_FALSE(rig->exchange.busy());

  // Ready again at once; stopped between two steps, the run ends at once. (The
  // simulator first takes the stopped command for the silent logger's.)
  rig->loop.RunUntil([] { return false; }, 100ms);
  rig->simulator->set_faults({});
  ASSERT_TRUE(rig->setup.Start(false));
  ASSERT_TRUE(rig->loop.RunUntil([this] { return rig->results.size() == 3; }, 20s));
  rig->setup.Stop();
  EXPECT_TRUE(rig->setup.run().ended);
  EXPECT_FALSE(rig->setup.running());
  EXPECT_THAT(Statuses(), ElementsAreArray({"Command Success", "Command Success", "Not Sent",
                                            "Not Sent", "Not Sent"}));
  rig->loop.RunUntil([] { return false; }, 50ms);  // the worker's late tasks change nothing
  EXPECT_EQ(rig->port.writes.size(), 3u) << ::testing::PrintToString(Written());
  EXPECT_TRUE(rig->notifier.messages.empty()) << rig->notifier.Last();
}

TEST_F(BatchAgainstSimulator, StopAtFirstTimeOutLeavesTheRestUnsent) {
  const struct {
    const char* failure;
    bool silent;  // else the write fails
  } cases[] = {{"Command Time Out", true}, {"Communication Error", false}};
  for (const auto& c : cases) {
    rig = std::make_unique<BatchRig>(sim::SimulatorOptions{}, kTick);
    ListCommands(4);
    if (c.silent) {
      rig->port.before_write = [this](int attempt) {
        if (attempt == 1) rig->simulator->set_faults({.silent = true});
      };
    } else {
      rig->port.fail_write = 1;
    }
    ASSERT_TRUE(rig->setup.Start(false, {.stop_at_first_time_out = true}));
    ASSERT_TRUE(rig->RunBatch(20s)) << c.failure;
    EXPECT_THAT(Statuses(),
                ElementsAreArray({"Command Success", c.failure, "Not Sent", "Not Sent"}));
    EXPECT_EQ(rig->setup.run().Summary(), "1 of 4 commands succeeded, 2 not sent");
  }
}

// --- Replaying given rows, and the read-back that verifies a run --------------------------

TEST_F(BatchAgainstSimulator, VerifiedRunTellsEachSettingWhatTheLoggerReportsNow) {
  rig->buffer.RecordCommand(11004, "246802#TM:0901010000#");  // no read tells the clock
  rig->buffer.RecordCommand(11005, "246802#SA:1#");
  rig->buffer.RecordCommand(11009, "246802#AP1:+491709876543!#");
  rig->buffer.RecordCommand(11010, "246802#AP2:12ab!#");  // refused: no phone number
  rig->buffer.RecordCommand(19003, "246802#SMSSET03:1,05,HELLO#");
  rig->setup.Refresh(true);
  ASSERT_TRUE(rig->setup.Start(false, {.verify = true}));
  ASSERT_TRUE(rig->RunBatch(20s)) << rig->setup.run().Summary();

  EXPECT_THAT(Statuses(),
              ElementsAreArray({"Command Success (not readable)", "Verified", "Verified",
                                "Command Fail ", "Command Success (not readable)"}));
  EXPECT_EQ(rig->setup.run().Summary(), "4 of 5 commands succeeded, 2 verified");
  // The four read commands followed the last step.
  const std::vector<std::string> written = Written();
  ASSERT_EQ(written.size(), 9u);
  EXPECT_THAT(std::vector<std::string>(written.begin() + 5, written.end()),
              ElementsAreArray(
                  {"135791#STATUS#", "135791#CHEACK1#", "135791#CHEACK2#", "135791#CHEACK3#"}));
  const auto report = rig->setup.run().ReportRows();
  EXPECT_EQ(report[2][5], "Command Success");
  EXPECT_EQ(report[2][6], "Verified");
  EXPECT_EQ(report[4][6], "");  // a command that failed keeps its result alone
}

// What verifying is for: a logger that says "Set success!" and keeps its old value.
TEST_F(BatchAgainstSimulator, AWriteThatDidNotStayShowsWhatTheLoggerReports) {
  rig->simulator->set_faults({.keep_old_values = true});
  rig->buffer.RecordCommand(11002, "246802#ST:000099#");
  rig->buffer.RecordCommand(11005, "246802#SA:1#");
  rig->setup.Refresh(true);
  ASSERT_TRUE(rig->setup.Start(false, {.verify = true}));
  ASSERT_TRUE(rig->RunBatch(20s)) << rig->setup.run().Summary();
  EXPECT_THAT(Statuses(), ElementsAreArray({"Differs: 000041", "Differs: 30 Minute"}));
  EXPECT_EQ(rig->setup.run().Summary(), "2 of 2 commands succeeded, 0 verified");
  EXPECT_EQ(rig->setup.run().steps[1].status, "Command Success");
}

// Write Checked: exactly the rows given, with the same statuses and a read-back.
TEST_F(BatchAgainstSimulator, ReplayedRowsAreExactlyTheOnesGiven) {
  ListCommands(3);
  rig->buffer.RecordCommand(11005, "246802#SA:4#");
  rig->setup.Refresh(false);
  std::vector<BatchRow> chosen = {rig->setup.list().rows()[0], rig->setup.list().rows()[2]};
  ASSERT_EQ(chosen[0].code, 11005);
  ASSERT_TRUE(rig->setup.Replay(chosen, {.verify = true}));
  EXPECT_TRUE(rig->setup.running());
  EXPECT_FALSE(rig->setup.Replay(chosen));  // one run at a time
  ASSERT_TRUE(rig->RunBatch(20s)) << rig->setup.run().Summary();

  ASSERT_GE(Written().size(), 2u);
  EXPECT_EQ(Written()[0], "246802#SA:4#");
  EXPECT_EQ(Written()[1], AlarmPhoneCommand(1));
  std::vector<std::string> shown;
  for (const BatchStep& step : rig->setup.run().steps) shown.push_back(step.Shown());
  EXPECT_THAT(shown, ElementsAreArray({"Verified", "Command Success (not readable)"}));
  EXPECT_EQ(rig->setup.run().steps[0].row, -1);
  EXPECT_THAT(Statuses(), ElementsAreArray({"", "", "", ""}));  // the list is not the run's
}

// A password change in a run: every later command and the read-back go out with
// the passwords the logger now holds, and the phone book keeps them.
TEST_F(BatchAgainstSimulator, APasswordChangeInARunReachesThePhoneBookAndLaterCommands) {
  rig->buffer.RecordCommand(11003, "246802#PS:111111,222222#");
  rig->buffer.RecordCommand(11005, "246802#SA:1#");
  rig->setup.Refresh(true);
  ASSERT_TRUE(rig->setup.Start(false, {.verify = true}));
  ASSERT_TRUE(rig->RunBatch(20s)) << rig->setup.run().Summary();
  EXPECT_THAT(Statuses(), ElementsAreArray({"Command Success (not readable)", "Verified"}));
  EXPECT_EQ(Written()[1], "222222#SA:1#");
  EXPECT_EQ(Written()[2], "111111#STATUS#");
  EXPECT_EQ(rig->phone_book.GetCurrentDevice(),
            (PhoneBookEntry{"000041", "+491701000041", "111111", "222222"}));
  RecordingNotifier quiet;
  PhoneBookStore file(rig->phone_book.path(), quiet);
  file.LoadEntries();
  EXPECT_EQ(file.entries().at(0).setup_password, "222222");
}

TEST_F(BatchAgainstSimulator, AReadBackThatDoesNotComeVerifiesNothingAndCanBeStopped) {
  ListCommands(1);
  rig->buffer.RecordCommand(11005, "246802#SA:1#");
  rig->setup.Refresh(true);
  rig->port.before_write = [this](int attempt) {
    if (attempt == 2) rig->simulator->set_faults({.silent = true});  // from the read-back on
  };
  ASSERT_TRUE(rig->setup.Start(false, {.verify = true}));
  ASSERT_TRUE(rig->loop.RunUntil([this] { return rig->port.writes.size() == 3; }, 20s));
  EXPECT_EQ(rig->setup.run().Summary(), "Reading back Status, 1 of 4");
  EXPECT_TRUE(rig->setup.running());
  rig->setup.Stop();
  ASSERT_TRUE(rig->RunBatch(1s));
  EXPECT_THAT(Statuses(), ElementsAreArray({"Command Success (not verified)",
                                            "Command Success (not readable)"}));
  EXPECT_EQ(rig->setup.run().Summary(),
            "2 of 2 commands succeeded, not verified (read back: Status Command Time Out)");
  EXPECT_EQ(rig->port.writes.size(), 3u);
}

// A configuration file applied as the command line and "Write Checked" apply it:
// the safe defaults, then a verifying run; the logger keeps its own station ID.
TEST_F(BatchAgainstSimulator, AFileAppliedWithTheSafeDefaultsIsVerified) {
  rig->buffer.RecordCommand(11002, "111111#ST:000099#");
  rig->buffer.RecordCommand(11004, "111111#TM:0901010000#");
  rig->buffer.RecordCommand(11005, "111111#SA:4#");
  rig->buffer.RecordCommand(12003, "111111#AD13:1,45.00,-5.00#");
  rig->setup.Refresh(true);
  const std::string file = rig->folder.File("setup.cfg");
  ASSERT_TRUE(SaveConfigFile(file, rig->setup.list().rows(), 0));
  CommandBuffer loaded;
  ASSERT_EQ(LoadConfigFile(file, loaded).outcome, ConfigLoad::kLoaded);

  ApplyPlan plan = PlanApply(loaded.Entries(), rig->phone_book.GetCurrentDevice().setup_password,
                             {}, std::time(nullptr));
  ASSERT_EQ(plan.left_out.size(), 2u);
  ASSERT_TRUE(rig->setup.Replay(std::move(plan.rows), {.verify = true}));
  ASSERT_TRUE(rig->RunBatch(20s)) << rig->setup.run().Summary();
  EXPECT_THAT(Written(),
              ElementsAreArray({"246802#SA:4#", "246802#AD13:1,45.00,-5.00#", "135791#STATUS#",
                                "135791#CHEACK1#", "135791#CHEACK2#", "135791#CHEACK3#"}));
  EXPECT_EQ(rig->setup.run().Summary(), "2 of 2 commands succeeded, 2 verified");
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
  EXPECT_THAT(report[0], ElementsAreArray({"Logger ID", "Time", "No.", "Object", "Parameters",
                                           "Status", "Verification"}));
  EXPECT_EQ(report[1][0], "000099");
  EXPECT_FALSE(report[1][1].empty());
  EXPECT_THAT(report[2], ElementsAreArray({"000099", "", "02", "Alarm Phone1", "+49, 1",
                                           "Command Time Out", ""}));

  // A run that read the logger back counts what it verified.
  run.ended = false;
  run.read_back = BatchRun::ReadBack::kReading;
  run.read_back_text = "#2, 3 of 4";
  EXPECT_EQ(run.Summary(), "Reading back #2, 3 of 4");
  run.ended = true;
  run.read_back = BatchRun::ReadBack::kDone;
  run.steps[0].verification = "Verified";
  EXPECT_EQ(run.Summary(), "1 of 2 commands succeeded, 1 verified");
  EXPECT_EQ(run.steps[0].Shown(), "Verified");
  EXPECT_EQ(run.steps[1].Shown(), "Command Time Out");
  EXPECT_EQ(run.ReportRows()[1].back(), "Verified");
  run.steps[0].verification = "Differs: 000041";
  EXPECT_EQ(run.Summary(), "1 of 2 commands succeeded, 0 verified");
  run.read_back = BatchRun::ReadBack::kFailed;
  run.read_back_text = "#1 Command Time Out";
  EXPECT_EQ(run.Summary(),
            "1 of 2 commands succeeded, not verified (read back: #1 Command Time Out)");

  run.steps.resize(1);
  run.read_back = BatchRun::ReadBack::kNone;
  EXPECT_EQ(run.Summary(), "1 of 1 command succeeded");
}

}  // namespace
}  // namespace vexa::testing
