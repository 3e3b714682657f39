#pragma once

#include <QObject>
#include <map>

#include "widgets/cell_navigation.h"

class CListCtrlEditBase;
class QTableView;

// Which editor edits which column of one report list. It belongs to the list:
// a click on a cell opens the editor of that cell's column, and so do F2,
// Space, Enter and Alt+Down on the list's current cell; an editor that has
// committed with Enter or Tab asks it to open the next cell.
class CListCtrlMap : public QObject {
  Q_OBJECT

 public:
  // The list's registry, made on first use.
  static CListCtrlMap* Of(QTableView* list);

  void Register(int column, CListCtrlEditBase* editor);
  void Unregister(const CListCtrlEditBase* editor);
  CListCtrlEditBase* EditorFor(int column) const;

  // Opens the editor of the cell at once; a next cell still to open is not.
  void Open(int row, int column);
  // Opens the next cell from (row, column) once the current event has been
  // handled, so that the key that committed never reaches the new cell.
  void OpenNextCell(int row, int column, vexa::CellStep step);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit CListCtrlMap(QTableView* list);

  QTableView* list_;
  std::map<int, CListCtrlEditBase*> editors_;
  int opens_ = 0;  // tells a next cell still queued whether another opened since
};
