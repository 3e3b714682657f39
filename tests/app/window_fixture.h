#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <memory>
#include <string>

#include "app/data_logger_setup_dlg.h"
#include "app/lamp.h"
#include "app/phone_book_tab.h"
#include "app/snapshot_list_dialog.h"
#include "app/tab_sheet.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_page.h"
#include "support/file_bytes.h"
#include "support/find_control.h"
#include "support/phone_book_text.h"
#include "support/temp_dir.h"

namespace vexa::testing {

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
    window_ = std::make_unique<CDataLoggerSetupDlg>(*window_notifier_, phone_book_path());
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
  // The command result: the label described as the command status, named by its text.
  QLabel* StatusLabel() {
    for (QLabel* label : window_->findChildren<QLabel*>()) {
      if (label->accessibleDescription() == "Command status") return label;
    }
    ADD_FAILURE() << "no command status";
    return nullptr;
  }
  QString StatusText() { return StatusLabel()->text(); }
  // The Stop button, named by its count-down.
  QPushButton* StopButton() {
    for (QPushButton* button : window_->findChildren<QPushButton*>()) {
      if (button->accessibleDescription() == "Stops waiting for the reply") return button;
    }
    ADD_FAILURE() << "no Stop button";
    return nullptr;
  }
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

  // Selects the phone book's first entry on its page and presses History....
  SnapshotListDialog* OpenHistoryOfFirstEntry() {
    Control<QTabBar>("Views")->setCurrentIndex(0);
    auto* book = window_->findChild<CSet4*>();
    auto* entries = FindControl<QAbstractItemView>(book, "Phone Book");
    entries->setCurrentIndex(entries->model()->index(0, 0));
    QTest::mouseClick(FindControl<QPushButton>(book, "History..."), Qt::LeftButton);
    return window_->findChild<SnapshotListDialog*>();
  }

  // Lets the window's timer and the port's deliveries run until the command ends.
  bool WaitForCommandEnd(int timeout_ms = 10000) {
    QProgressBar* bar = Control<QProgressBar>("Command progress");
    return QTest::qWaitFor([&] { return !bar->isVisible(); }, timeout_ms);
  }

  // Connects to the built-in simulated logger (the modem with its loggers on
  // the GSM route). The modem's texts come far enough apart for the port to
  // see a quiet gap between them, so that each arrives on its own.
  void ConnectToSimulator(bool gsm, sim::SimulatorOptions options = {}) {
    options.part_delay = std::chrono::milliseconds(450);
    window_->set_simulator_options(options);
    if (gsm) ChooseRoute("GSM Modem");
    PortList()->setCurrentIndex(PortList()->findText("Simulator"));
    Click("Connect");
    ASSERT_TRUE(notifier_.messages.empty()) << notifier_.Last();
    ASSERT_TRUE(LampNamed("Connection")->lit());
  }

  // Connects to the simulator and selects logger 000041, which reads its status.
  void ConnectAndSelect(bool gsm, sim::SimulatorOptions options = {}) {
    ConnectToSimulator(gsm, std::move(options));
    ChooseDevice("000041");
    ASSERT_TRUE(WaitForCommandEnd(20000)) << DataLog().toStdString();
    ASSERT_EQ(StatusText(), "Command Success");
  }

  // Presses a button of the window or of a page and waits for the outcome.
  QString Run(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(WaitForCommandEnd(20000)) << DataLog().toStdString();
    return StatusText();
  }
  QString Run(const QString& window_button) { return Run(Button(window_button)); }

  // A control of device page `page` (its index in the device sheet) by its accessible name.
  template <typename Widget>
  Widget* PageControl(int page, const QString& name) {
    return FindControl<Widget>(DevicePages()->widget(page), name);
  }

  // Types into a field of a page as the engineer does; the next click leaves it.
  void Type(QLineEdit* field, const QString& text) {
    // A popup may have taken the activation; a field only feels the cursor
    // leave in the active window.
    QApplication::setActiveWindow(window_.get());
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  TempDir folder_;
  RecordingNotifier notifier_;
  // What the window shows its messages with; a test may set real message boxes before SetUp.
  Notifier* window_notifier_ = &notifier_;
  std::unique_ptr<CDataLoggerSetupDlg> window_;
};

}  // namespace vexa::testing
