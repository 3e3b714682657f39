#include "widgets/list_ctrl_combo_box.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

#include "support/accessibility_check.h"
#include "widgets/list_ctrl_map.h"

namespace vexa::testing {
namespace {

// A page with a report list whose column 2 is edited in place: row 0 offers
// three power texts, the other rows two input texts.
class ListCtrlComboBoxTest : public ::testing::Test {
 protected:
  ListCtrlComboBoxTest() {
    auto* layout = new QVBoxLayout(&page_);
    layout->addWidget(list_);
    layout->addWidget(other_field_);
    other_field_->setAccessibleName("Other field");
    list_->setAccessibleName("Channels");
    list_->setColumnCount(3);
    list_->setRowCount(4);
    list_->setHorizontalHeaderLabels({"", "Channel List", "Operation Mode"});
    list_->setColumnWidth(0, 0);
    list_->setColumnWidth(1, 120);
    list_->setColumnWidth(2, 200);
    list_->verticalHeader()->setDefaultSectionSize(21);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < 4; ++row) {
      list_->setItem(row, 1, new QTableWidgetItem(QString("Input_%1").arg(row)));
      list_->setItem(row, 2, new QTableWidgetItem(row == 0 ? "Loss" : "Open"));
    }
    page_.resize(400, 260);
    page_.show();
    QApplication::setActiveWindow(&page_);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&page_));
  }

  QString Cell(int row, int column = 2) const { return list_->item(row, column)->text(); }
  void ClickCell(int row, int column) {
    const QRect cell = list_->visualRect(list_->model()->index(row, column));
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, cell.center());
  }
  // Presses a key in the open editor and lets a move to the next cell happen.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(editor_, key, modifiers);
    QApplication::processEvents();
  }
  bool Open() const { return editor_->isVisible(); }
  // The cell on the page, where the editor opens over it.
  QRect CellOnPage(int row, int column = 2) const {
    const QRect cell = list_->visualRect(list_->model()->index(row, column));
    return {list_->viewport()->mapTo(&page_, cell.topLeft()), cell.size()};
  }
  // Row and text of the open editor.
  std::pair<int, QString> OpenAt() const {
    const QPoint centre = list_->viewport()->mapFrom(&page_, editor_->geometry().center());
    return {list_->rowAt(centre.y()), editor_->currentText()};
  }
  QStringList Items() const {
    QStringList items;
    for (int i = 0; i < editor_->count(); ++i) items << editor_->itemText(i);
    return items;
  }

  QDialog page_;  // Esc would close it if the editor let the key through
  QTableWidget* list_ = new QTableWidget;
  QLineEdit* other_field_ = new QLineEdit;
  CListCtrlComboBox* editor_ = new CListCtrlComboBox(list_, 2, [](int row) {
    return row == 0 ? QStringList{"None", "Resume", "Loss"} : QStringList{"Disable", "Open"};
  });
};

TEST_F(ListCtrlComboBoxTest, ClickOpensExactlyOverTheCellWithTheRowsTexts) {
  ClickCell(0, 2);
  ASSERT_TRUE(Open());
  EXPECT_EQ(editor_->geometry(), CellOnPage(0));
  // Beside the list, where the accessibility tree finds it.
  EXPECT_EQ(editor_->parentWidget(), &page_);
  EXPECT_EQ(Items(), (QStringList{"None", "Resume", "Loss"}));
  EXPECT_EQ(editor_->currentText(), "Loss");  // the cell's own text is highlighted
  EXPECT_TRUE(editor_->hasFocus());
  EXPECT_EQ(editor_->accessibleName(), "Operation Mode");
  EXPECT_EQ(editor_->accessibleDescription(), "Input_0");
  EXPECT_TRUE(AccessibilityProblems(&page_).empty());

  ClickCell(2, 2);
  EXPECT_EQ(editor_->geometry(), CellOnPage(2));
  EXPECT_EQ(Items(), (QStringList{"Disable", "Open"}));
  EXPECT_EQ(editor_->accessibleDescription(), "Input_2");
}

// The keyboard opens the editor of the list's current cell as a click does.
TEST_F(ListCtrlComboBoxTest, KeysOpenTheCurrentCellAsAClickDoes) {
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_F2, {}},
                                                            {Qt::Key_Space, {}},
                                                            {Qt::Key_Return, {}},
                                                            {Qt::Key_Enter, Qt::KeypadModifier},
                                                            {Qt::Key_Down, Qt::AltModifier}};
  for (const auto& [key, modifiers] : keys) {
    list_->setFocus();
    list_->setCurrentIndex(list_->model()->index(1, 2));
    QTest::keyClick(list_, key, modifiers);
    ASSERT_TRUE(Open()) << key;
    EXPECT_EQ(OpenAt(), (std::pair<int, QString>{1, "Open"})) << key;
    EXPECT_EQ(Items(), (QStringList{"Disable", "Open"})) << key;
    EXPECT_TRUE(editor_->hasFocus()) << key;
    Press(Qt::Key_Escape);
  }
  // Whole rows are selected: on the name of a row, the row's editable cell opens.
  list_->setCurrentIndex(list_->model()->index(0, 1));
  QTest::keyClick(list_, Qt::Key_F2);
  EXPECT_EQ(OpenAt(), (std::pair<int, QString>{0, "Loss"}));
  Press(Qt::Key_Escape);
  // Other keys move about the list and open nothing.
  QTest::keyClick(list_, Qt::Key_Down);
  EXPECT_FALSE(Open());
  EXPECT_EQ(list_->currentIndex().row(), 1);
}

// The editor stays over its cell while the list scrolls, and closes once the
// cell is out of sight.
TEST_F(ListCtrlComboBoxTest, TheEditorFollowsItsCellWhenTheListScrolls) {
  list_->setRowCount(40);
  for (int row = 4; row < 40; ++row) list_->setItem(row, 2, new QTableWidgetItem("Open"));
  ClickCell(2, 2);
  list_->verticalScrollBar()->setValue(1);
  ASSERT_TRUE(Open());
  EXPECT_EQ(editor_->geometry(), CellOnPage(2));
  list_->verticalScrollBar()->setValue(20);
  EXPECT_FALSE(Open());
  EXPECT_EQ(Cell(2), "Open");
}

// Open, the editor is a focused combo box of the page's accessibility tree,
// named (for its column; on Linux Qt names a combo box by its value), with the
// cell's text as its value and its row as its description.
TEST_F(ListCtrlComboBoxTest, TheOpenEditorIsFoundThroughTheAccessibilityTree) {
  ClickCell(1, 2);
  QAccessibleInterface* found = FocusedControl(QAccessible::queryAccessibleInterface(&page_));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->role(), QAccessible::ComboBox);
  EXPECT_FALSE(found->text(QAccessible::Name).isEmpty());
  EXPECT_EQ(found->text(QAccessible::Value), "Open");
  EXPECT_EQ(found->text(QAccessible::Description), "Input_1");

  // A key moves the value, which the tree reads at once.
  Press(Qt::Key_Up);
  EXPECT_EQ(found->text(QAccessible::Value), "Disable");
  // Closed, the focus is back on the list's cell, unchanged.
  Press(Qt::Key_Escape);
  found = FocusedControl(QAccessible::queryAccessibleInterface(&page_));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->role(), QAccessible::Cell);
  EXPECT_EQ(found->text(QAccessible::Name), "Open");
}

TEST_F(ListCtrlComboBoxTest, OnlyTheRegisteredColumnOpens) {
  ClickCell(1, 1);
  EXPECT_FALSE(Open());
  EXPECT_EQ(CListCtrlMap::Of(list_)->EditorFor(1), nullptr);
  EXPECT_EQ(CListCtrlMap::Of(list_)->EditorFor(2), editor_);
}

TEST_F(ListCtrlComboBoxTest, PickingWithTheMouseWritesTheCellAtOnce) {
  ClickCell(1, 2);
  editor_->showPopup();
  QAbstractItemView* view = editor_->view();
  ASSERT_TRUE(view->isVisible());
  EXPECT_TRUE(AccessibilityProblems(&page_).empty());
  const QRect item = view->visualRect(view->model()->index(0, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  QApplication::processEvents();
  EXPECT_EQ(Cell(1), "Disable");
  EXPECT_FALSE(Open());
}

TEST_F(ListCtrlComboBoxTest, ListClosedWithoutAPickKeepsTheCell) {
  ClickCell(1, 2);
  editor_->showPopup();
  editor_->hidePopup();
  QApplication::processEvents();
  EXPECT_FALSE(Open());
  EXPECT_EQ(Cell(1), "Open");
}

TEST_F(ListCtrlComboBoxTest, UpAndDownOnlyMoveTheHighlightWhichEnterWrites) {
  ClickCell(0, 2);
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);
  Press(Qt::Key_Up);  // not before the first
  EXPECT_EQ(editor_->currentText(), "None");
  EXPECT_EQ(Cell(0), "Loss");
  Press(Qt::Key_Down);
  EXPECT_EQ(Cell(0), "Loss");
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(0), "Resume");
  // The next row's cell opens with its own texts.
  ASSERT_TRUE(Open());
  EXPECT_EQ(OpenAt(), (std::pair<int, QString>{1, "Open"}));
  EXPECT_EQ(Items(), (QStringList{"Disable", "Open"}));
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);  // not after the last
  EXPECT_EQ(editor_->currentText(), "Open");
  EXPECT_TRUE(list_->selectionModel()->selectedRows().isEmpty());
}

TEST_F(ListCtrlComboBoxTest, EnterAndTabMoveForwardBackOrDown) {
  ClickCell(2, 2);
  Press(Qt::Key_Up);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Cell(2), "Disable");
  EXPECT_EQ(OpenAt().first, 3);

  // Tab on the last row commits and opens nothing.
  Press(Qt::Key_Up);
  Press(Qt::Key_Tab);
  EXPECT_EQ(Cell(3), "Disable");
  EXPECT_FALSE(Open());

  // Ctrl+Enter on the last row wraps to the first.
  ClickCell(3, 2);
  Press(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(OpenAt(), (std::pair<int, QString>{0, "Loss"}));

  // Shift goes back a row, and no further than the first.
  ClickCell(2, 2);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(OpenAt().first, 1);
  Press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(OpenAt().first, 0);
  Press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_FALSE(Open());
}

// Enter commits and opens the next cell once the key is handled; a click
// that comes before that, as under load, still opens its own cell.
TEST_F(ListCtrlComboBoxTest, AClickOpensItsCellWhateverWasOpenBefore) {
  ClickCell(1, 2);
  QTest::keyClick(editor_, Qt::Key_Return);
  ClickCell(0, 2);
  QApplication::processEvents();
  ASSERT_TRUE(Open());
  EXPECT_EQ(OpenAt(), (std::pair<int, QString>{0, "Loss"}));
  EXPECT_TRUE(editor_->hasFocus());

  // And after the next cell has opened.
  QTest::keyClick(editor_, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(OpenAt().first, 1);
  ClickCell(3, 2);
  QApplication::processEvents();
  EXPECT_EQ(OpenAt(), (std::pair<int, QString>{3, "Open"}));
  EXPECT_TRUE(editor_->hasFocus());
}

TEST_F(ListCtrlComboBoxTest, EscAndLeavingKeepTheCell) {
  ClickCell(1, 2);
  Press(Qt::Key_Up);
  Press(Qt::Key_Escape);
  EXPECT_FALSE(Open());
  EXPECT_EQ(Cell(1), "Open");
  EXPECT_TRUE(page_.isVisible());

  ClickCell(1, 2);
  Press(Qt::Key_Up);
  other_field_->setFocus();
  EXPECT_FALSE(Open());
  EXPECT_EQ(Cell(1), "Open");
}

TEST_F(ListCtrlComboBoxTest, UnknownTextOpensOnTheFirstItem) {
  list_->item(1, 2)->setText("Undefined");
  ClickCell(1, 2);
  EXPECT_EQ(editor_->currentText(), "Disable");
  Press(Qt::Key_Escape);
  EXPECT_EQ(Cell(1), "Undefined");

  list_->item(2, 2)->setText("");
  ClickCell(2, 2);
  EXPECT_EQ(editor_->currentText(), "Disable");
}

TEST_F(ListCtrlComboBoxTest, NarrowColumnIsNeverEdited) {
  CListCtrlComboBox names(list_, 1, [](int) { return QStringList{"A"}; });
  list_->horizontalHeader()->setMinimumSectionSize(0);
  for (const int width : {0, 4}) {
    list_->setColumnWidth(1, width);
    names.ShowAt(1, 1);
    EXPECT_FALSE(names.isVisible()) << width;
  }
  list_->setColumnWidth(1, 5);
  names.ShowAt(1, 1);
  EXPECT_TRUE(names.isVisible());

  // Neither are cells that do not exist, nor rows without texts.
  editor_->ShowAt(4, 2);
  editor_->ShowAt(-1, 2);
  editor_->ShowAt(1, 3);
  EXPECT_FALSE(Open());
  CListCtrlComboBox empty(list_, 0, [](int) { return QStringList{}; });
  list_->setColumnWidth(0, 50);
  empty.ShowAt(1, 0);
  EXPECT_FALSE(empty.isVisible());
}

TEST_F(ListCtrlComboBoxTest, AnEditorGoesWithItsList) {
  auto* list = new QTableWidget(2, 2, &page_);
  list->setItem(0, 1, new QTableWidgetItem("A"));
  QPointer<CListCtrlComboBox> editor = new CListCtrlComboBox(list, 1, [](int) {
    return QStringList{"A", "B"};
  });
  list->show();
  editor->ShowAt(0, 1);
  ASSERT_EQ(editor->parentWidget(), &page_);
  delete list;
  EXPECT_TRUE(editor.isNull());
}

TEST_F(ListCtrlComboBoxTest, DestroyedEditorLeavesTheMap) {
  {
    CListCtrlComboBox names(list_, 1, [](int) { return QStringList{"A"}; });
    EXPECT_EQ(CListCtrlMap::Of(list_)->EditorFor(1), &names);
  }
  EXPECT_EQ(CListCtrlMap::Of(list_)->EditorFor(1), nullptr);
  ClickCell(1, 1);  // no editor any more: nothing happens
  EXPECT_FALSE(Open());
}

}  // namespace
}  // namespace vexa::testing
