#include "pages/relays/relay_output_page.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "page_driver.h"
#include "page_fixture.h"
#include "pages/relays/text_colour_delegate.h"
#include "support/accessibility_check.h"

namespace vexa::testing {
namespace {

constexpr int kControlColumn = 2;
constexpr char kGroup1Reply[] = "#STC1:000041;AP2:;ER:00;IA:1;XH:21;OUT1:0010;OUT2:0005;#";
constexpr char kGroup3Reply[] =
    "#STC3:000041;COUT1:10000000000000000001000000;COUT2:00000000000000000000000000;#";
constexpr char kStatusReply[] = "#STA:000041,T;P21:0.000;K01:100000000001000;O01:10;#";

class RelayOutputPageTest : public ShownPageTest<CTarvoKSet4Dlg> {
 protected:
  QTableWidget* Matrix() { return Find<QTableWidget>("Current status"); }
  QTableWidget* Associations() { return Find<QTableWidget>("Associated Alarms"); }
  QComboBox* Selector() { return Find<QComboBox>("Relay Channel No."); }
  QComboBox* OnOff() { return Find<QComboBox>("Turn On/Off"); }
  QLineEdit* TimeLapse() { return Find<QLineEdit>("Time Lapse(Seconds)"); }

  // The first status reply reported this many relays.
  void Build(int relay_count) {
    exchange.device_context().relay_count = relay_count;
    page.FirstStatusReply();
  }
  void ReadAll() {
    page.ReadGroup1Reply(kGroup1Reply);
    page.ReadGroup3Reply(kGroup3Reply);
    page.LaterStatusReply(kStatusReply);
  }
  // Relay k's column of the matrix, from "Operation Mode" down.
  QStringList RelayColumn(int relay) {
    QStringList texts;
    for (int row = 0; row < Matrix()->rowCount(); ++row)
      texts << CellText(Matrix(), row, relay + 1);
    return texts;
  }
  QStringList Controls() {
    QStringList texts;
    for (int row = 0; row < Associations()->rowCount(); ++row) {
      texts << CellText(Associations(), row, kControlColumn);
    }
    return texts;
  }
  std::string Click(const char* name) { return Press(Find<QPushButton>(name)); }
  // Types into a field; the next click leaves it.
  void Type(QLineEdit* field, const char* text) {
    // The drop-downs' popups may have taken the activation; a field only
    // feels the cursor leave in the active window.
    QApplication::setActiveWindow(&page);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }
  QColor Colour(QTableWidget* list, int row, int column) {
    auto* delegate = qobject_cast<TextColourDelegate*>(list->itemDelegate());
    return delegate ? delegate->TextColour(list->model()->index(row, column)) : QColor();
  }
};

TEST_F(RelayOutputPageTest, MatrixHasAColumnPerRelayOfEqualWidth) {
  Build(2);
  QTableWidget* matrix = Matrix();
  EXPECT_EQ(matrix->columnCount(), 4);
  EXPECT_EQ(matrix->rowCount(), 22);
  EXPECT_EQ(CellText(matrix, 0, 1), "Operation Mode");
  EXPECT_EQ(CellText(matrix, 1, 1), "Time Lapse");
  EXPECT_EQ(CellText(matrix, 2, 1), "Humidity");
  EXPECT_EQ(CellText(matrix, 15, 1), "Temperature_1");
  EXPECT_EQ(CellText(matrix, 21, 1), "IN4");
  EXPECT_EQ(CellText(Associations(), 15, 1), "Power Source");
  EXPECT_EQ(matrix->columnWidth(2), 160);
  EXPECT_EQ(matrix->columnWidth(3), 160);
  EXPECT_EQ(matrix->rowHeight(0), 18);
  EXPECT_EQ(Associations()->rowHeight(0), 18);

  Build(4);
  EXPECT_EQ(matrix->columnCount(), 6);
  EXPECT_EQ(matrix->model()->headerData(5, Qt::Horizontal).toString(), "Relay_4");
  EXPECT_EQ(matrix->columnWidth(2), 80);
  EXPECT_EQ(matrix->columnWidth(5), 80);
  EXPECT_EQ(Selector()->count(), 4);
  EXPECT_EQ(Selector()->itemText(3), "Relay_4");
  EXPECT_EQ(Selector()->currentIndex(), -1);

  // A status without relays still shows the two relay columns.
  Build(0);
  EXPECT_EQ(matrix->columnCount(), 4);
  EXPECT_EQ(matrix->columnWidth(2), 160);
}

TEST_F(RelayOutputPageTest, RepliesFillTheMatrixAndRecordTheirCommands) {
  Build(2);
  ReadAll();
  QStringList relay1 = {"1", "0010", "1"};
  for (int source = 1; source < 19; ++source) relay1 << "0";
  relay1 << "1";
  EXPECT_EQ(RelayColumn(1), relay1);
  EXPECT_EQ(RelayColumn(2).mid(0, 3), (QStringList{"0", "0005", "0"}));
  EXPECT_EQ(Recorded(14011), "246802#O1:1#");
  EXPECT_EQ(Recorded(14021), "246802#O2:0#");
  EXPECT_EQ(Recorded(14012), "246802#OT1:0010#");
  EXPECT_EQ(Recorded(14022), "246802#OT2:0005#");
  EXPECT_EQ(Recorded(14013), "246802#OC1:10000000000000000001000000#");
  EXPECT_EQ(Recorded(14023), "246802#OC2:00000000000000000000000000#");

  // A state that is neither 1 nor 0 is neither shown nor recorded.
  page.LaterStatusReply("#STA:000041,T;O01:x1;#");
  EXPECT_EQ(CellText(Matrix(), 0, 2), "1");
  EXPECT_EQ(CellText(Matrix(), 0, 3), "1");
  EXPECT_EQ(Recorded(14011), "246802#O1:1#");
  // A reply that lacks a relay's key leaves that relay alone.
  page.ReadGroup1Reply("#STC1:000041;OUT2:0099;#");
  EXPECT_EQ(CellText(Matrix(), 1, 2), "0010");
  EXPECT_EQ(CellText(Matrix(), 1, 3), "0099");

  EXPECT_EQ(Colour(Matrix(), 0, 2), QColor(Qt::black));
  EXPECT_EQ(Colour(Matrix(), 3, 2), QColor(128, 128, 128));  // "0"
  EXPECT_EQ(Colour(Matrix(), 3, 1), QColor(Qt::black));      // a name, not a relay cell
}

TEST_F(RelayOutputPageTest, SelectingARelayShowsItsSettings) {
  Build(2);
  ReadAll();
  EXPECT_FALSE(OnOff()->isEnabled());
  EXPECT_FALSE(TimeLapse()->isEnabled());
  EXPECT_FALSE(Associations()->isEnabled());

  ChooseItem(Selector(), "Relay_1");
  EXPECT_TRUE(Associations()->isEnabled());
  EXPECT_EQ(OnOff()->currentText(), "On");
  EXPECT_EQ(TimeLapse()->text(), "0010");
  QStringList controls(20, "Off");
  controls[0] = controls[19] = "On";
  EXPECT_EQ(Controls(), controls);
  EXPECT_EQ(Colour(Associations(), 0, kControlColumn), QColor(Qt::red));
  EXPECT_EQ(Colour(Associations(), 1, kControlColumn), QColor(128, 128, 128));

  ChooseItem(Selector(), "Relay_2");
  EXPECT_EQ(OnOff()->currentText(), "Off");
  EXPECT_EQ(Controls(), QStringList(20, "Off"));

  // Clear empties the page but not the associations read before.
  page.ClearPage();
  EXPECT_EQ(Selector()->currentIndex(), -1);
  EXPECT_EQ(OnOff()->currentIndex(), -1);
  EXPECT_FALSE(Associations()->isEnabled());
  EXPECT_EQ(RelayColumn(1), QStringList(22, ""));
  EXPECT_EQ(Controls(), QStringList(20, ""));
  ChooseItem(Selector(), "Relay_1");
  EXPECT_EQ(OnOff()->currentIndex(), -1);
  EXPECT_EQ(TimeLapse()->text(), "");
  EXPECT_EQ(Controls(), controls);
}

TEST_F(RelayOutputPageTest, RelayWithoutAssociationsReadShowsNone) {
  Build(3);
  page.ReadGroup3Reply(kGroup3Reply);
  ChooseItem(Selector(), "Relay_3");  // no COUT3 in the reply
  EXPECT_EQ(Controls(), QStringList(20, ""));
  EXPECT_EQ(Click("Set Associated Alarms"), "246802#OC3:" + std::string(26, '0') + "# 14003");
}

TEST_F(RelayOutputPageTest, EachSetSendsForTheSelectedRelay) {
  Build(2);
  ReadAll();
  ChooseItem(Selector(), "Relay_2");
  ChooseItem(OnOff(), "On");
  EXPECT_EQ(Click("Set Turn On/Off"), "246802#O2:1# 14001");
  EXPECT_EQ(Recorded(14021), "246802#O2:1#");

  Type(TimeLapse(), "12a345");  // four digits at most
  EXPECT_EQ(TimeLapse()->text(), "1234");
  Type(TimeLapse(), "7");
  EXPECT_EQ(Click("Set Time Lapse"), "246802#OT2:0007# 14002");  // leaving the field pads it
  EXPECT_EQ(TimeLapse()->text(), "0007");
  EXPECT_EQ(Recorded(14022), "246802#OT2:0007#");

  ChooseItem(Selector(), "Relay_1");
  ChooseInCell(Associations(), 0, kControlColumn, "Off");
  ChooseInCell(Associations(), 16, kControlColumn, "On");
  EXPECT_EQ(Click("Set Associated Alarms"), "246802#OC1:00000000000000001001000000# 14003");
  EXPECT_EQ(Recorded(14013), "246802#OC1:00000000000000001001000000#");
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();
}

TEST_F(RelayOutputPageTest, RefusalsComeBeforeAnythingIsSent) {
  Build(2);
  ReadAll();
  for (const char* button : {"Set Turn On/Off", "Set Time Lapse", "Set Associated Alarms"}) {
    notifier.messages.clear();
    EXPECT_EQ(Click(button), "") << button;
    ASSERT_EQ(notifier.messages.size(), 1u) << button;
    EXPECT_EQ(notifier.messages[0].text, "Relay Channel_No. is empty!");
    EXPECT_EQ(notifier.messages[0].caption, "Error");
    EXPECT_EQ(notifier.messages[0].icon, MessageIcon::kError);
  }

  // Empty fields are ignored without a word.
  page.ClearPage();
  ChooseItem(Selector(), "Relay_2");
  notifier.messages.clear();
  EXPECT_EQ(Click("Set Turn On/Off"), "");
  EXPECT_EQ(Click("Set Time Lapse"), "");
  EXPECT_TRUE(notifier.messages.empty()) << notifier.Last();

  SelectDevice("000044");  // no enquiry password
  EXPECT_EQ(Click("Set Associated Alarms"), "");
  EXPECT_EQ(notifier.Last(), "Device QueryPassword is empty ,please Edit Phone Book!");
}

// On for IN4 with the mouse, Off for AD01 with the keys and Enter, then a
// click on Humidity's cell before Enter's move to AD02 has happened, as under
// load: the click opens Humidity's editor, and the keys work it as well.
TEST_F(RelayOutputPageTest, AClickAfterEnterOpensItsOwnCell) {
  Build(2);
  ReadAll();
  ChooseItem(Selector(), "Relay_1");
  QTableWidget* list = Associations();
  ChooseInCell(list, 19, kControlColumn, "On");
  QApplication::setActiveWindow(&page);  // the dropped list took the activation
  ClickCell(list, 1, kControlColumn);
  CListCtrlComboBox* editor = OpenEditor(list);
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_Up);
  QTest::keyClick(editor, Qt::Key_Down);
  QTest::keyClick(editor, Qt::Key_Return);
  ClickCell(list, 0, kControlColumn);
  QApplication::processEvents();

  ASSERT_EQ(OpenEditor(list), editor);
  EXPECT_EQ(editor->accessibleDescription(), "Humidity");
  EXPECT_TRUE(editor->hasFocus());
  QTest::keyClick(editor, Qt::Key_Down);
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(CellText(list, 0, kControlColumn), "Off");
  EXPECT_EQ(CellText(list, 1, kControlColumn), "Off");
  EXPECT_EQ(CellText(list, 19, kControlColumn), "On");
}

TEST_F(RelayOutputPageTest, EveryControlIsNamedWithTheDropDownOpen) {
  Build(4);
  ReadAll();
  EXPECT_TRUE(AccessibilityProblems(&page).empty());
  ChooseItem(Selector(), "Relay_1");
  ClickCell(Associations(), 2, kControlColumn);
  CListCtrlComboBox* editor = OpenEditor(Associations());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->accessibleName(), "Relay Control");
  EXPECT_EQ(editor->accessibleDescription(), "AD02");
  editor->showPopup();
  const auto problems = AccessibilityProblems(&page);
  EXPECT_TRUE(problems.empty()) << problems.front();
}

}  // namespace
}  // namespace vexa::testing
