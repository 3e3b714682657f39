#include <gmock/gmock.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <cstdlib>

#include "window_fixture.h"

namespace vexa::testing {
namespace {

using FilesTest = WindowTest;

TEST_F(FilesTest, ADamagedPhoneBookIsToldOnceOverTheWindowWithWhereItsCopyIs) {
  window_.reset();
  const std::string damaged = PhoneBook(logger_record_).substr(0, 80);
  WriteBytes(phone_book_path(), damaged);
  window_ = std::make_unique<CDataLoggerSetupDlg>(notifier_, phone_book_path());
  window_->show();
  EXPECT_TRUE(notifier_.messages.empty());  // not before the window is up
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  ASSERT_EQ(notifier_.messages.size(), 1u);
  EXPECT_THAT(notifier_.Last(), ::testing::HasSubstr(" is damaged, "));
  EXPECT_THAT(notifier_.Last(), ::testing::HasSubstr(phone_book_path() + ".1.bak"));
  EXPECT_EQ(ReadBytes(phone_book_path() + ".1.bak"), damaged);
  DeviceList()->showPopup();
  EXPECT_EQ(DeviceList()->count(), 0);
  DeviceList()->hidePopup();
}

TEST_F(FilesTest, APipeInPlaceOfTheSetupLogNeitherHoldsTheWindowNorHidesAnyRefusal) {
  const char* saved = std::getenv("TMPDIR");
  const std::string saved_tmpdir = saved ? saved : "";
  setenv("TMPDIR", folder_.path().c_str(), 1);
  const std::string log_path = folder_.File("SetupLog.txt");
  ASSERT_EQ(mkfifo(log_path.c_str(), 0600), 0);
  OpenWindow(logger_record_);  // takes the log's place from TMPDIR
  saved ? setenv("TMPDIR", saved_tmpdir.c_str(), 1) : unsetenv("TMPDIR");

  ConnectAndSelect(false);
  EXPECT_EQ(Run("#1"), "Command Success");
  const QString refusal = QString::fromStdString(
      "Setup log " + log_path + " not written: it is not a plain file (a folder, pipe or device)");
  EXPECT_EQ(DataLog().count(refusal), 2) << DataLog().toStdString();
}

}  // namespace
}  // namespace vexa::testing
