// The alarm message pages in the whole program, against the built-in simulated
// logger on both routes: texts set, emptied by Clear and read back.
#include <QCheckBox>
#include <QLineEdit>

#include "support/accessibility_check.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

constexpr int kAnalogAlarmPage = 4;
constexpr int kInputAlarmPage = 5;

class AlarmMessageEndToEnd : public WindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ConnectAndSelect(GetParam());
  }

  QCheckBox* Box(int page, const QString& label) {
    return PageControl<QCheckBox>(page, label + " Text Message");
  }
  QLineEdit* Content(int page, const QString& label) {
    return PageControl<QLineEdit>(page, label + " Message Content");
  }
  std::string RunRow(int page, const QString& action, const QString& label) {
    DevicePages()->SetActivePage(page);
    return Run(PageControl<QPushButton>(page, action + " " + label)).toStdString();
  }
  void SetRow(int page, const QString& label, const QString& text) {
    DevicePages()->SetActivePage(page);
    Box(page, label)->setChecked(true);
    Type(Content(page, label), text);
    EXPECT_EQ(RunRow(page, "Set", label), "Command Success") << label.toStdString();
  }
  // Reads the row back; returns its box state and text.
  std::string ReadRow(int page, const QString& label) {
    EXPECT_EQ(RunRow(page, "Read", label), "Command Success") << DataLog().toStdString();
    return (Box(page, label)->isChecked() ? "1 " : "0 ") +
           Content(page, label)->text().toStdString();
  }
};

// "STA", "STB", "STC" and "STD" in an alarm text once held the reply back on
// the GSM route until it timed out; "#" and "," inside are text to the logger.
TEST_P(AlarmMessageEndToEnd, TextsSetAreReadBackIntoEmptiedRows) {
  SetRow(kAnalogAlarmPage, "Analog Channel: (AD03)", "STATION DOWN");
  SetRow(kInputAlarmPage, "Digital Input Channel: (IN02)", "STB,STC#STD");

  Click("Clear");
  EXPECT_EQ(Content(kAnalogAlarmPage, "Analog Channel: (AD03)")->text(), "");
  EXPECT_TRUE(Box(kAnalogAlarmPage, "Analog Channel: (AD03)")->isChecked());  // AD01..AD06 keep it
  Box(kAnalogAlarmPage, "Analog Channel: (AD03)")->setChecked(false);
  Box(kInputAlarmPage, "Digital Input Channel: (IN02)")->setChecked(false);

  EXPECT_EQ(ReadRow(kAnalogAlarmPage, "Analog Channel: (AD03)"), "1 STATION DOWN");
  EXPECT_EQ(ReadRow(kInputAlarmPage, "Digital Input Channel: (IN02)"), "1 STB,STC#STD");
  // The logger's factory texts: "ALM!" is spelled out for the power source only.
  EXPECT_EQ(ReadRow(kAnalogAlarmPage, "Temperature_1: (AD13)"), "1 TANK ALARM!");
  EXPECT_EQ(ReadRow(kInputAlarmPage, "Power Source: (Power Alert)"), "1 POWER ALARM!");
  EXPECT_EQ(ReadRow(kInputAlarmPage, "Digital Input Channel: (IN01)"), "1 DOOR ALM!");
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();

  for (int page : {kAnalogAlarmPage, kInputAlarmPage}) {
    EXPECT_EQ(AccessibilityProblems(DevicePages()->widget(page)), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, AlarmMessageEndToEnd, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Gsm" : "Rs232"; });

}  // namespace
}  // namespace vexa::testing
