#include "widgets/settings_review_dialog.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <map>
#include <string>

#include "support/accessibility_check.h"
#include "support/find_control.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

enum ReviewColumn { kObject, kLogger, kSide, kState, kResult };

const std::map<int, std::string> kLoggerCommands = {{11002, "246802#ST:000041#"},
                                                    {11004, "246802#TM:2612091430#"},
                                                    {11005, "246802#SA:3#"},
                                                    {11009, "246802#AP1:+491709876543!#"},
                                                    {11010, "246802#AP2:+491700000002!#"}};
const std::map<int, std::string> kListCommands = {{11002, "246802#ST:000099#"},
                                                  {11004, "246802#TM:2601311745#"},
                                                  {11005, "246802#SA:5#"},
                                                  {11009, "246802#AP1:+491709876543!#"},
                                                  {12008, "246802#AD03:10.0,0,0,2,9,1#"}};

class SettingsReviewDialogTest : public ::testing::Test {
 protected:
  SettingsReviewDialogTest() { dialog.show(); }

  QTableWidget* List() { return FindControl<QTableWidget>(&dialog, "Settings compared"); }
  QPushButton* Button(const QString& name) { return FindControl<QPushButton>(&dialog, name); }
  QString Label(const QString& description) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->accessibleDescription() == description) return label->text();
    }
    return "no label " + description;
  }
  std::vector<QString> Column(int column) {
    std::vector<QString> texts;
    for (int row = 0; row < List()->rowCount(); ++row) {
      texts.push_back(List()->item(row, column)->text());
    }
    return texts;
  }
  QTableWidgetItem* Row(const QString& object) {
    for (int row = 0; row < List()->rowCount(); ++row) {
      if (List()->item(row, kObject)->text() == object) return List()->item(row, kObject);
    }
    ADD_FAILURE() << "no row " << object.toStdString();
    return nullptr;
  }

  SettingsReviewDialog dialog{CompareSettings(kLoggerCommands, kListCommands),
                              "Logger 000041 against the list", "list", nullptr};
};

TEST_F(SettingsReviewDialogTest, ShowsEachSettingWithWhatDiffersChecked) {
  EXPECT_EQ(Label("Comparison summary"),
            "Logger 000041 against the list: 1 the same, 2 differ, 1 only in the list, "
            "1 cannot be read back, 1 only on the logger");
  EXPECT_EQ(List()->horizontalHeaderItem(kSide)->text(), "List");
  ASSERT_EQ(List()->rowCount(), 6);
  EXPECT_EQ(Row("Data Logging Interval")->checkState(), Qt::Checked);
  EXPECT_EQ(List()->item(Row("Data Logging Interval")->row(), kLogger)->text(), "30 Minute");
  // A new station ID renames the logger: offered, never proposed.
  EXPECT_EQ(Row("Station ID")->checkState(), Qt::Unchecked);
  EXPECT_TRUE(Row("Station ID")->flags() & Qt::ItemIsUserCheckable);
  // What the list does not hold has nothing to write.
  EXPECT_FALSE(Row("Alarm Phone2")->flags() & Qt::ItemIsUserCheckable);
  EXPECT_EQ(Row("Analog Channel 03")->checkState(), Qt::Unchecked);
  EXPECT_EQ(Column(kState)[Row("Alarm Phone2")->row()], "only on the logger");
  EXPECT_THAT(dialog.CheckedCodes(), ElementsAre(11005));
  EXPECT_THAT(AccessibilityProblems(&dialog), IsEmpty());
}

TEST_F(SettingsReviewDialogTest, SortsByStateAndKeepsTheCheckedCodesInCodeOrder) {
  Row("Station ID")->setCheckState(Qt::Checked);
  List()->sortItems(kState);
  EXPECT_EQ(Column(kState).front(), "cannot be read back");
  EXPECT_EQ(List()->item(0, kObject)->text(), "Date / Time");
  EXPECT_THAT(dialog.CheckedCodes(), ElementsAre(11002, 11005));

  // Unchecking every row leaves nothing to write.
  Row("Station ID")->setCheckState(Qt::Unchecked);
  Row("Data Logging Interval")->setCheckState(Qt::Unchecked);
  EXPECT_FALSE(Button("Write Checked")->isEnabled());
  Row("Data Logging Interval")->setCheckState(Qt::Checked);
  EXPECT_TRUE(Button("Write Checked")->isEnabled());
}

TEST_F(SettingsReviewDialogTest, TheKeyboardChecksRowsAndCancelAndEscWriteNothing) {
  QSignalSpy write(&dialog, &SettingsReviewDialog::WriteRequested);
  // The list starts on the first row's check box; Space checks it.
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(List()->hasFocus());
  QTest::keyClick(List(), Qt::Key_Space);
  EXPECT_THAT(dialog.CheckedCodes(), ElementsAre(11002, 11005));
  QTest::keyClick(List(), Qt::Key_Return);  // Enter in the list is no choice to write
  EXPECT_EQ(write.count(), 0);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(write.count(), 0);
}

// While the run writes, closing stops it; the results arrive row by row.
TEST_F(SettingsReviewDialogTest, FollowsTheRunAndStopsItInsteadOfClosing) {
  QSignalSpy write(&dialog, &SettingsReviewDialog::WriteRequested);
  QSignalSpy stop(&dialog, &SettingsReviewDialog::StopRequested);
  QTest::mouseClick(Button("Write Checked"), Qt::LeftButton);
  ASSERT_EQ(write.count(), 1);

  BatchRun run;
  run.steps.push_back({.code = 11005, .status = "Command Sending"});
  dialog.ShowRun(run);
  EXPECT_FALSE(Row("Data Logging Interval")->flags() & Qt::ItemIsUserCheckable);
  EXPECT_TRUE(Button("Stop Batch")->isVisible());
  EXPECT_FALSE(Button("Write Checked")->isVisible() || Button("Cancel")->isVisible());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(stop.count(), 1);
  EXPECT_TRUE(dialog.isVisible());

  run.steps[0].status = "Command Success";
  run.steps[0].verification = "Verified";
  run.ended = true;
  dialog.ShowRun(run);
  EXPECT_EQ(List()->item(Row("Data Logging Interval")->row(), kResult)->text(), "Verified");
  EXPECT_EQ(Label("Result of the writing"), QString::fromStdString(run.Summary()));
  EXPECT_TRUE(Button("Close")->isVisible());
  EXPECT_FALSE(Button("Stop Batch")->isVisible());
  EXPECT_THAT(AccessibilityProblems(&dialog), IsEmpty());
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(stop.count(), 1);
}

}  // namespace
}  // namespace vexa::testing
