// The simulated logger read in full, compared with the batch list and written
// back where it differs, then verified; the silent write that only a read-back
// shows; and the logger that answers in place of the one chosen.
#include <gmock/gmock.h>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTableWidget>
#include <filesystem>

#include "app/message_box_notifier.h"
#include "batch/batch_page.h"
#include "history/settings_history.h"
#include "settings/setting_codes.h"
#include "support/accessibility_check.h"
#include "support/message_box_answerer.h"
#include "widgets/settings_review_dialog.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

enum ReviewColumn { kObject, kLogger, kList, kState, kResult };

class CompareEndToEnd : public WindowTest {
 protected:
  CBatchInitDlg* Page() {
    return static_cast<CBatchInitDlg*>(DevicePages()->widget(kBatchSetupPage));
  }
  QLabel* LabelDescribed(QWidget* root, const QString& description) {
    for (QLabel* label : root->findChildren<QLabel*>()) {
      if (label->accessibleDescription() == description) return label;
    }
    ADD_FAILURE() << "no label " << description.toStdString();
    return nullptr;
  }
  QString Summary() { return LabelDescribed(Page(), "Result of the last batch")->text(); }
  void ChooseFromFileMenu(const QString& item) {
    for (QAction* action : PageControl<QPushButton>(kBatchSetupPage, "File")->menu()->actions()) {
      if (action->text() == item) return action->trigger();
    }
    ADD_FAILURE() << "no menu item " << item.toStdString();
  }
  // Waits for the review the comparison opens once the logger is read.
  SettingsReviewDialog* WaitForReview() {
    SettingsReviewDialog* review = nullptr;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return (review = Page()->findChild<SettingsReviewDialog*>()) != nullptr; }, 30000))
        << DataLog().toStdString();
    return review;
  }
  // The review's rows by object: state and result.
  std::map<QString, std::pair<QString, QString>> ReviewRows(SettingsReviewDialog* review) {
    auto* list = FindControl<QTableWidget>(review, "Settings compared");
    std::map<QString, std::pair<QString, QString>> rows;
    for (int row = 0; row < list->rowCount(); ++row) {
      rows[list->item(row, kObject)->text()] = {list->item(row, kState)->text(),
                                                list->item(row, kResult)->text()};
    }
    return rows;
  }
  std::vector<QString> CheckedObjects(SettingsReviewDialog* review) {
    auto* list = FindControl<QTableWidget>(review, "Settings compared");
    std::vector<QString> checked;
    for (int row = 0; row < list->rowCount(); ++row) {
      if (list->item(row, kObject)->checkState() == Qt::Checked) {
        checked.push_back(list->item(row, kObject)->text());
      }
    }
    return checked;
  }
};

TEST_F(CompareEndToEnd, ReadAllThenOnlyWhatChangedBehindTheWindowIsWrittenAndVerified) {
  ConnectAndSelect(false);
  EXPECT_EQ(Control<QLabel>("Answering: 000041")->accessibleDescription(),
            "Station ID of the logger's last status reply");
  ASSERT_EQ(Run("Read All"), "Command Success");
  EXPECT_EQ(PageControl<QLineEdit>(kDeviceSetupPage, "Station ID")->text(), "000041");
  EXPECT_EQ(DevicePages()->currentIndex(), kRelayOutputPage);
  Click("Batch");
  ASSERT_EQ(DevicePages()->currentIndex(), kBatchSetupPage);

  // Someone else changes two settings; nothing of it reaches the line.
  ASSERT_EQ(window_->simulator()->CommandFromElsewhere("246802#SA:5#"), "Set success!");
  ASSERT_EQ(window_->simulator()->CommandFromElsewhere("246802#AP1:+491705550009!#"),
            "Set success!");

  ChooseFromFileMenu("Compare with Logger...");
  SettingsReviewDialog* review = WaitForReview();
  ASSERT_NE(review, nullptr);
  EXPECT_TRUE(review->isVisible());
  EXPECT_TRUE(review->isModal());
  const auto before = ReviewRows(review);
  std::vector<QString> differing;
  for (const auto& [object, row] : before) {
    if (row.first == "differs") differing.push_back(object);
  }
  EXPECT_THAT(differing, ::testing::ElementsAre("Alarm Phone1", "Data Logging Interval"));
  EXPECT_THAT(CheckedObjects(review), ::testing::ElementsAre("Data Logging Interval",
                                                             "Alarm Phone1"));  // code order
  EXPECT_THAT(LabelDescribed(review, "Comparison summary")->text().toStdString(),
              ::testing::StartsWith("Logger 000041 against the list: "));
  EXPECT_THAT(LabelDescribed(review, "Comparison summary")->text().toStdString(),
              ::testing::HasSubstr(", 2 differ"));
  EXPECT_TRUE(AccessibilityProblems(review).empty());

  // The opened review is where a screen reader finds the keyboard.
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(review);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->role(), QAccessible::Dialog);
  QAccessibleInterface* focused = FocusedControl(tree);
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->role(), QAccessible::Cell);

  QTest::mouseClick(FindControl<QPushButton>(review, "Write Checked"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return FindControl<QPushButton>(review, "Close")->isVisible(); }, 30000))
      << DataLog().toStdString();
  EXPECT_EQ(Summary(), "2 of 2 commands succeeded, 2 verified");
  EXPECT_EQ(LabelDescribed(review, "Result of the writing")->text(), Summary());
  for (const auto& [object, row] : ReviewRows(review)) {
    const bool written = object == "Data Logging Interval" || object == "Alarm Phone1";
    EXPECT_EQ(row.second, written ? "Verified" : "") << object.toStdString();
  }
  EXPECT_TRUE(AccessibilityProblems(review).empty());
  QTest::mouseClick(FindControl<QPushButton>(review, "Close"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Page()->findChild<SettingsReviewDialog*>(); }, 2000));

  // What was written went to the logger: the next comparison finds nothing to write.
  ChooseFromFileMenu("Compare with Logger...");
  review = WaitForReview();
  ASSERT_NE(review, nullptr);
  EXPECT_TRUE(CheckedObjects(review).empty());
  EXPECT_FALSE(FindControl<QPushButton>(review, "Write Checked")->isEnabled());
  QTest::mouseClick(FindControl<QPushButton>(review, "Cancel"), Qt::LeftButton);
  EXPECT_EQ(Summary(), "2 of 2 commands succeeded, 2 verified");  // nothing ran
}

// Every full read and every write keeps the logger's settings; History... of
// the Phone Book page brings the oldest back through the same review.
TEST_F(CompareEndToEnd, HistoryKeepsEachReadAndRestoresASnapshotThroughTheReview) {
  ConnectAndSelect(false);
  ASSERT_EQ(Run("Read All"), "Command Success");
  ASSERT_EQ(Run("Read All"), "Command Success");  // the same settings: not kept twice
  const std::string folder = folder_.File("history/000041");
  ASSERT_EQ(SettingsHistory(phone_book_path()).List("000041").size(), 1u)
      << DataLog().toStdString();
  EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
  ASSERT_EQ(window_->simulator()->CommandFromElsewhere("246802#SA:5#"), "Set success!");
  ASSERT_EQ(Run("Read All"), "Command Success");
  ASSERT_EQ(SettingsHistory(phone_book_path()).List("000041").size(), 2u);

  SnapshotListDialog* history = OpenHistoryOfFirstEntry();
  ASSERT_NE(history, nullptr);
  EXPECT_TRUE(history->isVisible());
  EXPECT_TRUE(AccessibilityProblems(history).empty());
  auto* snapshots = FindControl<QTableWidget>(history, "Snapshots");
  ASSERT_EQ(snapshots->rowCount(), 2);
  EXPECT_GE(snapshots->item(0, 0)->text(), snapshots->item(1, 0)->text());  // newest first
  EXPECT_EQ(snapshots->item(0, 1)->text(), snapshots->item(1, 1)->text());
  EXPECT_GT(snapshots->item(0, 1)->text().toInt(), 20);
  QAccessibleInterface* focused = FocusedControl(QAccessible::queryAccessibleInterface(history));
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->role(), QAccessible::Cell);

  snapshots->setCurrentCell(1, 0);
  QTest::mouseClick(FindControl<QPushButton>(history, "Restore..."), Qt::LeftButton);
  SettingsReviewDialog* review = WaitForReview();
  ASSERT_NE(review, nullptr);
  EXPECT_EQ(DevicePages()->currentIndex(), kBatchSetupPage);
  EXPECT_THAT(LabelDescribed(review, "Comparison summary")->text().toStdString(),
              ::testing::StartsWith("Logger 000041 against the snapshot of 000041 taken "));
  EXPECT_THAT(CheckedObjects(review), ::testing::ElementsAre("Data Logging Interval"));
  EXPECT_EQ(ReviewRows(review).at("Data Logging Interval").first, "differs");
  QTest::mouseClick(FindControl<QPushButton>(review, "Write Checked"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return FindControl<QPushButton>(review, "Close")->isVisible(); }, 30000))
      << DataLog().toStdString();
  EXPECT_EQ(Summary(), "1 of 1 command succeeded, 1 verified");
  EXPECT_EQ(ReviewRows(review).at("Data Logging Interval").second, "Verified");
  // The read-back is kept as the newest: the oldest over again.
  const SettingsHistory kept(phone_book_path());
  const std::vector<Snapshot> now = kept.List("000041");
  ASSERT_EQ(now.size(), 3u);
  // The logger's clock runs on between the two reads, as the history itself allows.
  const auto without_clock = [&kept](const Snapshot& snapshot) {
    std::optional<std::map<int, std::string>> settings = kept.Load(snapshot.path);
    if (settings) settings->erase(kDateTimeCode);
    return settings;
  };
  EXPECT_EQ(without_clock(now[0]), without_clock(now[2]));
}

// A history that cannot be written stops nothing: the data log says why, once.
TEST_F(CompareEndToEnd, AHistoryThatCannotBeWrittenIsToldOnceAndBlocksNothing) {
  WriteBytes(folder_.File("history"), "a file where the folder goes");
  ConnectAndSelect(false);
  ASSERT_EQ(Run("Read All"), "Command Success");
  ASSERT_EQ(Run("Read All"), "Command Success");
  Click("Batch");
  QTest::mouseClick(PageControl<QPushButton>(kBatchSetupPage, "Batch Setup"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Summary().contains("succeeded"); }, 30000))
      << DataLog().toStdString();
  EXPECT_THAT(Summary().toStdString(), ::testing::StartsWith("27 of 27 commands succeeded"));
  const QString log = DataLog();
  const qsizetype told = log.count(QString::fromStdString(folder_.File("history")));
  EXPECT_EQ(told, 1) << log.toStdString();
}

// The logger answers "Set success!" and keeps what it had: only the read-back tells.
TEST_F(CompareEndToEnd, VerifyCatchesAWriteThatSucceededButDidNotTakeHold) {
  ConnectAndSelect(false, {.faults = {.keep_old_values = true}});
  Click("Batch");
  auto* list = PageControl<QTableWidget>(kBatchSetupPage, "Batch commands");
  // One changed setting goes out: the interval, 30 minutes on the logger.
  WriteBytes(folder_.File("interval.cfg"),
             "<DATALOG_SETUP>\r\n<Records No.=\"01\" Command=\"246802#SA:5#\" COM=\"11005\" "
             "/>\r\n</DATALOG_SETUP>\r\n");
  Page()->OpenConfigFile(QString::fromStdString(folder_.File("interval.cfg")));
  ASSERT_EQ(list->rowCount(), 1);
  list->item(0, 0)->setCheckState(Qt::Checked);

  auto* verify = PageControl<QCheckBox>(kBatchSetupPage, "Verify");
  EXPECT_FALSE(verify->isChecked());
  verify->setChecked(true);
  QTest::mouseClick(PageControl<QPushButton>(kBatchSetupPage, "Batch Setup"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Summary().contains("succeeded, "); }, 30000))
      << DataLog().toStdString();
  EXPECT_EQ(Summary().toStdString(), "1 of 1 command succeeded, 0 verified");
  EXPECT_EQ(list->item(0, 1)->text().toStdString(), "Differs: 30 Minute");
  EXPECT_EQ(list->item(0, 1)->foreground().color(), QColor(255, 0, 0));
}

// Another logger on the cable than the one chosen: its ID is shown and warned of.
TEST_F(CompareEndToEnd, ALoggerOtherThanTheOneChosenIsShownAndWarnedOf) {
  ConnectAndSelect(false, {.loggers = {{"000099", "+491701000099", "135791", "246802"}}});
  EXPECT_EQ(Control<QLabel>("Answering: 000099")->text(), "Answering: 000099");
  QLabel* warning = Control<QLabel>("Logger 000099 is answering, not 000041");
  EXPECT_TRUE(warning->isVisible());
  EXPECT_EQ(warning->accessibleDescription(), "Warning about the logger answering");
  const QString logged = "Warning: logger 000099 answered the status query, not 000041";
  EXPECT_EQ(DataLog().count(logged), 1) << DataLog().toStdString();
  // Told once while it lasts, not at every status reply.
  ASSERT_EQ(Run("Status"), "Command Success");
  EXPECT_EQ(DataLog().count(logged), 1);
  EXPECT_TRUE(warning->isVisible());

  // Its settings are kept as its own, and a batch writes to it knowing them kept.
  ASSERT_EQ(Run("Read All"), "Command Success");
  const SettingsHistory history(phone_book_path());
  EXPECT_EQ(history.List("000099").size(), 1u);
  EXPECT_TRUE(history.List("000041").empty());
  Click("Batch");
  QTest::mouseClick(PageControl<QPushButton>(kBatchSetupPage, "Batch Setup"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Summary().contains("succeeded"); }, 30000))
      << DataLog().toStdString();
  EXPECT_FALSE(DataLog().contains("were not kept")) << DataLog().toStdString();
}

// With real message boxes, answered as they open: what stops a flow is told
// once, and nothing opens behind the box.
class CompareWithMessageBoxes : public CompareEndToEnd {
 protected:
  void SetUp() override {
    window_notifier_ = &boxes_;
    CompareEndToEnd::SetUp();
  }

  MessageBoxNotifier boxes_{nullptr};
  MessageBoxAnswerer answerer_;
};

TEST_F(CompareWithMessageBoxes, WhatStopsAFlowIsToldInOneBox) {
  ConnectAndSelect(false);
  Click("Batch");
  Click("Disconnect");
  ChooseFromFileMenu("Compare with Logger...");
  ASSERT_TRUE(QTest::qWaitFor([&] { return answerer_.texts.size() == 1; }, 5000));
  EXPECT_EQ(answerer_.texts[0],
            "The logger was not read: Status ended with \"Communication Error\".\n"
            "Nothing was compared and nothing written.");
  QTest::qWait(100);
  EXPECT_EQ(Page()->findChild<SettingsReviewDialog*>(), nullptr);
  EXPECT_TRUE(PageControl<QPushButton>(kBatchSetupPage, "Batch Setup")->isEnabled());

  Control<QTabBar>("Views")->setCurrentIndex(0);
  QTest::mouseClick(FindControl<QPushButton>(window_->findChild<CSet4*>(), "History..."),
                    Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answerer_.texts.size() == 2; }, 5000));
  EXPECT_EQ(answerer_.texts[1], "Select a logger in the list to see the settings kept of it.");
  QTest::qWait(100);
  EXPECT_EQ(window_->findChild<SnapshotListDialog*>(), nullptr);
  EXPECT_EQ(answerer_.texts.size(), 2u);
}

}  // namespace
}  // namespace vexa::testing
