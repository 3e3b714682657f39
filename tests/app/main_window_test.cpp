#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <regex>

#include "link/device_holders.h"
#include "link/port_lock.h"
#include "link/pty_pair.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsDisconnectedOnTheRs232RouteWithTheDevicePagesShown) {
  EXPECT_EQ(window_->windowTitle(), "Vexa-T_Setup");
  EXPECT_EQ(AccessibleName(Control<QLabel>("Vexa-T_Setup")), "Vexa-T_Setup");
  EXPECT_EQ(AccessibleName(Control<QLabel>("Version 1.0.1")), "Version 1.0.1");

  QComboBox* ports = PortList();
  ASSERT_GE(ports->count(), 17);
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(ports->itemText(n - 1), QString("COM%1").arg(n));
  EXPECT_EQ(ports->itemText(ports->count() - 1), "Simulator");
  EXPECT_EQ(ports->currentIndex(), -1);
  EXPECT_TRUE(ports->currentText().isEmpty());
  EXPECT_EQ(DeviceList()->currentIndex(), -1);

  EXPECT_TRUE(Control<QRadioButton>("RS232")->isChecked());
  EXPECT_FALSE(LampNamed("Connection")->lit());
  EXPECT_FALSE(LampNamed("Command")->lit());
  EXPECT_TRUE(Button("Init")->isVisible());
  EXPECT_TRUE(Button("Batch")->isVisible());
  EXPECT_FALSE(Control<QPushButton>("M ver")->isVisible());
  EXPECT_FALSE(Control<QProgressBar>("Command progress")->isVisible());
  EXPECT_TRUE(StatusText().isEmpty());

  EXPECT_EQ(Control<QTabBar>("Views")->currentIndex(), 1);
  EXPECT_TRUE(DevicePages()->isVisible());
  EXPECT_EQ(DevicePages()->currentIndex(), 0);
  EXPECT_FALSE(window_->findChild<CMyTabCtrl1*>()->isVisible());
  EXPECT_FALSE(Control<QPlainTextEdit>("Data logs")->isVisible());
}

TEST_F(MainWindowTest, TabsCarryTheirCaptionsInOrder) {
  QTabBar* views = Control<QTabBar>("Views");
  ASSERT_EQ(views->count(), 3);
  EXPECT_EQ(views->tabText(0), "Phone Book  ");
  EXPECT_EQ(views->tabText(1), "Vexa-T  ");
  EXPECT_EQ(views->tabText(2), "Data Logs   ");

  const QStringList captions = {"    Device Setup   ", "   Analog Channel   ", " Digital Channel ",
                                "  Relay Output  ",    " AD Alarm Message ",   " IN Alarm Message ",
                                "  Data Record  ",     "  Batch Setup  "};
  CTabSheet* pages = DevicePages();
  ASSERT_EQ(pages->count(), captions.size());
  for (int index = 0; index < pages->count(); ++index) {
    EXPECT_EQ(pages->tabText(index), captions[index]);
  }
  const QStringList classes = {"CTarvoKSet1Dlg", "CTarvoKSet2Dlg1", "CTarvoKSet3Dlg",
                               "CTarvoKSet4Dlg", "CTarvoKSet5Dlg",  "CTarvoKSet5Dlg2",
                               "CSet3",          "CBatchInitDlg"};
  for (int index = 0; index < pages->count(); ++index) {
    EXPECT_STREQ(pages->widget(index)->metaObject()->className(), qPrintable(classes[index]));
  }

  auto* phone_book = window_->findChild<CMyTabCtrl1*>();
  ASSERT_EQ(phone_book->tab_bar()->count(), 1);
  EXPECT_EQ(phone_book->tab_bar()->tabText(0), "Phone Number ");
  EXPECT_STREQ(phone_book->page()->metaObject()->className(), "CSet4");
}

TEST_F(MainWindowTest, SetActivePageRefusesPagesThatDoNotExist) {
  CTabSheet* pages = DevicePages();
  EXPECT_EQ(pages->SetActivePage(8), -1);
  EXPECT_EQ(pages->SetActivePage(-1), -1);
  EXPECT_EQ(pages->currentIndex(), 0);

  EXPECT_EQ(pages->SetActivePage(6), 0);
  EXPECT_EQ(pages->currentIndex(), 6);
  EXPECT_TRUE(pages->widget(6)->isVisible());
  EXPECT_FALSE(pages->widget(0)->isVisible());
  // A page laid out only when first shown still fills the sheet.
  QApplication::processEvents();
  EXPECT_GT(pages->widget(6)->width(), 900);
  EXPECT_GT(pages->widget(6)->height(), 500);
  EXPECT_EQ(pages->SetActivePage(6), 6);
  EXPECT_EQ(pages->currentIndex(), 6);
}

TEST_F(MainWindowTest, TopTabsShowOneViewAndMarkTheSelectedTab) {
  QTabBar* views = Control<QTabBar>("Views");
  auto* phone_book = window_->findChild<CMyTabCtrl1*>();
  auto* data_log = Control<QPlainTextEdit>("Data logs");
  QPushButton* buffer_clear = Button("Buffer Clear");
  const auto marked = [&](int tab) {
    return views->tabIcon(tab).pixmap(15, 15).toImage() ==
           QIcon(":/images/tab_selected.png").pixmap(15, 15).toImage();
  };
  EXPECT_TRUE(marked(1));
  EXPECT_FALSE(marked(0));

  QTest::mouseClick(views, Qt::LeftButton, {}, views->tabRect(2).center());
  EXPECT_TRUE(data_log->isVisible());
  EXPECT_TRUE(buffer_clear->isVisible());
  EXPECT_FALSE(phone_book->isVisible());
  EXPECT_FALSE(DevicePages()->isVisible());
  EXPECT_TRUE(marked(2));
  EXPECT_FALSE(marked(1));

  QTest::mouseClick(views, Qt::LeftButton, {}, views->tabRect(0).center());
  EXPECT_TRUE(phone_book->isVisible());
  // The page sizes its list's columns when first shown: it must be in place by then.
  auto* list = phone_book->findChild<QTableWidget*>();
  ASSERT_NE(list, nullptr);
  EXPECT_GT(list->viewport()->width(), 900);
  EXPECT_EQ(list->columnWidth(0), list->viewport()->width() / 8);
  EXPECT_FALSE(data_log->isVisible());
  EXPECT_FALSE(buffer_clear->isVisible());
  EXPECT_FALSE(DevicePages()->isVisible());
}

TEST_F(MainWindowTest, DataLogShowsNewestEntryFirstUnderItsHeader) {
  auto* box = Control<QPlainTextEdit>("Data logs");
  EXPECT_TRUE(std::regex_match(box->toPlainText().toStdString(),
                               std::regex(R"(->\[\d\d/\d\d/\d\d \]-{16}Data logs-{71})")));

  window_->DataLogEntry("first reply");
  window_->DataLogEntry("initialize succesed!");
  const std::string text = box->toPlainText().toStdString();
  const std::string entry_header = R"(->\[\d\d/\d\d/\d\d [^\]]+\]-{86})";
  EXPECT_TRUE(
      std::regex_search(text, std::regex("^" + entry_header + "\nInitialization Completed!\n\n " +
                                         entry_header + "\nfirst reply\n\n ->\\[")))
      << text;

  Click("Buffer Clear");
  EXPECT_TRUE(box->toPlainText().isEmpty());
  window_->DataLogEntry("after clearing");
  EXPECT_TRUE(box->toPlainText().endsWith("after clearing\n\n "));
}

TEST_F(MainWindowTest, DataLogKeepsTheNewestTwoMebibytesInWholeEntries) {
  auto* box = Control<QPlainTextEdit>("Data logs");
  for (int i = 0; i < 30; ++i) {
    // Replies of 100,000 bytes in lines of 100, each reply marked with its number.
    std::string reply;
    for (int line = 0; line < 1000; ++line) reply += std::string(98, 'a' + i % 26) + "\r\n";
    window_->DataLogEntry(std::to_string(i) + reply);
  }
  const QString text = box->toPlainText();
  // Shown with one character per line end; kept at most 2 MiB with the logger's two.
  EXPECT_LE(text.size() + text.count('\n'), 2 * 1024 * 1024);
  EXPECT_GT(text.size() + text.count('\n'), 2 * 1024 * 1024 - 110'000);
  EXPECT_TRUE(text.contains("\n29ddd"));  // the newest on top
  EXPECT_LT(text.indexOf("\n29"), text.indexOf("\n28"));
  EXPECT_FALSE(text.contains("Data logs"));  // the header left first
  EXPECT_FALSE(text.contains("\n9" + QString(98, 'j')));
  EXPECT_TRUE(text.endsWith(QString(98, 'k') + "\n\n\n "));  // whole entries only
}

TEST_F(MainWindowTest, ConnectRefusesAMissingOrUnusablePort) {
  Click("Connect");
  EXPECT_EQ(notifier_.Last(), "Before Connect ,please select COM Port!");

  ConnectTo((folder_.path() / "no-such-port").string());
  EXPECT_EQ(notifier_.Last(), "Connect Error,Port Invalid!");
  EXPECT_NE(Button("Connect"), nullptr);
  EXPECT_FALSE(LampNamed("Connection")->lit());
  EXPECT_TRUE(Control<QRadioButton>("GSM Modem")->isEnabled());
  EXPECT_EQ(notifier_.messages.size(), 2u);
  // The data log says why.
  EXPECT_TRUE(DataLog().contains(
      "The port cannot be used: " + QString::fromStdString(folder_.File("no-such-port")) +
      ": no such device"))
      << DataLog().toStdString();

  ConnectTo("ttyS0");
  EXPECT_EQ(notifier_.Last(), "Connect Error,Port Invalid!");
  EXPECT_TRUE(DataLog().contains("ttyS0: no port of that name")) << DataLog().toStdString();
}

TEST_F(MainWindowTest, ARefusedPortTellsTheDataLogWhoHoldsIt) {
  PtyPair pty;
  const std::filesystem::path lock =
      std::filesystem::path(kUucpLockDir) /
      ("LCK.." + std::filesystem::path(pty.slave_path()).filename().string());
  WriteBytes(lock, "         1\n");  // a process that runs
  ConnectTo(pty.slave_path());
  std::filesystem::remove(lock);
  EXPECT_EQ(notifier_.Last(), "Connect Error,Port Invalid!");
  EXPECT_TRUE(DataLog().contains(
      QString::fromStdString("The port cannot be used: " + pty.slave_path() + ": " +
                             DescribeProcess(1) + " holds it (lock file " + lock.string() + ")")))
      << DataLog().toStdString();
}

TEST_F(MainWindowTest, DeviceSelectionNeedsAnIdAndAConnection) {
  OpenWindow(logger_record_ + "<Records Phone=\"\" />\r\n");
  ChooseDevice("000041");
  EXPECT_EQ(notifier_.Last(), "First please Select Port to Connect!");
  // The refused choice is not left on show: no device is selected.
  EXPECT_EQ(DeviceList()->currentIndex(), -1);
  EXPECT_EQ(DeviceList()->currentText(), "");
  ChooseDevice("");
  EXPECT_EQ(notifier_.Last(), "Before Query Command ,please Select Device ID!");
}

TEST_F(MainWindowTest, DeviceListIsReadAfreshEachTimeItOpens) {
  QComboBox* list = DeviceList();
  list->showPopup();
  list->hidePopup();
  EXPECT_EQ(list->count(), 1);
  EXPECT_EQ(list->currentIndex(), -1);

  // Another entry arrives in the file; the phone book page reloads it when shown.
  WritePhoneBook(Record({"000099", "+4917", "111111", "222222"}) + logger_record_);
  Control<QTabBar>("Views")->setCurrentIndex(0);
  list->showPopup();
  list->hidePopup();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), "000099");
  EXPECT_EQ(list->itemText(1), "000041");
  EXPECT_TRUE(notifier_.messages.empty());
}

TEST_F(MainWindowTest, PhoneBookTabSharesItsEntriesWithTheConnectionList) {
  Control<QTabBar>("Views")->setCurrentIndex(0);
  auto* page = window_->findChild<CMyTabCtrl1*>()->page();
  const auto type = [&](const QString& field, const QString& text) {
    for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
      if (edit->accessibleName() == field) QTest::keyClicks(edit, text);
    }
  };
  const auto add = [&] {
    for (QPushButton* button : page->findChildren<QPushButton*>()) {
      if (button->text() == "Add") QTest::mouseClick(button, Qt::LeftButton);
    }
  };
  add();
  EXPECT_EQ(notifier_.Last(), "GSM ID Is Null!");
  type("Connection No", "000077");
  type("Phone Number", "+4917");
  type("Enquiry Password", "111111");
  type("Setup Password", "222222");
  add();
  add();
  EXPECT_EQ(notifier_.Last(), "The ID is exist !");

  QComboBox* list = DeviceList();
  list->showPopup();
  list->hidePopup();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), "000077");
}

TEST_F(MainWindowTest, TransportRadiosSwitchTheModemButtons) {
  ChooseRoute("GSM Modem");
  EXPECT_FALSE(Control<QPushButton>("Init")->isVisible());
  EXPECT_TRUE(Button("M test")->isVisible());
  EXPECT_TRUE(Button("M ver")->isVisible());

  Click("M test");
  EXPECT_EQ(notifier_.Last(), "Before Setup Command ,please Connect!");
  Click("M ver");
  EXPECT_EQ(notifier_.Last(), "Before Setup Command ,please Connect!");

  // The Batch Setup page, first shown on the GSM route, takes no batch.
  DevicePages()->SetActivePage(kBatchSetupPage);
  EXPECT_FALSE(PageControl<QPushButton>(kBatchSetupPage, "Batch Setup")->isEnabled());

  ChooseRoute("RS232");
  EXPECT_TRUE(Button("Init")->isVisible());
  EXPECT_TRUE(Button("Batch")->isVisible());
  EXPECT_FALSE(Control<QPushButton>("M ver")->isVisible());
  EXPECT_TRUE(PageControl<QPushButton>(kBatchSetupPage, "Batch Setup")->isEnabled());
}

TEST_F(MainWindowTest, ReadButtonsNeedASelectedDevice) {
  for (const char* button : {"#1", "#2", "#3", "Status", "Ver", "Clear", "Batch"}) {
    notifier_.messages.clear();
    Click(button);
    EXPECT_EQ(notifier_.Last(), "Before Setup Command ,please Select Device ID!") << button;
  }
}

TEST_F(MainWindowTest, WholeWindowFitsTheScreenAndScrollsWhereItCannot) {
  auto* scroll = window_->findChild<QScrollArea*>();
  struct Case {
    QRect available;  // the screen less its panels
    QRect frame;      // the whole window, frame and title bar included
    bool horizontal_bar, vertical_bar, maximise_box;
  };
  const Case cases[] = {
      {{0, 0, 1920, 1080}, {0, 0, 1024, 768}, false, false, false},
      {{0, 0, 1024, 768}, {0, 0, 1024, 768}, false, false, false},
      {{0, 0, 1280, 720}, {0, 0, 1024, 720}, false, true, true},
      {{0, 0, 1280, 600}, {0, 0, 1024, 600}, false, true, true},
      {{0, 0, 800, 600}, {0, 0, 800, 600}, true, true, true},
      {{0, 0, 640, 480}, {0, 0, 640, 480}, true, true, true},         // not a listed screen: capped
      {{0, 32, 1024, 736}, {0, 32, 1024, 736}, false, false, false},  // a panel at the top
  };
  for (const Case& c : cases) {
    window_->FitToScreen(c.available);
    QTest::qWait(50);
    EXPECT_EQ(window_->frameGeometry(), c.frame)
        << c.available.width() << "x" << c.available.height();
    EXPECT_EQ(scroll->horizontalScrollBar()->isVisible(), c.horizontal_bar) << c.available.width();
    EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), c.vertical_bar) << c.available.height();
    EXPECT_EQ(window_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), c.maximise_box);
  }
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleName) {
  int controls = 0;
  for (QWidget* widget : window_->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(widget) ||
                         qobject_cast<QComboBox*>(widget) || qobject_cast<QTabBar*>(widget) ||
                         qobject_cast<QProgressBar*>(widget) ||
                         qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<Lamp*>(widget) ||
                         qobject_cast<QTabWidget*>(widget);
    if (!control || InsidePage(widget) || widget->parent() == nullptr) continue;
    if (qobject_cast<QTabBar*>(widget) && qobject_cast<QTabWidget*>(widget->parent())) continue;
    ++controls;
    EXPECT_FALSE(AccessibleName(widget).trimmed().isEmpty()) << widget->metaObject()->className();
  }
  EXPECT_GE(controls, 20);
}

TEST_F(MainWindowTest, HelpOpensTheAboutBox) {
  QString title, text;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(about, nullptr);
    title = about->windowTitle();
    for (QLabel* label : about->findChildren<QLabel*>()) text += label->text();
    QTest::mouseClick(about->findChild<QPushButton*>(), Qt::LeftButton);
  });
  Click("Help");
  EXPECT_EQ(title, "About Vexa-T_Setup");
  EXPECT_EQ(text, "Vexa-T_Setup Version 1.0.1");
}

}  // namespace
}  // namespace vexa::testing
