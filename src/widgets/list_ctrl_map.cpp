#include "widgets/list_ctrl_map.h"

#include <QKeyEvent>
#include <QTableView>

#include "widgets/list_ctrl_edit_base.h"

namespace {

// The keys that open a cell's editor from the keyboard, as a click does.
bool OpensEditor(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_F2:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    case Qt::Key_Down:
      return key.modifiers() & Qt::AltModifier;
    default:
      return false;
  }
}

}  // namespace

CListCtrlMap* CListCtrlMap::Of(QTableView* list) {
  auto* map = list->findChild<CListCtrlMap*>(QString(), Qt::FindDirectChildrenOnly);
  return map ? map : new CListCtrlMap(list);
}

CListCtrlMap::CListCtrlMap(QTableView* list) : QObject(list), list_(list) {
  connect(list, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& index) { Open(index.row(), index.column()); });
  list->installEventFilter(this);
}

void CListCtrlMap::Register(int column, CListCtrlEditBase* editor) {
  editors_[column] = editor;
}

void CListCtrlMap::Unregister(const CListCtrlEditBase* editor) {
  std::erase_if(editors_, [editor](const auto& entry) { return entry.second == editor; });
}

CListCtrlEditBase* CListCtrlMap::EditorFor(int column) const {
  const auto found = editors_.find(column);
  return found == editors_.end() ? nullptr : found->second;
}

void CListCtrlMap::Open(int row, int column) {
  ++opens_;
  if (CListCtrlEditBase* editor = EditorFor(column)) editor->ShowAt(row, column);
}

bool CListCtrlMap::eventFilter(QObject* watched, QEvent* event) {
  if (watched != list_ || event->type() != QEvent::KeyPress || editors_.empty() ||
      !OpensEditor(*static_cast<QKeyEvent*>(event))) {
    return QObject::eventFilter(watched, event);
  }
  const QModelIndex current = list_->currentIndex();
  if (!current.isValid()) return false;
  // Whole rows are selected, so the cell under the cursor is the row's own
  // editable one when the current column has no editor.
  const int column = EditorFor(current.column()) ? current.column() : editors_.begin()->first;
  Open(current.row(), column);
  return true;
}

void CListCtrlMap::OpenNextCell(int row, int column, vexa::CellStep step) {
  const QAbstractItemModel* model = list_->model();
  const auto next =
      vexa::NextEditableCell({row, column}, step, model->rowCount(), model->columnCount(),
                             [this](int c) { return EditorFor(c) != nullptr; });
  if (!next) return;
  // A click that comes before the move, as under load, keeps its own cell.
  QMetaObject::invokeMethod(
      this,
      [this, cell = *next, open = ++opens_] {
        if (open != opens_) return;
        if (CListCtrlEditBase* editor = EditorFor(cell.column))
          editor->ShowAt(cell.row, cell.column);
      },
      Qt::QueuedConnection);
}
