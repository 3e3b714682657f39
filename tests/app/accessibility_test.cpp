#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTabBar>
#include <QTableView>

#include "support/accessibility_check.h"
#include "widgets/settings_review_dialog.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

using AccessibilityTest = WindowTest;

std::string Joined(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += "\n  " + problem;
  return text;
}

// Every view the engineer can reach, each device page in turn: whatever the
// pages hold, every visible control is named and its name holds its text.
TEST_F(AccessibilityTest, EveryViewOfTheWindowNamesItsControls) {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(window_.get());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), "Vexa-T_Setup");

  QTabBar* views = Control<QTabBar>("Views");
  views->setCurrentIndex(1);
  CTabSheet* pages = DevicePages();
  ASSERT_EQ(pages->count(), 8);
  for (int page = 0; page < pages->count(); ++page) {
    pages->SetActivePage(page);
    EXPECT_EQ(AccessibilityProblems(window_.get()), std::vector<std::string>())
        << pages->tabText(page).toStdString() << Joined(AccessibilityProblems(window_.get()));
  }
  for (int view : {0, 2}) {
    views->setCurrentIndex(view);
    EXPECT_EQ(AccessibilityProblems(window_.get()), std::vector<std::string>())
        << views->tabText(view).toStdString() << Joined(AccessibilityProblems(window_.get()));
  }
}

// The Relay Output page read from the simulated logger: its in-place editor,
// opened with a click or from the keyboard, is the focused control of the
// window's accessibility tree, as a screen reader or automation finds it.
TEST_F(AccessibilityTest, TheOpenInPlaceEditorIsTheFocusedControlOfTheTree) {
  ConnectAndSelect(false);
  ASSERT_EQ(Run("#3"), "Command Success");
  auto* relay = PageControl<QComboBox>(kRelayOutputPage, "Relay Channel No.");
  relay->showPopup();
  relay->view()->setCurrentIndex(relay->model()->index(0, 0));
  QTest::keyClick(relay->view(), Qt::Key_Return);
  auto* list = PageControl<QTableView>(kRelayOutputPage, "Associated Alarms");
  QApplication::setActiveWindow(window_.get());
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(window_.get());

  const QRect humidity = list->visualRect(list->model()->index(0, 2));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, humidity.center());
  QAccessibleInterface* editor = FocusedControl(tree);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->role(), QAccessible::ComboBox);
  EXPECT_FALSE(editor->text(QAccessible::Name).isEmpty());
  EXPECT_EQ(editor->text(QAccessible::Value), "On");
  EXPECT_EQ(editor->text(QAccessible::Description), "Humidity");

  // Esc gives the keyboard back to the list's cell; F2 opens the editor again.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  ASSERT_NE(FocusedControl(tree), nullptr);
  EXPECT_EQ(FocusedControl(tree)->role(), QAccessible::Cell);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  editor = FocusedControl(tree);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->role(), QAccessible::ComboBox);
  EXPECT_EQ(editor->text(QAccessible::Description), "AD01");
  EXPECT_EQ(editor->text(QAccessible::Value), "Off");
}

// The dialogs the window opens over itself: each is a window of the
// application's accessibility tree, named, and its list has the keyboard.
TEST_F(AccessibilityTest, OpenedDialogsAreInTheTreeWithTheirListFocused) {
  const auto opened_dialog = [](QDialog* dialog) -> QAccessibleInterface* {
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    for (int child = 0; application && child < application->childCount(); ++child) {
      if (application->child(child)->object() == dialog) return application->child(child);
    }
    return nullptr;
  };
  const auto check = [&](QDialog* dialog, const QString& title) {
    ASSERT_NE(dialog, nullptr) << title.toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog)) << title.toStdString();
    EXPECT_TRUE(dialog->isModal());
    QAccessibleInterface* tree = opened_dialog(dialog);
    ASSERT_NE(tree, nullptr) << title.toStdString();
    EXPECT_EQ(tree->role(), QAccessible::Dialog);
    EXPECT_EQ(tree->text(QAccessible::Name), title);
    EXPECT_EQ(AccessibilityProblems(dialog), std::vector<std::string>())
        << Joined(AccessibilityProblems(dialog));
    // The keyboard is in the dialog, not left in the window beneath.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          return QApplication::focusWidget() && QApplication::focusWidget()->window() == dialog;
        },
        2000))
        << title.toStdString();
    QAccessibleInterface* focused = FocusedControl(tree);
    ASSERT_NE(focused, nullptr) << title.toStdString();
    EXPECT_EQ(focused->role(), QAccessible::Cell);
  };

  ConnectAndSelect(false);
  ASSERT_EQ(Run("Read All"), "Command Success");
  SnapshotListDialog* history = OpenHistoryOfFirstEntry();
  check(history, "History of logger 000041");
  // Enter on the focused list presses Restore...: the review of that snapshot opens.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  SettingsReviewDialog* review = nullptr;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return (review = window_->findChild<SettingsReviewDialog*>()) != nullptr; }, 30000));
  check(review, "Compare with Logger");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window_->findChild<SettingsReviewDialog*>(); }, 2000));
}

TEST_F(AccessibilityTest, RouteFollowsWhateverChecksItsRadioButton) {
  auto* rs232 = Control<QRadioButton>("RS232");
  auto* gsm = Control<QRadioButton>("GSM Modem");
  const auto gsm_shown = [&] {
    return gsm->isChecked() && Button("M test")->isVisible() &&
           !Control<QPushButton>("Init")->isVisible();
  };

  // The keyboard: the arrow key moves the check to the route beside.
  QApplication::setActiveWindow(window_.get());
  rs232->setFocus();
  QTest::keyClick(rs232, Qt::Key_Right);
  EXPECT_TRUE(gsm_shown());

  // An accessibility action, as a screen reader or automation sends it.
  QAccessibleActionInterface* actions =
      QAccessible::queryAccessibleInterface(rs232)->actionInterface();
  ASSERT_NE(actions, nullptr);
  actions->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(rs232->isChecked());
  EXPECT_TRUE(Button("Batch")->isVisible());
  EXPECT_TRUE(Button("Init")->isVisible());

  gsm->setChecked(true);
  EXPECT_TRUE(gsm_shown());
  // The route goes with the link: a GSM connection to a port that is not there fails.
  ConnectTo((folder_.path() / "no-such-port").string());
  EXPECT_EQ(notifier_.Last(), "Connect Error,Port Invalid!");
}

}  // namespace
}  // namespace vexa::testing
