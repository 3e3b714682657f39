#include "pages/device_setup/device_setup_page.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <ctime>

#include "page_fixture.h"
#include "pages/device_setup/status_lamp.h"

namespace vexa::testing {
namespace {

constexpr char kSampleReply[] =
    "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;AP1:+491709876543;"
    "AP2:;ER:00;IA:1;XH:21;OUT1:0010;OUT2:0005;#";

class DeviceSetupPageTest : public PageTest {
 protected:
  DeviceSetupPageTest() {
    page.show();
    QApplication::setActiveWindow(&page);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    for (Widget* widget : page.findChildren<Widget*>()) {
      if (widget->accessibleName() == name) return widget;
    }
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
  }
  QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
  QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
  QString Text(const char* name) { return Edit(name)->text(); }

  // Types into a field as the engineer would, leaving the cursor in it.
  void Type(const char* name, const QString& text) {
    QLineEdit* field = Edit(name);
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, text);
  }
  // Moves the cursor to the Info box, out of whatever field holds it.
  void Leave() { Find<QPlainTextEdit>("Info")->setFocus(); }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  void Choose(const char* name, const char* item) {
    QComboBox* box = Combo(name);
    box->setCurrentIndex(box->findText(item));
  }
  // Clicks a Set button and returns what went out, ending the command again.
  std::string SetAndTakeWrite(const char* button) {
    port.writes.clear();
    Click(button);
    const std::string written = LastWrite();
    if (exchange.busy()) EndCommand();
    return written;
  }
  bool Lit(const char* name) { return Find<StatusLamp>(name)->lit(); }
  int Signal() { return Find<QProgressBar>("Signal Strength")->value(); }

  CTarvoKSet1Dlg page{context};
};

TEST_F(DeviceSetupPageTest, StartsEmptyWithNothingChosenAndListsItemsInOrder) {
  QComboBox* logging = Combo("Data Logging Interval");
  QComboBox* sms = Combo("SMS Upload Interval");
  EXPECT_EQ(logging->currentIndex(), -1);
  EXPECT_EQ(sms->currentIndex(), -1);
  QStringList items;
  for (int i = 0; i < logging->count(); ++i) items << logging->itemText(i);
  EXPECT_EQ(items.join("|"), "00|01 Minute|05 Minute|15 Minute|30 Minute|60 Minute");
  items.clear();
  for (int i = 0; i < sms->count(); ++i) items << sms->itemText(i);
  EXPECT_EQ(items.join("|").toStdString(),
            "00|01 Minute|05 Minute|15 Minute|30 Minute|01 Hour|02 Hour|06 Hour|12 Hour|24 Hour");
  EXPECT_FALSE(Lit("GSM Module"));
  EXPECT_FALSE(Lit("SIM Card"));
  EXPECT_EQ(Signal(), 0);
  for (QWidget* control : page.findChildren<QWidget*>()) {
    if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPushButton*>(control) ||
        qobject_cast<QComboBox*>(control)) {
      EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    }
  }
}

TEST_F(DeviceSetupPageTest, SixDigitFieldsArePaddedWithZerosWhenLeft) {
  Type("Station ID", "42");
  Leave();
  EXPECT_EQ(Text("Station ID"), "000042");
  Type("Enquiry Password", "123");
  Leave();
  EXPECT_EQ(Text("Enquiry Password"), "000123");
  Type("Setup Password", "7");
  Leave();
  EXPECT_EQ(Text("Setup Password"), "000007");
  Type("Station ID", "12345678x9");  // digits only, six at most
  Leave();
  EXPECT_EQ(Text("Station ID"), "123456");
  Type("Station ID", "");
  Leave();
  EXPECT_EQ(Text("Station ID"), "");
  EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(DeviceSetupPageTest, ClickingSetLeavesTheFieldSoThePaddedIdGoesOut) {
  Type("Station ID", "42");
  EXPECT_EQ(SetAndTakeWrite("Set Station ID"), "246802#ST:000042#");
  EXPECT_EQ(Recorded(11002), "246802#ST:000042#");
}

TEST_F(DeviceSetupPageTest, PhoneNumberChecks) {
  Type("Control Centre Number", "+49170123");
  Leave();
  EXPECT_EQ(Text("Control Centre Number"), "+49170123");
  EXPECT_TRUE(notifier.messages.empty());

  for (const char* wrong : {"49+170", "0170 123", "++49"}) {
    notifier.messages.clear();
    Type("Control Centre Number", wrong);
    Leave();
    EXPECT_EQ(notifier.Last(), "PhoneNumber is error!") << wrong;
    EXPECT_EQ(Text("Control Centre Number"), "") << wrong;
  }

  // The alarm phones have no character check, only the length one.
  notifier.messages.clear();
  Type("Alarm Phone 1", "abc");
  Leave();
  EXPECT_EQ(Text("Alarm Phone 1"), "abc");
  for (const char* name : {"Control Centre Number", "Alarm Phone 1", "Alarm Phone 2"}) {
    notifier.messages.clear();
    Type(name, "1234567890123456789");
    EXPECT_EQ(Text(name), "1234567890123456789") << name;
    EXPECT_TRUE(notifier.messages.empty()) << name;
    QTest::keyClicks(Edit(name), "0");
    EXPECT_EQ(notifier.Last(), "Phone Number over 19 Number!") << name;
    EXPECT_EQ(Text(name), "") << name;
  }
}

TEST_F(DeviceSetupPageTest, EachSetSendsItsCommandAndRecordsWhereItShould) {
  Edit("Enquiry Password")->setText("000123");
  Edit("Setup Password")->setText("654321");
  EXPECT_EQ(SetAndTakeWrite("Set Passwords"), "246802#PS:000123,654321#");
  EXPECT_EQ(exchange.state().last_command, "246802#PS:000123,654321#");

  Edit("Date/Time")->setText("2601311745");
  port.writes.clear();
  Click("Set Date/Time");
  EXPECT_EQ(LastWrite(), "246802#TM:2601311745#");
  EXPECT_EQ(PendingCode(), 11004);
  EndCommand();

  Choose("Data Logging Interval", "01 Minute");
  EXPECT_EQ(SetAndTakeWrite("Set Data Logging Interval"), "246802#SA:5#");
  Choose("Data Logging Interval", "60 Minute");
  port.writes.clear();
  Click("Set Data Logging Interval");
  EXPECT_EQ(LastWrite(), "246802#SA:4#");
  EXPECT_EQ(PendingCode(), 11005);
  EndCommand();

  Choose("SMS Upload Interval", "06 Hour");
  Edit("Control Centre Number")->setText("+4917012");
  port.writes.clear();
  Click("Set SMS Upload");
  EXPECT_EQ(LastWrite(), "246802#CP:+4917012!,7#");
  EXPECT_EQ(PendingCode(), 11007);
  EndCommand();

  // An empty alarm number goes out as it is.
  EXPECT_EQ(SetAndTakeWrite("Set Alarm Phone 1"), "246802#AP1:!#");
  Edit("Alarm Phone 2")->setText("0123");
  port.writes.clear();
  Click("Set Alarm Phone 2");
  EXPECT_EQ(LastWrite(), "246802#AP2:0123!#");
  EXPECT_EQ(PendingCode(), 11010);
  EndCommand();

  const std::map<int, std::string> expected = {{11004, "246802#TM:2601311745#"},
                                               {11005, "246802#SA:4#"},
                                               {11007, "246802#CP:+4917012!,7#"},
                                               {11009, "246802#AP1:!#"},
                                               {11010, "246802#AP2:0123!#"}};
  EXPECT_EQ(command_buffer.Entries(), expected);  // nothing for the passwords
  EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(DeviceSetupPageTest, EmptyOrUnchosenValuesAreRefusedBeforeAnythingIsSent) {
  const struct {
    const char* button;
    const char* message;
  } cases[] = {
      {"Set Station ID", "Station ID  is error !"},
      {"Set Passwords", "Device Query Password is NULL!"},
      {"Set Date/Time", "Device DateTime is NULL!"},
      {"Set Data Logging Interval", "Please select Data Logging Interval!"},
      {"Set SMS Upload", "Please select SMS Upload Interval!"},
  };
  for (const auto& c : cases) {
    Click(c.button);
    EXPECT_EQ(notifier.Last(), c.message) << c.button;
  }
  Edit("Enquiry Password")->setText("135791");
  Click("Set Passwords");
  EXPECT_EQ(notifier.Last(), "Device Setup Password is NULL!");
  Choose("SMS Upload Interval", "00");
  Click("Set SMS Upload");
  EXPECT_EQ(notifier.Last(), "Control Centre Number is NULL!");
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(command_buffer.Count(), 0u);
}

TEST_F(DeviceSetupPageTest, PreconditionsComeFirstAndANullPhoneNumberStillSends) {
  Edit("Station ID")->setText("000042");
  port.open = false;
  Click("Set Station ID");
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Connect!");
  port.open = true;
  SelectDevice("000045");
  Click("Set Station ID");
  EXPECT_EQ(notifier.Last(), "Device SetupPassword is NULL ,please Edit Phone Book!");
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(command_buffer.Count(), 0u);

  SelectDevice("000042");  // phone "NULL", no passwords
  notifier.messages.clear();
  Click("Set Station ID");
  EXPECT_EQ(notifier.Last(), "command success");
  EXPECT_EQ(LastWrite(), "#ST:000042#");
  EXPECT_EQ(PendingCode(), 11002);

  Click("Set Alarm Phone 1");
  EXPECT_EQ(notifier.Last(), "Command is in progress...");
  EXPECT_EQ(port.writes.size(), 1u);
}

TEST_F(DeviceSetupPageTest, ResetAsksFirstAndSendsTheFixedAccessCode) {
  notifier.answer = false;
  Click("Reset");
  ASSERT_EQ(notifier.messages.size(), 1u);
  const RecordingNotifier::Message& question = notifier.messages.back();
  EXPECT_TRUE(question.question);
  EXPECT_EQ(question.text, "This operation will initialize all the settings!\n");
  EXPECT_EQ(question.caption, "Attention");
  EXPECT_EQ(question.icon, MessageIcon::kWarning);
  EXPECT_TRUE(port.writes.empty());

  notifier.answer = true;
  Click("Reset");
  EXPECT_EQ(LastWrite(), "tovel3#RESET#");
  EXPECT_EQ(PendingCode(), 11019);
  EXPECT_EQ(command_buffer.Count(), 0u);
}

TEST_F(DeviceSetupPageTest, DateTimeButtonWritesTheLocalTimeInTheLoggersFormat) {
  const auto now = [] {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[16];
    std::strftime(text, sizeof text, "%y%m%d%H%M", &local);
    return QString(text);
  };
  const QString before = now();
  Click("Date/Time Now");
  const QString shown = Text("Date/Time");
  EXPECT_TRUE(QRegularExpression("^\\d{10}$").match(shown).hasMatch()) << shown.toStdString();
  EXPECT_TRUE(shown == before || shown == now()) << shown.toStdString();
}

TEST_F(DeviceSetupPageTest, ReadingAReplyFillsThePageAndRecordsItsSettings) {
  command_buffer.RecordCommand(11015, "246802#XX:1#");
  SelectDevice("000046");  // records carry the selected device's setup password
  page.ReadGroup1Reply(kSampleReply);
  EXPECT_EQ(Text("Station ID"), "000041");
  EXPECT_EQ(Text("Date/Time"), "2612091430");
  EXPECT_EQ(Text("Enquiry Password"), "135791");
  EXPECT_EQ(Text("Setup Password"), "246802");
  EXPECT_EQ(Combo("Data Logging Interval")->currentText(), "30 Minute");
  EXPECT_EQ(Combo("SMS Upload Interval")->currentText(), "05 Minute");
  EXPECT_EQ(Text("Control Centre Number"), "+491701234567");
  EXPECT_EQ(Text("Alarm Phone 1"), "+491709876543");
  EXPECT_EQ(Text("Alarm Phone 2"), "");
  EXPECT_TRUE(Lit("GSM Module"));
  EXPECT_TRUE(Lit("SIM Card"));
  EXPECT_EQ(Signal(), 70);
  EXPECT_EQ(Recorded(11002), "111111#ST:000041#");
  EXPECT_EQ(Recorded(11007), "111111#CP:+491701234567!,2#");
  EXPECT_EQ(Recorded(11015), "<none>");
  EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(DeviceSetupPageTest, ReplyEdgeCasesOfIntervalSignalLampsAndCentreNumber) {
  const struct {
    const char* sa;
    const char* item;
  } intervals[] = {{"5", "01 Minute"}, {"1", "05 Minute"}, {"0", "00"}, {"4", "60 Minute"},
                   {"6", ""},          {"9", ""},          {"x", "00"}};
  for (const auto& c : intervals) {
    page.ReadGroup1Reply(std::string("#STC1:000041;SA:") + c.sa + ";#");
    EXPECT_EQ(Combo("Data Logging Interval")->currentText(), c.item) << c.sa;
    EXPECT_EQ(Recorded(11005), std::string("246802#SA:") + c.sa + "#");
  }
  EXPECT_EQ(Combo("Data Logging Interval")->currentIndex(), 0);

  for (const auto& [xh, bar] : {std::pair{"15", 50}, {"99", 0}, {"31", 100}, {"0", 0}}) {
    page.ReadGroup1Reply(std::string("XH:") + xh + ";");
    EXPECT_EQ(Signal(), bar) << xh;
  }

  page.ReadGroup1Reply("ER:01;");
  EXPECT_TRUE(Lit("GSM Module"));
  EXPECT_FALSE(Lit("SIM Card"));
  page.ReadGroup1Reply("ER:10;");
  EXPECT_FALSE(Lit("GSM Module"));
  EXPECT_TRUE(Lit("SIM Card"));

  // A long number from the logger is shown, not refused: the length check is for typing.
  page.ReadGroup1Reply("AP1:+49170123456789012345;");
  EXPECT_EQ(Text("Alarm Phone 1"), "+49170123456789012345");
  EXPECT_TRUE(notifier.messages.empty());

  page.ReadGroup1Reply("CP:+4917,9;");
  page.ReadGroup1Reply("CP:+4999;AP2:0123;");
  EXPECT_EQ(Text("Control Centre Number"), "+4917");
  EXPECT_EQ(Combo("SMS Upload Interval")->currentText(), "24 Hour");
  EXPECT_EQ(Text("Alarm Phone 2"), "0123");
  EXPECT_EQ(Recorded(11007), "246802#CP:+4917!,9#");
}

TEST_F(DeviceSetupPageTest, InfoBoxAndClear) {
  page.ShowInfo("initialize succesed!");
  EXPECT_EQ(Find<QPlainTextEdit>("Info")->toPlainText(), "Initialization Completed!");
  page.ShowInfo("BJ-GSM TEST OK CSQ:21 \xb5");
  EXPECT_EQ(Find<QPlainTextEdit>("Info")->toPlainText(),
            QString::fromUtf8("BJ-GSM TEST OK CSQ:21 µ"));

  page.ReadGroup1Reply(kSampleReply);
  const std::size_t recorded = command_buffer.Count();
  page.ClearPage();
  for (const char* name : {"Station ID", "Enquiry Password", "Setup Password", "Date/Time",
                           "Control Centre Number", "Alarm Phone 1", "Alarm Phone 2"}) {
    EXPECT_EQ(Text(name), "") << name;
  }
  EXPECT_EQ(Combo("Data Logging Interval")->currentIndex(), -1);
  EXPECT_EQ(Combo("SMS Upload Interval")->currentIndex(), -1);
  EXPECT_EQ(Find<QPlainTextEdit>("Info")->toPlainText(), "");
  EXPECT_EQ(Signal(), 0);
  EXPECT_FALSE(Lit("GSM Module"));
  EXPECT_FALSE(Lit("SIM Card"));
  EXPECT_EQ(command_buffer.Count(), recorded);  // the buffer is not the page's to clear
}

}  // namespace
}  // namespace vexa::testing
