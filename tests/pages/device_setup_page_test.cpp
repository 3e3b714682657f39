#include "pages/device_setup/device_setup_page.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest/QTest>
#include <ctime>

#include "page_fixture.h"
#include "pages/device_setup/status_lamp.h"

namespace vexa::testing {
namespace {

class DeviceSetupPageTest : public ShownPageTest<CTarvoKSet1Dlg> {
 protected:
  QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
  QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
  std::string Text(const char* name) { return Edit(name)->text().toStdString(); }
  std::string Chosen(const char* name) { return Combo(name)->currentText().toStdString(); }
  bool Lit(const char* name) { return Find<StatusLamp>(name)->lit(); }
  int Signal() { return Find<QProgressBar>("Signal Strength")->value(); }

  // Types into a field and leaves it for the Info box; returns what it then shows.
  std::string TypeAndLeave(const char* name, const char* text) {
    QLineEdit* field = Edit(name);
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, text);
    Find<QPlainTextEdit>("Info")->setFocus();
    return field->text().toStdString();
  }
  void Choose(const char* name, const char* item) {
    Combo(name)->setCurrentIndex(Combo(name)->findText(item));
  }
  std::string Click(const char* name) { return Press(Find<QPushButton>(name)); }
};

TEST_F(DeviceSetupPageTest, StartsWithNothingChosenAndListsTheItemsUnsorted) {
  QComboBox* logging = Combo("Data Logging Interval");
  QComboBox* sms = Combo("SMS Upload Interval");
  EXPECT_EQ(logging->currentIndex(), -1);
  EXPECT_EQ(sms->currentIndex(), -1);
  EXPECT_EQ(logging->itemText(1), "01 Minute");
  EXPECT_EQ(logging->itemText(5), "60 Minute");
  EXPECT_EQ(sms->itemText(5), "01 Hour");
  EXPECT_EQ(sms->count(), 10);
  for (QWidget* control : page.findChildren<QWidget*>()) {
    if (control->focusPolicy() != Qt::NoFocus || qobject_cast<StatusLamp*>(control)) {
      EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    }
  }
}

TEST_F(DeviceSetupPageTest, LeavingAFieldPadsOrChecksIt) {
  EXPECT_EQ(TypeAndLeave("Station ID", "42"), "000042");
  EXPECT_EQ(TypeAndLeave("Enquiry Password", "123"), "000123");
  EXPECT_EQ(TypeAndLeave("Setup Password", "7"), "000007");
  EXPECT_EQ(TypeAndLeave("Station ID", "12345678x9"), "123456");  // digits only, six at most
  EXPECT_EQ(TypeAndLeave("Station ID", ""), "");
  EXPECT_EQ(TypeAndLeave("Control Centre Number", "+49170123"), "+49170123");
  EXPECT_EQ(TypeAndLeave("Alarm Phone 1", "abc"), "abc");  // only the centre number is checked
  EXPECT_TRUE(notifier.messages.empty());

  for (const char* wrong : {"49+170", "0170 123", "++49"}) {
    EXPECT_EQ(TypeAndLeave("Control Centre Number", wrong), "") << wrong;
    EXPECT_EQ(notifier.Last(), "PhoneNumber is error!") << wrong;
  }
  for (const char* name : {"Control Centre Number", "Alarm Phone 1", "Alarm Phone 2"}) {
    notifier.messages.clear();
    EXPECT_EQ(TypeAndLeave(name, "1234567890123456789"), "1234567890123456789");
    QTest::keyClicks(Edit(name), "0");
    EXPECT_EQ(notifier.Last(), "Phone Number over 19 Number!") << name;
    EXPECT_EQ(Text(name), "") << name;
  }
}

TEST_F(DeviceSetupPageTest, EachSetSendsItsCommandAndRecordsAllButThePasswords) {
  Edit("Station ID")->setFocus();
  QTest::keyClicks(Edit("Station ID"), "42");  // the click on Set leaves the field first
  EXPECT_EQ(Click("Set Station ID"), "246802#ST:000042# 11002");
  Edit("Enquiry Password")->setText("000123");
  Edit("Setup Password")->setText("654321");
  EXPECT_EQ(Click("Set Passwords"), "246802#PS:000123,654321# 11003");
  Edit("Date/Time")->setText("2601311745");
  EXPECT_EQ(Click("Set Date/Time"), "246802#TM:2601311745# 11004");
  Choose("Data Logging Interval", "01 Minute");
  EXPECT_EQ(Click("Set Data Logging Interval"), "246802#SA:5# 11005");
  Choose("Data Logging Interval", "60 Minute");
  EXPECT_EQ(Click("Set Data Logging Interval"), "246802#SA:4# 11005");
  Choose("SMS Upload Interval", "06 Hour");
  Edit("Control Centre Number")->setText("+4917012");
  EXPECT_EQ(Click("Set SMS Upload"), "246802#CP:+4917012!,7# 11007");
  EXPECT_EQ(Click("Set Alarm Phone 1"), "246802#AP1:!# 11009");  // empty goes out as is
  Edit("Alarm Phone 2")->setText("0123");
  EXPECT_EQ(Click("Set Alarm Phone 2"), "246802#AP2:0123!# 11010");
  EXPECT_EQ(command_buffer.Entries(), (std::map<int, std::string>{{11002, "246802#ST:000042#"},
                                                                  {11004, "246802#TM:2601311745#"},
                                                                  {11005, "246802#SA:4#"},
                                                                  {11007, "246802#CP:+4917012!,7#"},
                                                                  {11009, "246802#AP1:!#"},
                                                                  {11010, "246802#AP2:0123!#"}}));
  EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(DeviceSetupPageTest, RefusalsComeAfterThePreconditionsAndSendNothing) {
  port.open = false;
  EXPECT_EQ(Click("Set Station ID"), "");
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Connect!");
  port.open = true;
  const std::pair<const char*, const char*> cases[] = {
      {"Set Station ID", "Station ID  is error !"},
      {"Set Passwords", "Device Query Password is NULL!"},
      {"Set Date/Time", "Device DateTime is NULL!"},
      {"Set Data Logging Interval", "Please select Data Logging Interval!"},
      {"Set SMS Upload", "Please select SMS Upload Interval!"},
  };
  for (const auto& [button, message] : cases) {
    EXPECT_EQ(Click(button), "") << button;
    EXPECT_EQ(notifier.Last(), message) << button;
  }
  Edit("Enquiry Password")->setText("135791");
  EXPECT_EQ(Click("Set Passwords"), "");
  EXPECT_EQ(notifier.Last(), "Device Setup Password is NULL!");
  Choose("SMS Upload Interval", "00");
  EXPECT_EQ(Click("Set SMS Upload"), "");
  EXPECT_EQ(notifier.Last(), "Control Centre Number is NULL!");
  EXPECT_EQ(command_buffer.Count(), 0u);
}

TEST_F(DeviceSetupPageTest, NullPhoneNumberSaysSuccessThenSends) {
  SelectDevice("000042");  // phone "NULL", no passwords
  Edit("Station ID")->setText("000042");
  EXPECT_EQ(Click("Set Station ID"), "#ST:000042# 11002");
  EXPECT_EQ(notifier.Last(), "command success");
}

TEST_F(DeviceSetupPageTest, ResetAsksAndSendsTheAccessCodeOnlyOnOk) {
  notifier.answer = false;
  EXPECT_EQ(Click("Reset"), "");
  ASSERT_EQ(notifier.messages.size(), 1u);
  const RecordingNotifier::Message& question = notifier.messages.back();
  EXPECT_TRUE(question.question);
  EXPECT_EQ(question.text, "This operation will initialize all the settings!\n");
  EXPECT_EQ(question.caption, "Attention");
  EXPECT_EQ(question.icon, MessageIcon::kWarning);

  notifier.answer = true;
  EXPECT_EQ(Click("Reset"), "tovel3#RESET# 11019");
  EXPECT_EQ(command_buffer.Count(), 0u);
}

TEST_F(DeviceSetupPageTest, NowButtonWritesTheLocalTimeInTheLoggersFormat) {
  const auto now = [] {
    const std::time_t t = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%y%m%d%H%M", std::localtime(&t));
    return std::string(text);
  };
  const std::string before = now();
  Click("...");
  EXPECT_TRUE(Text("Date/Time") == before || Text("Date/Time") == now()) << Text("Date/Time");
}

TEST_F(DeviceSetupPageTest, ReadingAReplyFillsThePageAndRecordsItsSettings) {
  command_buffer.RecordCommand(11015, "246802#XX:1#");
  SelectDevice("000046");  // records carry the selected device's setup password
  page.ReadGroup1Reply(
      "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;AP1:+491709876543;"
      "AP2:;ER:00;IA:1;XH:21;OUT1:0010;OUT2:0005;#");
  EXPECT_EQ(Text("Station ID"), "000041");
  EXPECT_EQ(Text("Date/Time"), "2612091430");
  EXPECT_EQ(Text("Enquiry Password"), "135791");
  EXPECT_EQ(Text("Setup Password"), "246802");
  EXPECT_EQ(Chosen("Data Logging Interval"), "30 Minute");
  EXPECT_EQ(Chosen("SMS Upload Interval"), "05 Minute");
  EXPECT_EQ(Text("Control Centre Number"), "+491701234567");
  EXPECT_EQ(Text("Alarm Phone 1"), "+491709876543");
  EXPECT_TRUE(Lit("GSM Module") && Lit("SIM Card"));
  EXPECT_EQ(Signal(), 70);
  EXPECT_EQ(command_buffer.Entries(),
            (std::map<int, std::string>{{11002, "111111#ST:000041#"},
                                        {11004, "111111#TM:2612091430#"},
                                        {11005, "111111#SA:3#"},
                                        {11007, "111111#CP:+491701234567!,2#"},
                                        {11009, "111111#AP1:+491709876543!#"}}));

  page.ClearPage();
  for (const char* name : {"Station ID", "Enquiry Password", "Setup Password", "Date/Time",
                           "Control Centre Number", "Alarm Phone 1", "Alarm Phone 2"}) {
    EXPECT_EQ(Text(name), "") << name;
  }
  EXPECT_EQ(Combo("Data Logging Interval")->currentIndex(), -1);
  EXPECT_EQ(Combo("SMS Upload Interval")->currentIndex(), -1);
  EXPECT_FALSE(Lit("GSM Module") || Lit("SIM Card"));
  EXPECT_EQ(Signal(), 0);
  EXPECT_EQ(command_buffer.Count(), 5u);  // the buffer is not the page's to clear
}

TEST_F(DeviceSetupPageTest, ReplyEdgeCasesLeaveUntouchedWhatTheyCannotRead) {
  const std::pair<const char*, const char*> intervals[] = {
      {"5", "01 Minute"}, {"1", "05 Minute"}, {"0", "00"}, {"6", ""}, {"9", ""}, {"x", "00"}};
  for (const auto& [sa, item] : intervals) {
    page.ReadGroup1Reply(std::string("SA:") + sa + ";");
    EXPECT_EQ(Chosen("Data Logging Interval"), item) << sa;
    EXPECT_EQ(Recorded(11005), std::string("246802#SA:") + sa + "#");
  }
  for (const auto& [xh, bar] : {std::pair{"15", 50}, {"99", 0}, {"31", 100}}) {
    page.ReadGroup1Reply(std::string("XH:") + xh + ";");
    EXPECT_EQ(Signal(), bar) << xh;
  }
  page.ReadGroup1Reply("ER:01;");
  EXPECT_TRUE(Lit("GSM Module"));
  EXPECT_FALSE(Lit("SIM Card"));

  page.ReadGroup1Reply("CP:+4917,9;");
  page.ReadGroup1Reply("CP:+4999;");
  EXPECT_EQ(Text("Control Centre Number"), "+4917");
  EXPECT_EQ(Chosen("SMS Upload Interval"), "24 Hour");
  EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(DeviceSetupPageTest, OverLongNumbersFromTheLoggerAreReportedAfterTheReply) {
  page.ReadGroup1Reply("CP:+4917012345678901234,2;AP1:+49170123456789012345;AP2:+4917;");
  // Nothing while the reply is being read: it is shown as it came.
  EXPECT_EQ(Text("Alarm Phone 1"), "+49170123456789012345");
  EXPECT_TRUE(notifier.messages.empty());

  QApplication::processEvents();
  ASSERT_EQ(notifier.messages.size(), 2u);
  EXPECT_EQ(notifier.Last(), "Phone Number over 19 Number!");
  EXPECT_EQ(Text("Control Centre Number"), "");
  EXPECT_EQ(Text("Alarm Phone 1"), "");
  EXPECT_EQ(Text("Alarm Phone 2"), "+4917");
  // The logger's setting stays recorded as read.
  EXPECT_EQ(Recorded(11009), "246802#AP1:+49170123456789012345!#");
}

TEST_F(DeviceSetupPageTest, InfoBoxShowsTheResetReplyInWords) {
  page.ShowInfo("initialize succesed!");
  EXPECT_EQ(Find<QPlainTextEdit>("Info")->toPlainText(), "Initialization Completed!");
  page.ShowInfo("BJ-GSM TEST OK \xb5");
  EXPECT_EQ(Find<QPlainTextEdit>("Info")->toPlainText(), QString::fromUtf8("BJ-GSM TEST OK µ"));
}

}  // namespace
}  // namespace vexa::testing
