// The Device Setup page in the whole program, against the built-in simulated
// logger: what it reads, and how the phone book follows what it sets.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QLineEdit>

#include "window_fixture.h"

namespace vexa::testing {
namespace {

class DeviceSetupEndToEnd : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ConnectAndSelect(false);
    DevicePages()->SetActivePage(0);
  }

  template <typename Widget>
  Widget* PageControl(const QString& name) {
    return WindowTest::PageControl<Widget>(0, name);
  }
  QLineEdit* Field(const QString& name) { return PageControl<QLineEdit>(name); }
  void Type(const QString& field_name, const QString& text) {
    WindowTest::Type(Field(field_name), text);
  }
  QString RunWindow(const QString& name) { return Run(name); }
  QString RunPage(const QString& name) { return Run(PageControl<QPushButton>(name)); }

  PhoneBookEntry StoredEntry() {
    RecordingNotifier quiet;
    PhoneBookStore book(phone_book_path(), quiet);
    book.LoadEntries();
    EXPECT_EQ(book.entries().size(), 1u);
    return book.entries().empty() ? PhoneBookEntry{} : book.entries().front();
  }
};

TEST_F(DeviceSetupEndToEnd, ReadingGroup1FillsThePage) {
  EXPECT_EQ(RunWindow("#1"), "Command Success");
  EXPECT_EQ(Field("Station ID")->text(), "000041");
  EXPECT_EQ(Field("Enquiry Password")->text(), "135791");
  EXPECT_EQ(Field("Setup Password")->text(), "246802");
  EXPECT_EQ(Field("Control Centre Number")->text(), "+491701234567");
  EXPECT_EQ(Field("Alarm Phone 1")->text(), "+491709876543");
  EXPECT_EQ(PageControl<QComboBox>("Data Logging Interval")->currentText(), "30 Minute");
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

TEST_F(DeviceSetupEndToEnd, StationIdChangeIsFollowedByThePhoneBook) {
  Type("Station ID", "77");
  EXPECT_EQ(RunPage("Set Station ID"), "Command Success");
  EXPECT_EQ(StoredEntry(), (PhoneBookEntry{"000077", "+491701000041", "135791", "246802"}));
  EXPECT_EQ(DeviceList()->currentText(), "000077");
  // Told after the delete and again after the add, the phone book page shows the new entry.
  QLineEdit* book_id = nullptr;
  for (QLineEdit* edit : window_->findChild<CMyTabCtrl1*>()->page()->findChildren<QLineEdit*>()) {
    if (AccessibleName(edit) == "Connection No") book_id = edit;
  }
  ASSERT_NE(book_id, nullptr);
  EXPECT_EQ(book_id->text(), "000077");

  Field("Station ID")->clear();
  EXPECT_EQ(RunWindow("#1"), "Command Success");
  EXPECT_EQ(Field("Station ID")->text(), "000077");
}

TEST_F(DeviceSetupEndToEnd, StationIdTakenByAnotherEntryKeepsBothAndThisLoggersPasswords) {
  const std::string other = Record({"000042", "+491701000099", "111111", "222222"});
  WritePhoneBook(other + logger_record_);
  Type("Station ID", "42");
  EXPECT_EQ(RunPage("Set Station ID"), "Command Success");
  EXPECT_EQ(ReadBytes(phone_book_path()), PhoneBook(other + logger_record_));
  EXPECT_THAT(notifier_.Last(), ::testing::HasSubstr("already holds a different entry 000042"));
  EXPECT_EQ(DeviceList()->currentText(), "000041");

  // Still this logger's password: a read of the other's would be refused.
  EXPECT_EQ(RunWindow("#1"), "Command Success");
  EXPECT_EQ(Field("Station ID")->text(), "000042");
}

TEST_F(DeviceSetupEndToEnd, NewPasswordsAreUsedByTheNextRead) {
  Type("Enquiry Password", "111111");
  Type("Setup Password", "222222");
  EXPECT_EQ(RunPage("Set Passwords"), "Command Success");
  EXPECT_EQ(StoredEntry(), (PhoneBookEntry{"000041", "+491701000041", "111111", "222222"}));
  EXPECT_EQ(RunWindow("#1"), "Command Success");
  EXPECT_TRUE(DataLog().contains("PS:111111,222222"));
}

TEST_F(DeviceSetupEndToEnd, ResetRestoresFactoryPasswordsInLoggerAndPhoneBook) {
  Type("Enquiry Password", "111111");
  Type("Setup Password", "222222");
  ASSERT_EQ(RunPage("Set Passwords"), "Command Success");

  notifier_.answer = true;
  EXPECT_EQ(RunPage("Reset"), "Command Success");
  EXPECT_EQ(notifier_.messages.back().caption, "Attention");
  EXPECT_EQ(StoredEntry(), (PhoneBookEntry{"000041", "+491701000041", "135791", "246802"}));
  EXPECT_EQ(PageControl<QPlainTextEdit>("Info")->toPlainText(), "Initialization Completed!");
  EXPECT_EQ(RunWindow("#1"), "Command Success");
  EXPECT_TRUE(DataLog().contains("PS:135791,246802"));
}

TEST_F(DeviceSetupEndToEnd, InitAfterAPasswordChangeEndsWithTheFactoryPasswords) {
  Type("Enquiry Password", "111111");
  Type("Setup Password", "222222");
  ASSERT_EQ(RunPage("Set Passwords"), "Command Success");

  QTest::mouseClick(Button("Init"), Qt::LeftButton, Qt::ControlModifier);
  ASSERT_TRUE(WaitForCommandEnd(20000)) << DataLog().toStdString();
  EXPECT_EQ(StatusText(), "Command Success");
  EXPECT_EQ(StoredEntry(), (PhoneBookEntry{"000041", "+491701000041", "135791", "246802"}));
  EXPECT_EQ(PageControl<QPlainTextEdit>("Info")->toPlainText(), "Initialization Completed!");
  EXPECT_EQ(RunWindow("#1"), "Command Success");
}

TEST_F(DeviceSetupEndToEnd, CancelledResetSendsNothing) {
  const QString log_before = DataLog();
  notifier_.answer = false;
  QTest::mouseClick(PageControl<QPushButton>("Reset"), Qt::LeftButton);
  EXPECT_FALSE(Control<QProgressBar>("Command progress")->isVisible());
  QTest::qWait(600);
  EXPECT_EQ(DataLog(), log_before);
  EXPECT_EQ(StoredEntry().setup_password, "246802");
}

}  // namespace
}  // namespace vexa::testing
