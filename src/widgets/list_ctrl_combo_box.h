#pragma once

#include <QComboBox>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "widgets/list_ctrl_edit_base.h"

class CListCtrlMap;
class QTableView;

// A drop-down list that opens exactly over a cell of a report list and offers
// the texts allowed for that cell's row; while open it is a focused, named
// control beside the list. Picking an item writes it into the cell at once;
// Up and Down only move the highlight, which Enter or Tab then writes before
// the next cell opens (Ctrl: the same column one row down, Shift: back). Esc,
// or leaving the editor, keeps the cell as it was.
class CListCtrlComboBox : public QComboBox, public CListCtrlEditBase {
  Q_OBJECT

 public:
  // The texts a row may take; an empty list opens nothing on that row.
  using Choices = std::function<QStringList(int row)>;

  // Edits `column` of `list`: a click on one of its cells opens the editor there.
  CListCtrlComboBox(QTableView* list, int column, Choices choices);
  ~CListCtrlComboBox() override;

  QTableView* list() const { return list_; }

  void Commit() override;
  void ShowAt(int row, int column) override;

  void hidePopup() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The cell, where it shows in the list, in the coordinates of the editor's
  // parent; empty when it is out of sight.
  QRect CellRect() const;
  void FollowCell();
  // Up, Down, Enter, Tab and Esc, before the combo box sees them.
  void HandleKey(const QKeyEvent& key);
  // Hides the editor and leaves the keyboard with the list.
  void Close();
  QString RowName(int row) const;

  QTableView* list_;
  QPointer<CListCtrlMap> map_;
  Choices choices_;
  int row_ = -1;
  int column_ = -1;
  int edit_ = 0;  // counts opens and commits, so that a late cancel finds its own edit
};
