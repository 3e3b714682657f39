// The Batch Setup page over a fake port: its list, buttons, files and runs.
#include "batch/batch_page.h"

#include <gmock/gmock.h>
#include <stdlib.h>

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>
#include <filesystem>

#include "batch_page_fixture.h"
#include "support/accessibility_check.h"
#include "support/file_dialog_script.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST_F(BatchPageTest, ListsTheBufferCheckedInCodeOrder) {
  EXPECT_THAT(AccessibilityProblems(&page), IsEmpty());
  page.Refresh(false);
  QTableWidget* list = List();
  ASSERT_EQ(list->rowCount(), 3);
  EXPECT_THAT(Column(kNumber), ElementsAre("01", "02", "03"));
  EXPECT_THAT(Column(kObject), ElementsAre("Station ID", "Data Logging Interval", "Alarm Phone1"));
  EXPECT_EQ(Cell(1, kParameters), "30 Minute");
  EXPECT_EQ(Cell(1, kCommand), "246802#SA:3#");  // the current setup password
  EXPECT_EQ(Cell(1, kCode), "11005");
  EXPECT_TRUE(Checked(0) && Checked(1) && Checked(2));

  QHeaderView* header = list->horizontalHeader();
  EXPECT_EQ(list->horizontalHeaderItem(kStatus)->text(), "Status");
  EXPECT_TRUE(list->isColumnHidden(kCommand) && list->isColumnHidden(kCode));
  EXPECT_EQ(list->columnWidth(kNumber), 100);
  EXPECT_EQ(list->columnWidth(kStatus), 200);
  EXPECT_EQ(list->columnWidth(kObject), 240);
  EXPECT_TRUE(header->stretchLastSection());
  EXPECT_EQ(list->palette().color(QPalette::AlternateBase), QColor(230, 234, 235));
  EXPECT_THAT(AccessibilityProblems(&page), IsEmpty());
}

TEST_F(BatchPageTest, StatusNarrowsFromThe32ndRowAndWidensBelow30) {
  for (int code = 19000; code < 19032; ++code) {
    command_buffer.RecordCommand(code, "246802#AP1:+4917" + std::to_string(code) + "!#");
  }
  page.Refresh(false);
  ASSERT_EQ(List()->rowCount(), 35);
  EXPECT_EQ(List()->columnWidth(kStatus), 185);

  List()->selectRow(0);
  const auto delete_selected = [&] {
    QMenu* row_menu = RightClick(CellCentre(0));
    ASSERT_TRUE(row_menu);
    EXPECT_EQ(row_menu->actions().front()->text(), "Delete");
    row_menu->actions().front()->trigger();
    row_menu->hide();
  };
  for (int rows = 35; rows > 30; --rows) delete_selected();
  EXPECT_EQ(List()->rowCount(), 30);
  EXPECT_EQ(List()->columnWidth(kStatus), 185);
  delete_selected();
  EXPECT_EQ(List()->columnWidth(kStatus), 200);
}

TEST_F(BatchPageTest, DeleteRemovesTheTwoSelectedRows) {
  page.Refresh(false);
  List()->setSelectionMode(QAbstractItemView::MultiSelection);
  List()->selectRow(0);
  List()->selectRow(2);
  EXPECT_FALSE(RightClick(QPoint(5, List()->viewport()->height() - 5)));  // below the rows
  QMenu* row_menu = RightClick(CellCentre(2));
  ASSERT_TRUE(row_menu);
  row_menu->actions().front()->trigger();
  EXPECT_THAT(Column(kNumber), ElementsAre("02"));
  EXPECT_EQ(command_buffer.Count(), 3u);  // the buffer keeps them
}

TEST_F(BatchPageTest, SelectionButtonsAndBufferClear) {
  page.Refresh(false);
  Click("Deselect All");
  EXPECT_FALSE(Checked(0) || Checked(1) || Checked(2));
  List()->item(1, kNumber)->setCheckState(Qt::Checked);
  Click("Select All");
  EXPECT_TRUE(Checked(0) && Checked(1) && Checked(2));

  Click("Buffer Clear");
  EXPECT_EQ(List()->rowCount(), 0);
  page.Refresh(false);
  EXPECT_EQ(List()->rowCount(), 3);
}

TEST_F(BatchPageTest, BandCommandListedOnceTheBatchButtonAsked) {
  command_buffer.RecordCommand(11008, "246802#PL:5#");
  page.Refresh(false);
  EXPECT_EQ(List()->rowCount(), 3);
  page.Refresh(true);
  EXPECT_EQ(List()->rowCount(), 4);
  EXPECT_EQ(Cell(2, kParameters), "900/1800");  // in code order
  page.Refresh(false);
  EXPECT_EQ(List()->rowCount(), 4);  // the flag stays set
}

TEST_F(BatchPageTest, GsmRouteEmptiesAndDisablesThePage) {
  page.Refresh(false);
  page.SetBatchEnabled(false);
  EXPECT_EQ(List()->rowCount(), 0);
  EXPECT_THAT(Enabled(), ElementsAre(false, false, false, true, false));
  page.SetBatchEnabled(true);
  EXPECT_THAT(Enabled(), ElementsAre(true, true, true, true, true));
}

TEST_F(BatchPageTest, RunShowsEachResultInItsColourAndSummary) {
  page.Refresh(false);
  Find<QCheckBox>("Auto Station ID")->setChecked(true);
  Click("Batch Setup");
  EXPECT_THAT(Column(kStatus), ElementsAre("Ready", "Ready", "Ready"));
  EXPECT_EQ(Cell(0, kParameters), "000042");
  EXPECT_THAT(Enabled(), ElementsAre(false, false, false, false, false));

  ASSERT_TRUE(NextWrite(1));
  EXPECT_EQ(port.writes[0], "246802#ST:000042#");
  EXPECT_EQ(Cell(0, kStatus), "Command Sending");
  page.WatchButtons();
  EXPECT_THAT(Enabled(), ElementsAre(false, false, false, false, false));
  EXPECT_FALSE(RightClick(CellCentre(0)));  // no Delete while a batch runs
  Answer("Set success!");
  ASSERT_TRUE(NextWrite(2));
  Answer("SET fail!");
  ASSERT_TRUE(NextWrite(3));
  for (int tick = 0; tick <= 401; ++tick) exchange.Tick();  // no answer
  page.BatchResult(exchange.progress().status_text);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Button("Batch Setup")->isEnabled(); }, 5000));

  EXPECT_THAT(Column(kStatus), ElementsAre("Command Success", "Command Fail ", "Command Time Out"));
  EXPECT_EQ(List()->item(0, kStatus)->foreground().color(), QColor(0, 128, 0));
  EXPECT_EQ(List()->item(1, kStatus)->foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(List()->item(2, kStatus)->foreground().color(), QColor(0, 0, 255));
  EXPECT_EQ(List()->item(0, kObject)->foreground().color(), QColor(Qt::black));
  EXPECT_EQ(Find<QLabel>("1 of 3 commands succeeded")->accessibleDescription(),
            "Result of the last batch");
  EXPECT_THAT(Enabled(), ElementsAre(true, true, true, true, true));
  EXPECT_EQ(command_buffer.Entries().at(11002), "246802#ST:000041#");

  const std::string report = files.File("report.csv");
  EXPECT_TRUE(Button("Save Report...")->isEnabled());
  page.SaveReport(QString::fromStdString(report));
  const std::string csv = ReadBytes(report);
  EXPECT_THAT(csv,
              HasSubstr("Logger ID,Time,No.,Object,Parameters,Status,Verification\r\n000042,"));
  // Not a number, so a spreadsheet would run it: kept as text.
  EXPECT_THAT(csv, HasSubstr(",03,Alarm Phone1,'+491709876543!,Command Time Out,\r\n"));
  EXPECT_THAT(csv, ::testing::Not(HasSubstr("246802")));
  EXPECT_THAT(AccessibilityProblems(&page), IsEmpty());

  // The next run counts on from the row's own command.
  Click("Batch Setup");
  ASSERT_TRUE(NextWrite(4));
  EXPECT_EQ(port.writes[3], "246802#ST:000043#");
}

// A batch the engineer controls: both options start off, so that a run sends
// exactly its rows, and neither can change while a run goes on.
TEST_F(BatchPageTest, StopBatchEndsTheRunAtOnceAndLeavesTheRestUnsent) {
  page.Refresh(false);
  auto* verify = Find<QCheckBox>("Verify");
  auto* stop_at_time_out = Find<QCheckBox>("Stop at first time-out");
  EXPECT_FALSE(verify->isChecked() || stop_at_time_out->isChecked());
  EXPECT_FALSE(Button("Stop Batch")->isVisible());
  Click("Batch Setup");
  ASSERT_TRUE(NextWrite(1));
  EXPECT_TRUE(Button("Stop Batch")->isVisible());
  EXPECT_FALSE(verify->isEnabled() || stop_at_time_out->isEnabled());
  EXPECT_THAT(AccessibilityProblems(&page), IsEmpty());

  Click("Stop Batch");
  EXPECT_THAT(Column(kStatus), ElementsAre("Command Sending", "Not Sent", "Not Sent"));
  // The command in flight ends at the next tick, not after 40 s.
  exchange.Tick();
  page.BatchResult(exchange.progress().status_text);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Button("Batch Setup")->isEnabled(); }, 5000));
  EXPECT_THAT(Column(kStatus), ElementsAre("Command Time Out", "Not Sent", "Not Sent"));
  EXPECT_EQ(Find<QLabel>("0 of 3 commands succeeded, 2 not sent")->accessibleDescription(),
            "Result of the last batch");
  EXPECT_FALSE(Button("Stop Batch")->isVisible());
  EXPECT_TRUE(verify->isEnabled() && stop_at_time_out->isEnabled());
  QTest::qWait(50);  // the worker's late tasks send nothing
  EXPECT_EQ(port.writes.size(), 1u);
}

TEST_F(BatchPageTest, StopAtFirstTimeOutSendsNothingAfterTheLoggerFellSilent) {
  page.Refresh(false);
  Find<QCheckBox>("Stop at first time-out")->setChecked(true);
  Click("Batch Setup");
  ASSERT_TRUE(NextWrite(1));
  Answer("Set success!");
  ASSERT_TRUE(NextWrite(2));
  for (int tick = 0; tick <= 401; ++tick) exchange.Tick();  // no answer
  page.BatchResult(exchange.progress().status_text);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Button("Batch Setup")->isEnabled(); }, 5000));
  EXPECT_THAT(Column(kStatus), ElementsAre("Command Success", "Command Time Out", "Not Sent"));
  EXPECT_EQ(port.writes.size(), 2u);
}

TEST_F(BatchPageTest, ConfigFileRoundTripListsTheCommandsUnchecked) {
  page.Refresh(false);
  List()->item(1, kNumber)->setCheckState(Qt::Unchecked);
  const QString path = QString::fromStdString(files.File("setup"));
  page.SaveConfigFile(path);
  const std::string saved = ReadBytes(files.File("setup.cfg"));
  EXPECT_THAT(saved, HasSubstr("<Records />\r\n"));

  command_buffer.RecordCommand(12002, "246802#AD02:1,2,3,4,5,6#");
  page.OpenConfigFile(path + ".cfg");
  EXPECT_THAT(Column(kNumber), ElementsAre("01", "02"));
  EXPECT_EQ(Cell(1, kCode), "11009");
  EXPECT_FALSE(Checked(0) || Checked(1));
  EXPECT_EQ(command_buffer.Count(), 3u);  // and the empty text under code 0
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();
}

TEST_F(BatchPageTest, AConfigFileWithoutCommandsChangesNothingAndSaysSo) {
  page.Refresh(false);
  const std::map<int, std::string> buffered = command_buffer.Entries();
  const std::string empty = files.File("empty.cfg");
  const std::string unchecked = files.File("unchecked.cfg");
  WriteBytes(empty, "<DATALOG_SETUP></DATALOG_SETUP>");
  WriteBytes(unchecked,
             "<DATALOG_SETUP>\r\n<DateTime DateTime=\"x\" />\r\n<Records />\r\n<Records "
             "/>\r\n</DATALOG_SETUP>\r\n");
  for (const std::string& path : {empty, unchecked}) {
    notifier.messages.clear();
    page.OpenConfigFile(QString::fromStdString(path));
    ASSERT_EQ(notifier.messages.size(), 1u) << path;
    EXPECT_EQ(notifier.Last(), "The configure file was not loaded:\n" + path +
                                   "\nholds no commands.\nThe command list is unchanged.");
    EXPECT_EQ(command_buffer.Entries(), buffered);
    EXPECT_EQ(List()->rowCount(), 3);
  }
}

TEST_F(BatchPageTest, FileMenuDialogsStartWithCfgAndAskAboutTheNameSaved) {
  const auto choose = [this](const QString& item) {
    for (QAction* action : Button("File")->menu()->actions()) {
      if (action->text() == item) return action->trigger();
    }
    ADD_FAILURE() << "no menu item " << item.toStdString();
  };
  QString shown;
  {
    FileDialogScript script({FileDialogScript::ReadName(shown)});
    choose("Open Configure File");
  }
  EXPECT_EQ(shown, "*.cfg");

  // Typed without ".cfg", the name of a file already there.
  const std::string kept = "<DATALOG_SETUP>\r\n</DATALOG_SETUP>\r\n";
  WriteBytes(files.File("setupA.cfg"), kept);
  page.Refresh(false);
  notifier.answer = false;
  {
    FileDialogScript script({FileDialogScript::Type(QString::fromStdString(files.File("setupA"))),
                             FileDialogScript::Cancel()});
    choose("Save Configure File");
  }
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_TRUE(notifier.messages[0].question);
  EXPECT_EQ(notifier.Last(),
            files.File("setupA.cfg") + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(ReadBytes(files.File("setupA.cfg")), kept);
  EXPECT_FALSE(std::filesystem::exists(files.File("setupA")));
}

TEST_F(BatchPageTest, FilesThatFailAreToldNotSwallowed) {
  page.Refresh(false);
  page.SaveConfigFile(QString::fromStdString(files.File("no/folder/setup.cfg")));
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_THAT(notifier.Last(), HasSubstr("not saved"));
  EXPECT_EQ(notifier.messages.back().icon, MessageIcon::kError);

  WriteBytes(files.File("broken.cfg"), "<DATALOG_SETUP><Records");
  page.OpenConfigFile(QString::fromStdString(files.File("broken.cfg")));
  EXPECT_THAT(notifier.Last(), HasSubstr("not an XML file"));
  page.OpenConfigFile(QString::fromStdString(files.File("missing.cfg")));
  EXPECT_THAT(notifier.Last(), HasSubstr("cannot be read"));
  EXPECT_EQ(List()->rowCount(), 3);
  EXPECT_EQ(command_buffer.Count(), 3u);

  page.SaveReport(QString::fromStdString(files.File("no/folder/report.csv")));
  EXPECT_THAT(notifier.Last(), HasSubstr("report was not saved"));
}

}  // namespace
}  // namespace vexa::testing
