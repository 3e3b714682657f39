#include <filesystem>
#include <thread>

#include "far_end.h"
#include "link/port_lock.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

const std::string kStatusReply =
    "#STA:000041,T;TM:261209143005;A00:45.20;A13:20.50;A14:20.70;P21:0.000;"
    "K01:100000000001000;O01:10;#";

// The window connected to a line whose far end the test plays.
class ConnectionTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(far_.ok());
    ConnectTo(far_.slave_path());
    ASSERT_TRUE(notifier_.messages.empty()) << notifier_.Last();
  }

  // Chooses the logger, which asks for its status first.
  void ChooseLoggerAndAnswerItsStatus() {
    ChooseDevice("000041");
    EXPECT_EQ(far_.Read(), "135791#STATUS#");
    far_.Write(kStatusReply);
    ASSERT_TRUE(WaitForCommandEnd());
    ASSERT_EQ(StatusText(), "Command Success");
  }

  // Ticks until the command ends; the number of ticks it took.
  int TickUntilEnd() {
    QProgressBar* bar = Control<QProgressBar>("Command progress");
    int ticks = 0;
    while (bar->isVisible() && ticks < 2000) {
      window_->TickCommand();
      ++ticks;
    }
    return ticks;
  }

  FarEnd far_;
};

TEST_F(ConnectionTest, ConnectLocksTheRouteAndDisconnectReleasesIt) {
  const std::filesystem::path lock =
      std::filesystem::path(kUucpLockDir) /
      ("LCK.." + std::filesystem::path(far_.slave_path()).filename().string());
  EXPECT_TRUE(LampNamed("Connection")->lit());
  EXPECT_FALSE(Control<QRadioButton>("RS232")->isEnabled());
  EXPECT_FALSE(Control<QRadioButton>("GSM Modem")->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(lock));

  Click("Disconnect");
  EXPECT_FALSE(LampNamed("Connection")->lit());
  EXPECT_TRUE(Control<QRadioButton>("GSM Modem")->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(lock));
  ConnectTo(far_.slave_path());
  EXPECT_TRUE(LampNamed("Connection")->lit());
  EXPECT_TRUE(notifier_.messages.empty());
  // Closing the window, as a stop signal does, removes the lock as well.
  window_.reset();
  EXPECT_FALSE(std::filesystem::exists(lock));
}

TEST_F(ConnectionTest, CommandInFlightBlocksDisconnectSelectionAndFurtherCommands) {
  ChooseDevice("000041");
  EXPECT_EQ(far_.Read(), "135791#STATUS#");
  EXPECT_EQ(StatusText(), "Command in progress");
  EXPECT_TRUE(Control<QProgressBar>("Command progress")->isVisible());

  Click("Disconnect");
  EXPECT_EQ(notifier_.Last(), "Command is Progress , Don't Disconnect!");
  EXPECT_TRUE(LampNamed("Connection")->lit());
  ChooseDevice("000041");
  EXPECT_EQ(notifier_.Last(), "Command is in progress");
  notifier_.messages.clear();
  Click("#1");
  EXPECT_EQ(notifier_.Last(), "Command is Progress , Don't Disconnect!");

  far_.Write(kStatusReply);
  ASSERT_TRUE(WaitForCommandEnd());
  EXPECT_EQ(StatusText(), "Command Success");
  EXPECT_TRUE(LampNamed("Command")->lit());
  EXPECT_TRUE(DataLog().contains(QString::fromStdString(kStatusReply)));
}

// A refused choice leaves the list showing the device the commands go to.
TEST_F(ConnectionTest, RefusedChoiceShowsTheCurrentDevice) {
  OpenWindow(logger_record_ + Record({"000042", "+491701000042", "135791", "246802"}));
  ConnectTo(far_.slave_path());
  ChooseLoggerAndAnswerItsStatus();
  Click("#1");
  ChooseDevice("000042");
  EXPECT_EQ(notifier_.Last(), "Command is in progress");
  EXPECT_EQ(DeviceList()->currentText(), "000041");
  QTest::mouseClick(StopButton(), Qt::LeftButton);
  ASSERT_TRUE(WaitForCommandEnd());

  Click("Disconnect");
  ChooseDevice("000042");
  EXPECT_EQ(notifier_.Last(), "First please Select Port to Connect!");
  EXPECT_EQ(DeviceList()->currentText(), "000041");
}

TEST_F(ConnectionTest, IncompletePhoneBookEntriesAreRefused) {
  OpenWindow(Record({"000051", "", "135791", "246802"}) +
             Record({"000052", "+4917", "", "246802"}) + Record({"000053", "+4917", "135791", ""}));
  ConnectTo(far_.slave_path());
  ChooseDevice("000051");
  EXPECT_EQ(notifier_.Last(), "Device Phone Number is NULL ,please Edit Phone Book!");
  ChooseDevice("000052");
  EXPECT_EQ(notifier_.Last(), "Device QueryPassword is NULL ,please Edit Phone Book!");
  ChooseDevice("000053");
  EXPECT_EQ(notifier_.Last(), "Device SetupPassword is NULL ,please Edit Phone Book!");
  EXPECT_EQ(far_.Read(std::chrono::milliseconds(300)), "");
}

TEST_F(ConnectionTest, ReplyWithoutItsEndMarkIsADataError) {
  ChooseLoggerAndAnswerItsStatus();
  Click("#1");
  EXPECT_EQ(far_.Read(), "135791#CHEACK1#");
  far_.Write("#STC1:000041;TM:2612091430;");
  ASSERT_TRUE(WaitForCommandEnd());
  EXPECT_EQ(StatusText(), "Data Error");
  // A screen reader reads the result as the label's name.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(StatusLabel())->text(QAccessible::Name),
            "Data Error");
  EXPECT_FALSE(LampNamed("Command")->lit());
}

TEST_F(ConnectionTest, ModemCommandsWaitForTheCommandInFlight) {
  Click("Disconnect");
  ChooseRoute("GSM Modem");
  ConnectTo(far_.slave_path());
  ChooseDevice("000041");
  EXPECT_EQ(far_.Read(), "AT+BJSD=13,+491701000041,135791#STATUS#\r\n");
  Click("M test");
  EXPECT_EQ(notifier_.Last(), "Command is in progress...");
  Click("M ver");
  EXPECT_EQ(notifier_.Last(), "Command is in progress...");
}

TEST_F(ConnectionTest, UnansweredCommandTimesOutAfterFortySeconds) {
  ChooseLoggerAndAnswerItsStatus();
  Click("#1");
  EXPECT_EQ(far_.Read(), "135791#CHEACK1#");
  window_->TickCommand();
  EXPECT_EQ(StopButton()->text(), "Stop 40");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(StopButton())->text(QAccessible::Name),
            "Stop 40");

  const int ticks = TickUntilEnd() + 1;
  EXPECT_GE(ticks, 401);
  EXPECT_LE(ticks, 402);
  EXPECT_EQ(StatusText(), "Command Time Out");
  EXPECT_FALSE(LampNamed("Command")->lit());

  // A late reply to the finished command is not shown.
  far_.Write("#STC1:000041;#");
  QTest::qWait(600);
  EXPECT_FALSE(DataLog().contains("#STC1:"));
}

TEST_F(ConnectionTest, StopEndsTheWaitAtTheNextTick) {
  ChooseLoggerAndAnswerItsStatus();
  Click("#2");
  window_->TickCommand();
  QTest::mouseClick(StopButton(), Qt::LeftButton);
  EXPECT_EQ(TickUntilEnd(), 1);
  EXPECT_EQ(StatusText(), "Command Time Out");
}

TEST_F(ConnectionTest, InitNeedsTheCtrlKey) {
  ChooseLoggerAndAnswerItsStatus();
  Click("Init");
  EXPECT_EQ(notifier_.Last(), "Press <Ctrl> Key + Init");

  QTest::mouseClick(Button("Init"), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(far_.Read(), "246802#RESET#");
  far_.Write("initialize succesed!");
  EXPECT_EQ(far_.Read(), "246802#SD:00,0,0#");
  far_.Write("Set success!");
  ASSERT_TRUE(WaitForCommandEnd());
  EXPECT_EQ(StatusText(), "Command Success");
  EXPECT_TRUE(DataLog().contains("Initialization Completed!"));
}

TEST_F(ConnectionTest, LostPortShowsTheDisconnectedState) {
  ChooseDevice("000041");
  EXPECT_EQ(far_.Read(), "135791#STATUS#");
  far_.Disappear();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return notifier_.Last() == "Connection lost: the port was closed."; }, 5000));
  EXPECT_FALSE(LampNamed("Connection")->lit());
  EXPECT_EQ(Button("Connect")->text(), "Connect");
  EXPECT_TRUE(Control<QRadioButton>("RS232")->isEnabled());
  // The command that was waiting ends at once instead of counting down.
  EXPECT_FALSE(Control<QProgressBar>("Command progress")->isVisible());
  EXPECT_EQ(StatusText(), "Communication Error");
}

// The engineer connects again before the window has seen that the old line was
// lost: the old line's notice, still queued, must leave the new one open.
TEST_F(ConnectionTest, AStaleLostNoticeLeavesANewConnectionOpen) {
  FarEnd second;
  ASSERT_TRUE(second.ok());
  far_.Disappear();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the notice is queued meanwhile
  PortList()->setEditText(QString::fromStdString(second.slave_path()));
  Button("Disconnect")->click();  // the port has closed already, so this connects
  QTest::qWait(300);
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
  EXPECT_TRUE(LampNamed("Connection")->lit());
  ChooseDevice("000041");
  EXPECT_EQ(second.Read(), "135791#STATUS#");
}

}  // namespace
}  // namespace vexa::testing
