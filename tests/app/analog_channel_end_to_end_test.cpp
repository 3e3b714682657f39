// The Analog Channel page in the whole program, against the built-in simulated
// logger: what "#2" shows, a setting that comes back on the next read, and the
// humidity calibration that passes or fails on the sensor's raw reading.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <filesystem>

#include "app/message_box_notifier.h"
#include "link/setup_log.h"
#include "pages/analog/humidity_calibration.h"
#include "support/accessibility_check.h"
#include "support/message_box_answerer.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

constexpr int kAnalogPage = 1;

class AnalogChannelEndToEnd : public WindowTest {
 protected:
  // Connects, selects logger 000041 and shows the page.
  void Start(bool gsm, std::optional<int> raw_humidity_tenths = std::nullopt) {
    sim::SimulatorOptions options;
    options.raw_humidity_tenths = raw_humidity_tenths;
    ConnectAndSelect(gsm, options);
    DevicePages()->SetActivePage(kAnalogPage);
    log_start_ = SetupLogText().size();
  }

  template <typename Widget>
  Widget* Control(const QString& name) {
    return PageControl<Widget>(kAnalogPage, name);
  }
  QLineEdit* Field(const QString& name) { return Control<QLineEdit>(name); }
  QString Text(const QString& name) { return Field(name)->text(); }
  QString Cell(int row, int column) {
    const QTableWidgetItem* item = Control<QTableWidget>("Analog channel list")->item(row, column);
    return item ? item->text() : QString();
  }
  void Type(const QString& name, const QString& text) { WindowTest::Type(Field(name), text); }
  QString RunPage(const QString& name) { return Run(Control<QPushButton>(name)); }

  // Picks an item from one of the page's drop-down lists as the engineer does.
  void Choose(const QString& name, const QString& item) {
    QComboBox* box = Control<QComboBox>(name);
    box->showPopup();
    const int row = box->findText(item);
    ASSERT_GE(row, 0) << item.toStdString();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
  }

  // The commands written since the test's start, from the setup log, one a line.
  static std::string SetupLogText() { return ReadBytes(SetupLog().path()); }
  std::string CommandsSent() { return SetupLogText().substr(log_start_); }

  // Enters the actual humidity, presses Auto Calibration and lets its steps
  // run until `done` holds and no command is in flight.
  void Calibrate(const QString& actual, const std::function<bool()>& done) {
    Type("Actual Humidity", actual);
    QTest::mouseClick(Control<QPushButton>("Auto Calibration"), Qt::LeftButton);
    QProgressBar* bar = WindowTest::Control<QProgressBar>("Command progress");
    EXPECT_TRUE(QTest::qWaitFor([&] { return done() && !bar->isVisible(); }, 20000))
        << DataLog().toStdString();
  }

  // After a failed calibration the humidity Set is refused.
  void ExpectHumiditySetRefused() {
    notifier_.messages.clear();
    QTest::mouseClick(Control<QPushButton>("Set Humidity Sensor"), Qt::LeftButton);
    EXPECT_EQ(notifier_.Last(), "Please Calibration Actual Humidity first!");
    EXPECT_FALSE(WindowTest::Control<QProgressBar>("Command progress")->isVisible());
  }

  std::size_t log_start_ = 0;
};

TEST_F(AnalogChannelEndToEnd, Group2FillsThePageAndASettingComesBackOnTheNextRead) {
  Start(false);
  EXPECT_EQ(Run("#2"), "Command Success");
  EXPECT_EQ(Text("Humidity Sensor Upper limit"), "100.0");
  EXPECT_EQ(Text("Temperature Sensor_1 Alert High"), "50.00");
  EXPECT_EQ(Control<QComboBox>("Temperature Sensor_5 Operation Mode")->currentText(),
            "Capture & Alert Enable");
  EXPECT_EQ(Cell(2, 0), "Analog_03");
  EXPECT_EQ(Cell(2, 1), "Capture & Alert Enable");
  EXPECT_EQ(Cell(2, 5), "9.000");
  EXPECT_EQ(AccessibilityProblems(DevicePages()->widget(kAnalogPage)), std::vector<std::string>());

  Choose("Temperature Sensor_5 Operation Mode", "Capture Enable");
  Type("Temperature Sensor_5 Alert High", "70");
  Type("Temperature Sensor_5 Alert Low", "-5");
  EXPECT_EQ(RunPage("Set Temperature Sensor_5"), "Command Success");

  Choose("Analog Channel", "Analog_02");
  Type("Analog Channel Upper limit", "30");
  Type("Analog Channel Lower limit", "5");
  Type("Analog Channel Start Zero", "5");
  Type("Analog Channel Alert High", "25");
  Type("Analog Channel Alert Low", "6");
  EXPECT_EQ(RunPage("Set Analog Channel"), "Command Success");
  EXPECT_NE(CommandsSent().find("246802#AD09:1.000,0.000,1.000,1,70.00,-5.00#"), std::string::npos);
  EXPECT_NE(CommandsSent().find("246802#AD02:30.00,5.000,5.000,0,25.00,6.000#"), std::string::npos);

  Click("Clear");
  EXPECT_EQ(Text("Temperature Sensor_5 Alert High"), "");
  EXPECT_EQ(Cell(1, 2), "");
  EXPECT_EQ(Run("#2"), "Command Success");
  EXPECT_EQ(Control<QComboBox>("Temperature Sensor_5 Operation Mode")->currentText(),
            "Capture Enable");
  EXPECT_EQ(Text("Temperature Sensor_5 Alert High"), "70.00");
  EXPECT_EQ(Text("Temperature Sensor_5 Alert Low"), "-5.00");
  EXPECT_EQ(Cell(1, 2), "30.00");
  EXPECT_EQ(Cell(1, 6), "6.000");
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

// The page with real message boxes, answered as they open.
class AnalogChannelWithMessageBoxes : public AnalogChannelEndToEnd {
 protected:
  void SetUp() override {
    window_notifier_ = &boxes_;
    AnalogChannelEndToEnd::SetUp();
  }
  // Types into a field and leaves it with Tab, as the engineer does.
  void TypeAndTab(const QString& name, const QString& text) {
    QApplication::setActiveWindow(window_.get());
    Type(name, text);
    QTest::keyClick(Field(name), Qt::Key_Tab);
  }

  MessageBoxNotifier boxes_{nullptr};
  MessageBoxAnswerer answerer_;
};

// The box of a wrong lower limit takes the focus from the start zero the
// cursor has just entered; that is no departure, so the good start zero is
// neither checked against the wrong limit nor emptied.
TEST_F(AnalogChannelWithMessageBoxes, AWrongLimitGivesOneBoxAndKeepsTheStartZero) {
  Start(false);
  ASSERT_EQ(Run("#2"), "Command Success");
  Choose("Analog Channel", "Analog_01");
  ASSERT_EQ(Text("Analog Channel Start Zero"), "4.000");

  TypeAndTab("Analog Channel Upper limit", "20");
  TypeAndTab("Analog Channel Lower limit", "30");
  EXPECT_THAT(answerer_.texts, ::testing::ElementsAre("Analog Channel Lower limit is error!"));
  EXPECT_EQ(Text("Analog Channel Lower limit"), "");
  EXPECT_EQ(Text("Analog Channel Start Zero"), "4.000");
}

TEST_F(AnalogChannelEndToEnd, CalibrationWritesTheFactorAndAllowsTheHumiditySet) {
  Start(false, 483);
  // The factor's record goes out a moment after the page shows it.
  Calibrate("45", [&] { return CommandsSent().find("246802#AD00:93.16,") != std::string::npos; });
  EXPECT_EQ(Text("Humidity Sensor Upper limit"), "93.16");
  EXPECT_EQ(StatusText(), "Command Success");
  const std::string sent = CommandsSent();
  const std::size_t neutral = sent.find("246802#AD00:100.0,0.000,0.000,1,100.0,0.000#");
  const std::size_t query = sent.find("135791#STATUS#");
  const std::size_t factor = sent.find("246802#AD00:93.16,0.000,0.000,1,100.0,0.000#");
  ASSERT_NE(factor, std::string::npos) << sent;
  EXPECT_LT(neutral, query);
  EXPECT_LT(query, factor);
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();

  // The engineer narrows the alert band and sets it; the logger keeps the factor.
  Type("Humidity Sensor Alert High", "80");
  Type("Humidity Sensor Alert Low", "20");
  EXPECT_EQ(RunPage("Set Humidity Sensor"), "Command Success");
  EXPECT_EQ(Run("#2"), "Command Success");
  EXPECT_EQ(Text("Humidity Sensor Upper limit"), "93.16");
  EXPECT_EQ(Text("Humidity Sensor Alert High"), "80.00");
  EXPECT_EQ(Text("Actual Humidity"), "45.00");
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

TEST_F(AnalogChannelEndToEnd, RawReadingAbove170FailsTheCalibration) {
  Start(false, 1705);
  Calibrate("45", [&] { return !notifier_.messages.empty(); });
  EXPECT_EQ(notifier_.Last(), kCalibrationErrorMessage);
  EXPECT_EQ(CommandsSent().find("246802#AD00:", CommandsSent().find("#STATUS#")),
            std::string::npos);  // no factor written
  ExpectHumiditySetRefused();
}

TEST_F(AnalogChannelEndToEnd, RawReadingZeroFailsTheCalibrationOnTheGsmRoute) {
  Start(true, 0);
  Calibrate("45", [&] { return !notifier_.messages.empty(); });
  EXPECT_EQ(notifier_.Last(), kCalibrationErrorMessage);
  EXPECT_EQ(notifier_.messages.back().caption, "Error");
  const std::string sent = CommandsSent();
  EXPECT_NE(sent.find(",+491701000041,246802#AD00:100.0,0.000,0.000,1,100.0,0.000#"),
            std::string::npos)
      << sent;
  EXPECT_NE(sent.find(",+491701000041,135791#STATUS#"), std::string::npos) << sent;
  ExpectHumiditySetRefused();
}

}  // namespace
}  // namespace vexa::testing
