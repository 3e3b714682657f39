#include "widgets/leave_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QWidget>

#include "support/message_box_answerer.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;

// Three fields of one window, each checked as it is left; a wrong value in
// the first is refused with a real message box and emptied.
class CheckOnLeaveTest : public ::testing::Test {
 protected:
  CheckOnLeaveTest() {
    auto* layout = new QVBoxLayout(&window_);
    for (QLineEdit* field : {first_, second_, third_}) layout->addWidget(field);
    CheckOnLeave(first_, [this] {
      checked_.push_back("first");
      if (first_->text() != "wrong") return;
      QMessageBox box(QMessageBox::Critical, "Error", "first is wrong", QMessageBox::Ok, &window_);
      box.exec();
      first_->clear();
    });
    CheckOnLeave(second_, [this] { checked_.push_back("second"); });
    window_.show();
    QApplication::setActiveWindow(&window_);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  QWidget window_;
  QLineEdit* first_ = new QLineEdit;
  QLineEdit* second_ = new QLineEdit;
  QLineEdit* third_ = new QLineEdit;
  std::vector<std::string> checked_;
};

TEST_F(CheckOnLeaveTest, TheBoxOfOneFieldChecksNoOther) {
  MessageBoxAnswerer answerer;
  first_->setFocus();
  QTest::keyClicks(first_, "wrong");
  QTest::keyClick(first_, Qt::Key_Tab);
  EXPECT_THAT(answerer.texts, ElementsAre("first is wrong"));
  EXPECT_THAT(checked_, ElementsAre("first"));
  EXPECT_EQ(first_->text(), "");
  // The window manager gives the window back its activation, and the cursor
  // is where the engineer put it; it is checked when it leaves.
  QApplication::setActiveWindow(&window_);
  EXPECT_TRUE(second_->hasFocus());
  QTest::keyClick(second_, Qt::Key_Tab);
  EXPECT_THAT(checked_, ElementsAre("first", "second"));
  EXPECT_TRUE(third_->hasFocus());
}

TEST_F(CheckOnLeaveTest, EveryDepartureCountsButAPopupOverTheField) {
  second_->setFocus();
  checked_.clear();
  third_->setFocus(Qt::MouseFocusReason);
  second_->setFocus();
  third_->setFocus(Qt::MouseFocusReason);  // unchanged, checked again
  EXPECT_THAT(checked_, ElementsAre("second", "second"));

  second_->setFocus();
  QMenu menu(&window_);
  menu.addAction("Copy");
  menu.popup(second_->mapToGlobal(QPoint(4, 4)));
  EXPECT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }));
  menu.close();
  EXPECT_THAT(checked_, ElementsAre("second", "second"));
}

}  // namespace
}  // namespace vexa::testing
