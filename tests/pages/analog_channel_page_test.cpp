#include "pages/analog/analog_channel_page.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "page_fixture.h"
#include "pages/analog/humidity_calibration.h"
#include "support/accessibility_check.h"
#include "support/group2_reply.h"

namespace vexa::testing {
namespace {

class AnalogChannelPageTest : public ShownPageTest<CTarvoKSet2Dlg1> {
 protected:
  QLineEdit* Edit(const QString& name) { return Find<QLineEdit>(name); }
  QComboBox* Combo(const QString& name) { return Find<QComboBox>(name); }
  QTableWidget* List() { return Find<QTableWidget>("Analog channel list"); }
  std::string Text(const QString& name) { return Edit(name)->text().toStdString(); }
  std::string Cell(int row, int column) {
    const QTableWidgetItem* item = List()->item(row, column);
    return item ? item->text().toStdString() : "";
  }
  bool Enabled(const QString& name) { return Find<QWidget>(name)->isEnabled(); }

  // Types into a field as the engineer does (nothing goes into a disabled
  // one) and leaves it; returns what it then shows.
  std::string TypeAndLeave(const QString& name, const char* text) {
    QLineEdit* field = Edit(name);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    List()->setFocus();
    return field->text().toStdString();
  }
  // Picks an item from a drop-down list as the engineer does.
  void Choose(const QString& name, const QString& item) {
    QComboBox* box = Combo(name);
    box->showPopup();
    const int row = box->findText(item);
    ASSERT_GE(row, 0) << item.toStdString();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
  }
  std::string Click(const QString& name) { return Press(Find<QPushButton>(name)); }
  // A reply to the calibration step in flight, as the main window hands it over.
  void CalibrationReply(const std::string& reply) {
    exchange.OnReceived(reply);
    page.CalibrationReply(reply);
  }
  // Waits out the short pause before the next calibration step; returns what it sent.
  std::string NextCalibrationStep() {
    const std::size_t before = port.writes.size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.writes.size() > before; }, 1000));
    return LastWrite() + " " + std::to_string(PendingCode());
  }
  bool Calibrated() { return exchange.device_context().humidity_calibrated; }
  // Enters the actual humidity and presses Auto Calibration.
  void StartCalibration(const char* actual) {
    TypeAndLeave("Actual Humidity", actual);
    port.writes.clear();
    QTest::mouseClick(Find<QPushButton>("Auto Calibration"), Qt::LeftButton);
  }
  const RecordingNotifier::Message& LastMessage() { return notifier.messages.back(); }
};

TEST_F(AnalogChannelPageTest, OpensWithItsControlsInTheirFirstState) {
  const char* const modes[] = {
      "Humidity Sensor Operation Mode", "Temperature Sensor_1 Operation Mode",
      "Temperature Sensor_8 Operation Mode", "Analog Channel Operation Mode"};
  for (const char* name : modes) {
    ASSERT_EQ(Combo(name)->count(), 3) << name;
    EXPECT_EQ(Combo(name)->currentIndex(), -1) << name;
    EXPECT_EQ(Combo(name)->itemText(2), "Capture & Alert Enable");
  }
  for (const char* name :
       {"Humidity Sensor Operation Mode", "Humidity Sensor Alert High", "Humidity Sensor Alert Low",
        "Temperature Sensor_1 Alert Low", "Temperature Sensor_6 Alert Low",
        "Analog Channel Lower limit", "Analog Channel Start Zero", "Analog Channel Alert High",
        "Analog Channel Alert Low"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  for (const char* name : {"Actual Humidity", "Temperature Sensor_1 Operation Mode",
                           "Temperature Sensor_2 Alert High", "Temperature Sensor_7 Alert High",
                           "Analog Channel Upper limit", "Analog Channel Operation Mode"}) {
    EXPECT_TRUE(Enabled(name)) << name;
  }
  EXPECT_TRUE(Edit("Humidity Sensor Upper limit")->isReadOnly());
  EXPECT_FALSE(Edit("Temperature Sensor_3 Upper limit")->isVisible());
  EXPECT_FALSE(Edit("Temperature Sensor_8 Start Zero")->isVisible());
  EXPECT_EQ(Edit("Temperature Sensor_5 Alert Low")->maxLength(), 5);

  QTableWidget* list = List();
  EXPECT_EQ(list->rowCount(), 0);
  const int widths[] = {125, 170, 130, 130, 130, 130, 130};
  for (int column = 0; column < 7; ++column) EXPECT_EQ(list->columnWidth(column), widths[column]);
  EXPECT_EQ(list->horizontalHeaderItem(4)->text(), "Start Zero");
  EXPECT_EQ(list->verticalHeader()->defaultSectionSize(), 21);
  EXPECT_EQ(AccessibilityProblems(&page), std::vector<std::string>());

  page.FirstStatusReply();
  page.FirstStatusReply();  // rebuilt, not added twice
  ASSERT_EQ(list->rowCount(), 6);
  EXPECT_EQ(Cell(5, 0), "Analog_06");
  EXPECT_EQ(Combo("Analog Channel")->count(), 6);
  EXPECT_EQ(Combo("Analog Channel")->currentIndex(), -1);
}

TEST_F(AnalogChannelPageTest, ValuesAreEnteredInOrderAndCheckedOnLeaving) {
  EXPECT_EQ(TypeAndLeave("Analog Channel Upper limit", "1234.5"), "01234");
  EXPECT_TRUE(Enabled("Analog Channel Lower limit"));
  EXPECT_EQ(TypeAndLeave("Analog Channel Upper limit", "20"), "20.00");
  EXPECT_EQ(TypeAndLeave("Analog Channel Lower limit", "-0.5"), "-0.50");
  EXPECT_TRUE(Enabled("Analog Channel Start Zero"));
  EXPECT_FALSE(Enabled("Analog Channel Alert High"));
  EXPECT_EQ(TypeAndLeave("Analog Channel Start Zero", "0"), "0.000");
  EXPECT_EQ(TypeAndLeave("Analog Channel Alert High", "-0.5"), "");  // equal to the lower limit
  EXPECT_EQ(LastMessage().text, "Analog Channel Alert High is error!");
  EXPECT_EQ(LastMessage().caption, "Error");
  EXPECT_EQ(LastMessage().icon, MessageIcon::kError);
  EXPECT_FALSE(Enabled("Analog Channel Alert Low"));
  EXPECT_EQ(TypeAndLeave("Analog Channel Alert High", "20"), "20.00");  // equal to the upper
  EXPECT_EQ(TypeAndLeave("Analog Channel Alert Low", "5"), "5.000");
  // A lower alert high empties the alert low it no longer lies above.
  EXPECT_EQ(TypeAndLeave("Analog Channel Alert High", "4"), "4.000");
  EXPECT_EQ(Text("Analog Channel Alert Low"), "");

  EXPECT_EQ(TypeAndLeave("Analog Channel Upper limit", "123456"), "12345");  // five at most
  EXPECT_EQ(TypeAndLeave("Analog Channel Upper limit", "-1"), "-1.00");
  EXPECT_EQ(Text("Analog Channel Lower limit"), "");  // no longer below the upper limit

  // Moving on keeps the cursor in the field it moved into.
  EXPECT_EQ(TypeAndLeave("Analog Channel Upper limit", "20"), "20.00");
  QLineEdit* lower = Edit("Analog Channel Lower limit");
  QLineEdit* start_zero = Edit("Analog Channel Start Zero");
  lower->setFocus();
  QTest::keyClicks(lower, "5");
  start_zero->setFocus();
  EXPECT_TRUE(start_zero->hasFocus());
  EXPECT_EQ(lower->text(), "5.000");
  // A failing lower limit closes the start zero under the cursor, unchecked.
  start_zero->setText("7");
  lower->setFocus();
  notifier.messages.clear();
  lower->selectAll();
  QTest::keyClicks(lower, "30");
  start_zero->setFocus();
  EXPECT_EQ(notifier.messages.size(), 1u);
  EXPECT_EQ(notifier.Last(), "Analog Channel Lower limit is error!");
  EXPECT_FALSE(start_zero->isEnabled());
  EXPECT_EQ(start_zero->text(), "7.000");  // as it was left

  // Sensor rows: the alert low opens once the alert high holds a value.
  EXPECT_EQ(TypeAndLeave("Temperature Sensor_4 Alert Low", "1"), "");
  EXPECT_EQ(TypeAndLeave("Temperature Sensor_4 Alert High", "156"), "");
  EXPECT_EQ(notifier.Last(), "Temperature Sensor_4 Alert High is Range -125 to 155!");
  EXPECT_FALSE(Enabled("Temperature Sensor_4 Alert Low"));
  EXPECT_EQ(TypeAndLeave("Temperature Sensor_4 Alert High", "30"), "30.00");
  EXPECT_EQ(TypeAndLeave("Temperature Sensor_4 Alert Low", "30"), "");
  EXPECT_EQ(notifier.Last(), "Temperature Sensor_4 Alert Low is error!\n");
  EXPECT_EQ(TypeAndLeave("Actual Humidity", "101"), "");
  EXPECT_EQ(notifier.Last(), "Humidity is Range 0-100!");
}

TEST_F(AnalogChannelPageTest, ReadingGroup2FillsThePageAndRecordsItsCommands) {
  page.FirstStatusReply();
  page.ReadGroup2Reply(kGroup2Reply);
  EXPECT_EQ(Text("Humidity Sensor Upper limit"), "100.0");
  EXPECT_EQ(Text("Humidity Sensor Alert Low"), "20.00");
  EXPECT_EQ(Combo("Humidity Sensor Operation Mode")->currentText(), "Capture Enable");
  EXPECT_EQ(Combo("Temperature Sensor_1 Operation Mode")->currentText(), "Capture & Alert Enable");
  EXPECT_EQ(Text("Temperature Sensor_1 Alert High"), "50.00");
  EXPECT_EQ(Text("Temperature Sensor_2 Alert Low"), "0.000");
  EXPECT_TRUE(Enabled("Temperature Sensor_2 Alert Low"));
  EXPECT_EQ(Text("Temperature Sensor_5 Alert High"), "80.00");
  EXPECT_EQ(Text("Temperature Sensor_5 Start Zero"), "1.000");
  EXPECT_EQ(Cell(2, 1), "Capture & Alert Enable");
  EXPECT_EQ(Cell(2, 2), "10.00");
  EXPECT_EQ(Cell(5, 6), "1.000");
  EXPECT_EQ(command_buffer.Count(), 15u);
  EXPECT_EQ(Recorded(12008), "246802#AD03:10.00,0.000,0.000,2,9.000,1.000#");
  EXPECT_EQ(Recorded(12003), "246802#AD13:2,50.00,-10.0#");

  // A reply without a record leaves its controls as they are.
  page.ReadGroup2Reply("#STC2:000041;AD14:0,70.00,1.000;#");
  EXPECT_EQ(Text("Temperature Sensor_1 Alert High"), "50.00");
  EXPECT_EQ(Text("Temperature Sensor_2 Alert High"), "70.00");
  EXPECT_EQ(Recorded(12004), "246802#AD14:0,70.00,1.000#");
  page.ReadGroup2Reply("");
  EXPECT_EQ(Text("Temperature Sensor_2 Alert High"), "70.00");

  // Choosing a channel copies its row and opens only the upper limit.
  Choose("Analog Channel", "Analog_03");
  EXPECT_EQ(Combo("Analog Channel Operation Mode")->currentText(), "Capture & Alert Enable");
  EXPECT_EQ(Text("Analog Channel Upper limit"), "10.00");
  EXPECT_EQ(Text("Analog Channel Alert High"), "9.000");
  for (const char* name : {"Analog Channel Lower limit", "Analog Channel Start Zero",
                           "Analog Channel Alert High", "Analog Channel Alert Low"}) {
    EXPECT_FALSE(Enabled(name)) << name;
  }
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();

  page.ClearPage();
  for (const char* name : {"Humidity Sensor Upper limit", "Temperature Sensor_1 Alert High",
                           "Temperature Sensor_5 Alert High", "Temperature Sensor_5 Start Zero",
                           "Analog Channel Upper limit", "Actual Humidity"}) {
    EXPECT_EQ(Text(name), "") << name;
  }
  for (const char* name : {"Humidity Sensor Operation Mode", "Temperature Sensor_8 Operation Mode",
                           "Analog Channel Operation Mode", "Analog Channel"}) {
    EXPECT_EQ(Combo(name)->currentIndex(), -1) << name;
  }
  EXPECT_EQ(Cell(2, 0), "Analog_03");
  EXPECT_EQ(Cell(2, 1), "");
  EXPECT_EQ(Cell(2, 6), "");
  EXPECT_EQ(command_buffer.Count(), 15u);  // the buffer is not the page's to clear
}

TEST_F(AnalogChannelPageTest, EachSetSendsItsRecordUnderItsCode) {
  page.FirstStatusReply();
  page.ReadGroup2Reply(kGroup2Reply);
  command_buffer.Clear();
  SelectDevice("000046");  // commands carry the selected device's setup password

  Choose("Analog Channel", "Analog_03");
  EXPECT_EQ(Click("Set Analog Channel"), "111111#AD03:10.00,0.000,0.000,2,9.000,1.000# 12005");
  EXPECT_EQ(Recorded(12008), "111111#AD03:10.00,0.000,0.000,2,9.000,1.000#");

  Choose("Temperature Sensor_5 Operation Mode", "Capture & Alert Enable");
  TypeAndLeave("Temperature Sensor_5 Alert High", "80");
  TypeAndLeave("Temperature Sensor_5 Alert Low", "-10");
  EXPECT_EQ(Click("Set Temperature Sensor_5"),
            "111111#AD09:1.000,0.000,1.000,2,80.00,-10.0# 12209");

  Choose("Temperature Sensor_1 Operation Mode", "Disable");
  EXPECT_EQ(Click("Set Temperature Sensor_1"), "111111#AD13:0,50.00,-10.0# 12003");
  EXPECT_EQ(Click("Set Temperature Sensor_2"), "111111#AD14:1,60.00,0.000# 12004");
  EXPECT_EQ(Click("Set Temperature Sensor_8"),
            "111111#AD12:1.000,0.000,1.000,0,40.00,0.000# 12212");
  EXPECT_EQ(command_buffer.Entries(),
            (std::map<int, std::string>{{12003, "111111#AD13:0,50.00,-10.0#"},
                                        {12004, "111111#AD14:1,60.00,0.000#"},
                                        {12008, "111111#AD03:10.00,0.000,0.000,2,9.000,1.000#"},
                                        {12209, "111111#AD09:1.000,0.000,1.000,2,80.00,-10.0#"},
                                        {12212, "111111#AD12:1.000,0.000,1.000,0,40.00,0.000#"}}));
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();
}

TEST_F(AnalogChannelPageTest, RefusalsSendNothing) {
  port.open = false;
  EXPECT_EQ(Click("Set Temperature Sensor_1"), "");
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Connect!");
  port.open = true;
  SelectDevice("000045");
  EXPECT_EQ(Click("Auto Calibration"), "");
  EXPECT_EQ(notifier.Last(), "Device SetupPassword is NULL ,please Edit Phone Book!");
  SelectDevice("000041");

  const std::pair<const char*, const char*> refusals[] = {
      {"Set Humidity Sensor", "Please Calibration Actual Humidity first!"},
      {"Set Analog Channel", "Please select Analog Channel Alarm Type!"},
      {"Set Temperature Sensor_1", "Please select Temperature Sensor_1 Alarm Type!"},
      {"Set Temperature Sensor_6", "Please select Temperature Sensor_6 Alarm Type!"},
      {"Auto Calibration", "Actual Humidity is empty!"},
  };
  for (const auto& [button, message] : refusals) {
    EXPECT_EQ(Click(button), "") << button;
    EXPECT_EQ(notifier.Last(), message) << button;
  }
  Choose("Temperature Sensor_2 Operation Mode", "Capture Enable");
  EXPECT_EQ(Click("Set Temperature Sensor_2"), "");
  EXPECT_EQ(notifier.Last(), "Temperature Sensor_2 Alert High is empty");
  EXPECT_EQ(LastMessage().caption, "Error");

  // Without a channel the record would overwrite the humidity sensor's: refused
  // once every field holds its value.
  Choose("Analog Channel Operation Mode", "Capture Enable");
  for (const auto& [field, value] : {std::pair{"Upper limit", "20"},
                                     {"Lower limit", "4"},
                                     {"Start Zero", "5"},
                                     {"Alert High", "18"},
                                     {"Alert Low", "6"}}) {
    TypeAndLeave(QString("Analog Channel ") + field, value);
  }
  EXPECT_EQ(Click("Set Analog Channel"), "");
  EXPECT_EQ(notifier.Last(), "Please select Analog Channel!");

  page.FirstStatusReply();
  Choose("Analog Channel", "Analog_01");
  Choose("Analog Channel Operation Mode", "Capture Enable");
  TypeAndLeave("Analog Channel Upper limit", "20");
  EXPECT_EQ(Click("Set Analog Channel"), "");
  EXPECT_EQ(notifier.Last(), "Analog Channel Lower limit is empty");
  EXPECT_EQ(command_buffer.Count(), 0u);
}

TEST_F(AnalogChannelPageTest, CalibrationWritesNeutralReadsRawThenWritesTheFactor) {
  StartCalibration("45");
  EXPECT_EQ(LastWrite(), "246802#AD00:100.0,0.000,0.000,1,100.0,0.000#");
  EXPECT_EQ(PendingCode(), 12000);
  EXPECT_TRUE(Calibrated());
  EXPECT_EQ(Recorded(12002), "<none>");
  EXPECT_EQ(Combo("Humidity Sensor Operation Mode")->currentText(), "Capture Enable");
  page.TickCalibrationState();  // the command is still in flight
  EXPECT_TRUE(Enabled("Humidity Sensor Alert High"));

  CalibrationReply("Set success!");
  EXPECT_EQ(NextCalibrationStep(), "135791#STATUS# 12001");
  CalibrationReply("#STA:000041,T;TM:261209143005;A00:45.20;A02:48.30;A07:21.10;#");
  EXPECT_EQ(Text("Humidity Sensor Upper limit"), "93.16");
  EXPECT_EQ(NextCalibrationStep(), "246802#AD00:93.16,0.000,0.000,1,100.0,0.000# 12002");
  EXPECT_EQ(Recorded(12002), "246802#AD00:93.16,0.000,0.000,1,100.0,0.000#");
  EndCommand();
  page.TickCalibrationState();
  EXPECT_TRUE(Calibrated());
  EXPECT_TRUE(Enabled("Humidity Sensor Operation Mode"));
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();

  // Calibrated, the humidity Set writes what the page shows.
  EXPECT_EQ(Click("Set Humidity Sensor"), "246802#AD00:93.16,0.000,0.000,1,100.0,0.000# 12002");
  page.ReadGroup2Reply("#STC2:000041;#");
  EXPECT_EQ(Text("Actual Humidity"), "45.00");  // the last actual humidity comes back
}

TEST_F(AnalogChannelPageTest, AFailedCalibrationRefusesTheHumiditySet) {
  struct Case {
    const char* what;
    const char* status;
    bool message;
  };
  const Case cases[] = {
      {"no raw reading", "#STA:000041,T;A00:45.20;#", false},
      {"raw reading 0", "#STA:000041,T;A00:0.00;A02:0.00;#", true},
      {"raw reading above 170", "#STA:000041,T;A02:170.50;#", true},
      {"factor above 170", "#STA:000041,T;A02:26.40;#", true},
  };
  for (const Case& c : cases) {
    notifier.messages.clear();
    StartCalibration("45");
    CalibrationReply("Set success!");
    EXPECT_EQ(NextCalibrationStep(), "135791#STATUS# 12001") << c.what;
    port.writes.clear();
    CalibrationReply(c.status);
    QTest::qWait(30);
    EXPECT_TRUE(port.writes.empty()) << c.what;
    EXPECT_FALSE(Calibrated()) << c.what;
    if (c.message) {
      ASSERT_EQ(notifier.messages.size(), 1u) << c.what;
      EXPECT_EQ(LastMessage().text, kCalibrationErrorMessage) << c.what;
      EXPECT_EQ(LastMessage().caption, "Error");
    } else {
      EXPECT_TRUE(notifier.messages.empty()) << c.what;
    }
    page.TickCalibrationState();
    EXPECT_FALSE(Enabled("Humidity Sensor Operation Mode")) << c.what;
    EXPECT_FALSE(Enabled("Humidity Sensor Alert Low")) << c.what;
    EXPECT_EQ(Click("Set Humidity Sensor"), "") << c.what;
    EXPECT_EQ(notifier.Last(), "Please Calibration Actual Humidity first!") << c.what;
  }
  page.ReadGroup2Reply("#STC2:000041;#");
  EXPECT_EQ(Text("Actual Humidity"), "");  // a failure forgets the actual humidity
}

TEST_F(AnalogChannelPageTest, ACalibrationWhoseStepEndsUnansweredFails) {
  StartCalibration("45");
  CalibrationReply("SET fail!");  // the neutral record was refused
  QTest::qWait(30);
  EXPECT_EQ(port.writes.size(), 1u);
  EXPECT_FALSE(Calibrated());

  StartCalibration("45");
  while (exchange.Tick()) {
  }  // the neutral record times out
  EXPECT_TRUE(Calibrated());
  page.TickCalibrationState();
  EXPECT_FALSE(Calibrated());
  page.CalibrationReply("Set success!");  // too late: no step follows
  QTest::qWait(30);
  EXPECT_EQ(port.writes.size(), 1u);
}

}  // namespace
}  // namespace vexa::testing
