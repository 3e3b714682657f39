#include "pages/inputs/input_channel_page.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "page_driver.h"
#include "page_fixture.h"
#include "support/accessibility_check.h"

namespace vexa::testing {
namespace {

constexpr int kModeColumn = 2;
constexpr char kIncomplete[] = "Operation Mode setup is incomplete,please check!";
constexpr char kGroup2Reply[] = "#STC2:000041;AD13:2,50.00,-10.0;AD14:1,60.00,0.000;PA:0234;#";

class InputChannelPageTest : public ShownPageTest<CTarvoKSet3Dlg> {
 protected:
  // The first status reply reported this many inputs.
  void BuildRows(int input_count) {
    exchange.device_context().digital_input_count = input_count;
    page.FirstStatusReply();
  }
  QStringList Column(int column) const {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) texts << CellText(list, row, column);
    return texts;
  }
  // Presses Set; returns what went out and its code ("" when nothing did).
  std::string Set() {
    port.writes.clear();
    QTest::mouseClick(page.findChild<QPushButton*>(), Qt::LeftButton);
    const std::string sent =
        port.writes.empty() ? "" : LastWrite() + " " + std::to_string(PendingCode());
    if (exchange.busy()) EndCommand();
    return sent;
  }

  QTableWidget* list = page.findChild<QTableWidget*>();
};

TEST_F(InputChannelPageTest, RowsAndTheirChoicesFollowTheInputCount) {
  EXPECT_EQ(list->rowCount(), 0);  // nothing before the first status reply
  BuildRows(9);
  EXPECT_EQ(Column(1), (QStringList{"Power Source", "Digital Input_01", "Digital Input_02",
                                    "Digital Input_03", "Digital Input_04", "Digital Input_11",
                                    "Digital Input_12", "Digital Input_13", "Digital Input_14"}));
  EXPECT_EQ(CellChoices(list, 0, kModeColumn).first(), "No Alarm");
  EXPECT_EQ(CellChoices(list, 3, kModeColumn).last(), "Change State Triggered Alarm");
  EXPECT_EQ(CellChoices(list, 8, kModeColumn), QStringList{"On/Off Channel"});
  EXPECT_TRUE(CellChoices(list, 2, 1).isEmpty());  // the names are not edited

  BuildRows(3);
  EXPECT_EQ(Column(1), (QStringList{"Digital Input_01", "Digital Input_02", "Digital Input_03"}));
  EXPECT_EQ(list->rowHeight(0), 21);
  EXPECT_TRUE(list->isColumnHidden(0));
}

TEST_F(InputChannelPageTest, ReplyFillsTheModesAndSetSendsThemBack) {
  BuildRows(15);
  page.ReadGroup2Reply(kGroup2Reply);
  EXPECT_EQ(Column(kModeColumn),
            (QStringList{"No Alarm", "NO - Close Triggered Alarm", "NC - Open Triggered Alarm",
                         "Change State Triggered Alarm", "On/Off Channel", "On/Off Channel",
                         "On/Off Channel", "On/Off Channel", "On/Off Channel"}));
  EXPECT_EQ(Recorded(13001), "246802#PA:0234#");
  EXPECT_EQ(Set(), "246802#PA:023400# 13001");
  EXPECT_EQ(Recorded(13001), "246802#PA:023400#");

  ChooseInCell(list, 0, kModeColumn, "AC Power Loss Alarm");
  ChooseInCell(list, 2, kModeColumn, "Channel Disable");
  EXPECT_EQ(Set(), "246802#PA:320400# 13001");
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();
}

TEST_F(InputChannelPageTest, IncompleteModesAreRefused) {
  Set();  // no rows yet
  EXPECT_EQ(notifier.Last(), kIncomplete);
  BuildRows(9);
  EXPECT_EQ(Set(), "");  // empty cells
  EXPECT_EQ(notifier.messages.back().caption, "Error");
  EXPECT_EQ(notifier.messages.back().icon, MessageIcon::kError);

  page.ReadGroup2Reply("#STC2:000041;PA:0134;#");
  EXPECT_EQ(CellText(list, 1, kModeColumn), "Undefined");
  notifier.messages.clear();
  EXPECT_EQ(Set(), "");
  EXPECT_EQ(notifier.Last(), kIncomplete);
  EXPECT_EQ(Recorded(13001), "246802#PA:0134#");  // the reading, not a refused Set

  // A short value leaves the rows it does not reach; Clear empties every mode.
  ChooseInCell(list, 1, kModeColumn, "Channel Disable");
  page.ReadGroup2Reply("#STC2:000041;PA:4;#");
  EXPECT_EQ(Column(kModeColumn).mid(0, 2),
            (QStringList{"AC Power Resume/Loss Alarm", "Channel Disable"}));
  page.ClearPage();
  EXPECT_EQ(Column(kModeColumn), QStringList(9, ""));
  EXPECT_EQ(Set(), "");
}

TEST_F(InputChannelPageTest, ReplyWithoutModesChangesNothing) {
  BuildRows(9);
  page.ReadGroup2Reply(kGroup2Reply);
  page.ReadGroup2Reply("");
  page.ReadGroup2Reply("#STC2:000041;AD14:1,60.00,0.000;#");
  EXPECT_EQ(CellText(list, 1, kModeColumn), "NO - Close Triggered Alarm");
  EXPECT_EQ(Recorded(13001), "246802#PA:0234#");
}

TEST_F(InputChannelPageTest, ReadinessIsCheckedFirstInItsNullWording) {
  BuildRows(9);
  page.ReadGroup2Reply(kGroup2Reply);
  SelectDevice("000043");  // no phone number
  EXPECT_EQ(Set(), "");
  EXPECT_EQ(notifier.Last(), "Device Phone Number is NULL ,please Edit Phone Book!");
}

TEST_F(InputChannelPageTest, EveryControlIsNamedWithTheDropDownOpen) {
  BuildRows(9);
  page.ReadGroup2Reply(kGroup2Reply);
  EXPECT_TRUE(AccessibilityProblems(&page).empty());
  ClickCell(list, 1, kModeColumn);
  CListCtrlComboBox* editor = OpenEditor(list);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->accessibleDescription(), "Digital Input_01");
  editor->showPopup();
  const auto problems = AccessibilityProblems(&page);
  EXPECT_TRUE(problems.empty()) << problems.front();
}

}  // namespace
}  // namespace vexa::testing
