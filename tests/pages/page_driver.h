#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>

#include "widgets/list_ctrl_combo_box.h"

namespace vexa::testing {

// Drives a page's lists and drop-downs as the engineer does, with clicks and keys.

// Drops the list of a combo box and clicks the item with this text.
inline void ChooseItem(QComboBox* combo, const QString& text) {
  const int item = combo->findText(text);
  ASSERT_GE(item, 0) << text.toStdString() << " is not offered";
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(item, 0)).center());
  QApplication::processEvents();
}

inline void ClickCell(QTableView* list, int row, int column) {
  const QRect cell = list->visualRect(list->model()->index(row, column));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

// The editor open over the list, or null.
inline CListCtrlComboBox* OpenEditor(QTableView* list) {
  for (auto* editor : list->window()->findChildren<CListCtrlComboBox*>()) {
    if (editor->list() == list && editor->isVisible()) return editor;
  }
  return nullptr;
}

// The texts the cell's drop-down offers; empty when none opens.
inline QStringList CellChoices(QTableView* list, int row, int column) {
  ClickCell(list, row, column);
  CListCtrlComboBox* editor = OpenEditor(list);
  if (!editor) return {};
  QStringList items;
  for (int i = 0; i < editor->count(); ++i) items << editor->itemText(i);
  QTest::keyClick(editor, Qt::Key_Escape);
  return items;
}

// Clicks the cell, drops its list and clicks the item with this text.
inline void ChooseInCell(QTableView* list, int row, int column, const QString& text) {
  ClickCell(list, row, column);
  CListCtrlComboBox* editor = OpenEditor(list);
  ASSERT_NE(editor, nullptr) << "no editor on row " << row;
  ChooseItem(editor, text);
}

inline QString CellText(QTableWidget* list, int row, int column) {
  const QTableWidgetItem* item = list->item(row, column);
  return item ? item->text() : QString();
}

}  // namespace vexa::testing
