#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <string>

#include "app/data_logger_setup_dlg.h"
#include "app/lamp.h"
#include "app/phone_book_tab.h"
#include "app/tab_sheet.h"
#include "link/notifier.h"
#include "phonebook/phone_book_page.h"
#include "support/file_bytes.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa::testing {

// What a screen reader calls the widget: the name given to it, else what its
// accessibility interface makes of it (a button's text, for one).
inline QString AccessibleName(QWidget* widget) {
  if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible ? accessible->text(QAccessible::Name) : QString();
}

// True for widgets that belong to a page rather than to the window itself.
inline bool InsidePage(const QWidget* widget) {
  for (const QObject* up = widget->parent(); up; up = up->parent()) {
    if (qobject_cast<const CTabSheet*>(up) || qobject_cast<const CMyTabCtrl1*>(up)) return true;
  }
  return false;
}

// The main window on a phone book of its own, with the messages recorded.
class WindowTest : public ::testing::Test {
 protected:
  // The first of the simulated loggers.
  const std::string logger_record_ = Record({"000041", "+491701000041", "135791", "246802"});

  void SetUp() override { OpenWindow(logger_record_); }

  // The window on a phone book of these record lines.
  void OpenWindow(const std::string& records) {
    window_.reset();
    WritePhoneBook(records);
    window_ = std::make_unique<CDataLoggerSetupDlg>(notifier_, phone_book_path());
    window_->show();
  }

  std::string phone_book_path() const { return folder_.File("addressbook.xml"); }
  void WritePhoneBook(const std::string& records) {
    WriteBytes(phone_book_path(), PhoneBook(records));
  }

  // The window's own control of this type and accessible name.
  template <typename Widget>
  Widget* Control(const QString& name) {
    for (Widget* widget : window_->findChildren<Widget*>()) {
      if (!InsidePage(widget) && AccessibleName(widget) == name) return widget;
    }
    ADD_FAILURE() << "no control named " << name.toStdString();
    return nullptr;
  }
  QPushButton* Button(const QString& name) { return Control<QPushButton>(name); }
  Lamp* LampNamed(const QString& name) { return Control<Lamp>(name); }
  QComboBox* PortList() { return Control<QComboBox>("Port:"); }
  QComboBox* DeviceList() { return Control<QComboBox>("Connection:"); }
  QString StatusText() { return Control<QLabel>("Command status")->text(); }
  QString DataLog() { return Control<QPlainTextEdit>("Data logs")->toPlainText(); }
  CTabSheet* DevicePages() { return window_->findChild<CTabSheet*>(); }

  void Click(const QString& name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
  // On the button's circle: a radio button takes clicks on its circle and label only.
  void ChooseRoute(const QString& name) {
    QRadioButton* radio = Control<QRadioButton>(name);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
  }

  // Types a port into the Port list and presses Connect.
  void ConnectTo(const std::string& port) {
    PortList()->setEditText(QString::fromStdString(port));
    Click("Connect");
  }

  // Opens the "Connection:" list and picks this ID as the engineer would.
  void ChooseDevice(const QString& id) {
    QComboBox* list = DeviceList();
    list->showPopup();
    const int row = list->findText(id);
    ASSERT_GE(row, 0) << id.toStdString() << " is not listed";
    list->view()->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
  }

  // Lets the window's timer and the port's deliveries run until the command ends.
  bool WaitForCommandEnd(int timeout_ms = 10000) {
    QProgressBar* bar = Control<QProgressBar>("Command progress");
    return QTest::qWaitFor([&] { return !bar->isVisible(); }, timeout_ms);
  }

  TempDir folder_;
  RecordingNotifier notifier_;
  std::unique_ptr<CDataLoggerSetupDlg> window_;
};

}  // namespace vexa::testing
