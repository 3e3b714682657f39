// The Digital Channel and Relay Output pages in the whole program, against the
// built-in simulated logger: what the reads show and what the Sets change.
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "pages/page_driver.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

constexpr int kDigitalPage = 2;
constexpr int kRelayPage = 3;
constexpr int kEditedColumn = 2;

class ChannelListsEndToEnd : public WindowTest {
 protected:
  // Connects on the cable to logger 000041 fitted with these inputs and relays.
  void ConnectTo(int digital_inputs, int relays) {
    sim::SimulatorOptions options;
    options.loggers = {{"000041", "+491701000041", "135791", "246802", digital_inputs, relays}};
    ConnectAndSelect(false, options);
  }
  QTableWidget* List(int page, const QString& name) {
    DevicePages()->SetActivePage(page);
    return PageControl<QTableWidget>(page, name);
  }
  QTableWidget* Modes() { return List(kDigitalPage, "Digital Channels"); }
  QTableWidget* Matrix() { return List(kRelayPage, "Current status"); }
  QTableWidget* Associations() { return List(kRelayPage, "Associated Alarms"); }
  QString RunPage(int page, const QString& name) {
    DevicePages()->SetActivePage(page);
    return Run(PageControl<QPushButton>(page, name));
  }
  QStringList Column(QTableWidget* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) texts << CellText(list, row, column);
    return texts;
  }
};

TEST_F(ChannelListsEndToEnd, DigitalModesReadAndSet) {
  ConnectTo(15, 2);
  EXPECT_EQ(Modes()->rowCount(), 9);
  EXPECT_EQ(Run("#2"), "Command Success");
  EXPECT_EQ(Column(Modes(), kEditedColumn).mid(0, 5),
            (QStringList{"No Alarm", "NO - Close Triggered Alarm", "NC - Open Triggered Alarm",
                         "Change State Triggered Alarm", "On/Off Channel"}));

  ChooseInCell(Modes(), 0, kEditedColumn, "AC Power Resume/Loss Alarm");
  ChooseInCell(Modes(), 1, kEditedColumn, "Channel Disable");
  EXPECT_EQ(RunPage(kDigitalPage, "Set Operation Modes"), "Command Success");

  Click("Clear");
  EXPECT_EQ(CellText(Modes(), 0, kEditedColumn), "");
  EXPECT_EQ(Run("#2"), "Command Success");
  EXPECT_EQ(CellText(Modes(), 0, kEditedColumn), "AC Power Resume/Loss Alarm");
  EXPECT_EQ(CellText(Modes(), 1, kEditedColumn), "Channel Disable");
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

TEST_F(ChannelListsEndToEnd, RelaysSwitchedTimedAndAssociated) {
  ConnectTo(15, 2);
  EXPECT_EQ(Run("#1"), "Command Success");
  EXPECT_EQ(Run("#3"), "Command Success");
  EXPECT_EQ(Run("Status"), "Command Success");
  EXPECT_EQ(Column(Matrix(), 2).mid(0, 3), (QStringList{"1", "0010", "1"}));
  EXPECT_EQ(Column(Matrix(), 3).mid(0, 3), (QStringList{"0", "0005", "0"}));

  ChooseItem(PageControl<QComboBox>(kRelayPage, "Relay Channel No."), "Relay_2");
  ChooseItem(PageControl<QComboBox>(kRelayPage, "Turn On/Off"), "On");
  EXPECT_EQ(RunPage(kRelayPage, "Set Turn On/Off"), "Command Success");
  Type(PageControl<QLineEdit>(kRelayPage, "Time Lapse(Seconds)"), "7");
  EXPECT_EQ(RunPage(kRelayPage, "Set Time Lapse"), "Command Success");
  ChooseInCell(Associations(), 0, kEditedColumn, "On");   // Humidity
  ChooseInCell(Associations(), 16, kEditedColumn, "On");  // IN1
  EXPECT_EQ(RunPage(kRelayPage, "Set Associated Alarms"), "Command Success");

  Click("Clear");
  EXPECT_EQ(Run("Status"), "Command Success");
  EXPECT_EQ(Run("#1"), "Command Success");
  EXPECT_EQ(Run("#3"), "Command Success");
  QStringList relay2 = {"1", "0007", "1"};
  for (int source = 1; source < 20; ++source) relay2 << (source == 16 ? "1" : "0");
  EXPECT_EQ(Column(Matrix(), 3), relay2);
  EXPECT_EQ(Column(Matrix(), 2).mid(0, 2), (QStringList{"1", "0010"}));
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

TEST_F(ChannelListsEndToEnd, FewInputsAndMoreRelays) {
  ConnectTo(3, 4);
  EXPECT_EQ(Column(Modes(), 1),
            (QStringList{"Digital Input_01", "Digital Input_02", "Digital Input_03"}));
  EXPECT_EQ(Run("#2"), "Command Success");
  ChooseInCell(Modes(), 2, kEditedColumn, "Change State Triggered Alarm");
  EXPECT_EQ(RunPage(kDigitalPage, "Set Operation Modes"), "Command Success");
  Click("Clear");
  EXPECT_EQ(Run("#2"), "Command Success");
  EXPECT_EQ(Column(Modes(), kEditedColumn), (QStringList{"No Alarm", "NO - Close Triggered Alarm",
                                                         "Change State Triggered Alarm"}));

  EXPECT_EQ(Matrix()->columnCount(), 6);
  EXPECT_EQ(Matrix()->columnWidth(5), 80);
  ChooseItem(PageControl<QComboBox>(kRelayPage, "Relay Channel No."), "Relay_4");
  ChooseItem(PageControl<QComboBox>(kRelayPage, "Turn On/Off"), "On");
  EXPECT_EQ(RunPage(kRelayPage, "Set Turn On/Off"), "Command Success");
  EXPECT_EQ(Run("Status"), "Command Success");
  EXPECT_EQ(CellText(Matrix(), 0, 5), "1");
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

}  // namespace
}  // namespace vexa::testing
