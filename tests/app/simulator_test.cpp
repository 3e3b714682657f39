#include "window_fixture.h"

namespace vexa::testing {
namespace {

// The whole program against the built-in simulated logger, over a real
// pseudo-terminal and the ordinary serial code.
class SimulatorTest : public WindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool gsm() const { return GetParam(); }

  void ConnectToSimulator(sim::Faults faults = {}) {
    WindowTest::ConnectToSimulator(gsm(), {.faults = faults});
  }

  // Presses the button and waits for the command's outcome.
  QString Run(const QString& button) {
    Click(button);
    EXPECT_TRUE(Control<QProgressBar>("Command progress")->isVisible()) << button.toStdString();
    EXPECT_TRUE(WaitForCommandEnd(20000)) << button.toStdString() << "\n"
                                          << DataLog().toStdString();
    return StatusText();
  }
};

TEST_P(SimulatorTest, ReadsEveryGroupStatusAndVersion) {
  ConnectToSimulator();
  ChooseDevice("000041");
  ASSERT_TRUE(WaitForCommandEnd(20000)) << DataLog().toStdString();
  EXPECT_EQ(StatusText(), "Command Success");

  for (const char* button : {"Status", "#1", "#2", "#3", "Ver"}) {
    EXPECT_EQ(Run(button), "Command Success") << button;
    EXPECT_TRUE(LampNamed("Command")->lit()) << button;
  }
  for (const char* reply :
       {"#STA:000041", "#STC1:000041", "#STC2:000041", "#STC3:000041", "Vexa-T"}) {
    EXPECT_TRUE(DataLog().contains(reply)) << reply;
  }
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
  if (gsm()) {
    EXPECT_TRUE(DataLog().contains("AT+BJSD"));
    EXPECT_EQ(Run("M test"), "Command Success");
  }

  Click("Disconnect");
  EXPECT_FALSE(LampNamed("Connection")->lit());
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

TEST_P(SimulatorTest, SilentLoggerTimesOut) {
  ConnectToSimulator({.silent = true});
  ChooseDevice("000041");
  QProgressBar* bar = Control<QProgressBar>("Command progress");
  ASSERT_TRUE(bar->isVisible());
  const int timeout_ticks = gsm() ? 900 : 400;
  for (int tick = 0; tick <= timeout_ticks && bar->isVisible(); ++tick) window_->TickCommand();
  EXPECT_TRUE(bar->isVisible());
  window_->TickCommand();
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(StatusText(), "Command Time Out");
  EXPECT_FALSE(LampNamed("Command")->lit());
}

INSTANTIATE_TEST_SUITE_P(Routes, SimulatorTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Gsm" : "Rs232"; });

}  // namespace
}  // namespace vexa::testing
