#include "widgets/list_ctrl_map.h"

#include <QTableView>

#include "widgets/list_ctrl_edit_base.h"

CListCtrlMap* CListCtrlMap::Of(QTableView* list) {
  auto* map = list->findChild<CListCtrlMap*>(QString(), Qt::FindDirectChildrenOnly);
  return map ? map : new CListCtrlMap(list);
}

CListCtrlMap::CListCtrlMap(QTableView* list) : QObject(list), list_(list) {
  connect(list, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (CListCtrlEditBase* editor = EditorFor(index.column())) {
      editor->ShowAt(index.row(), index.column());
    }
  });
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

void CListCtrlMap::OpenNextCell(int row, int column, vexa::CellStep step) {
  const QAbstractItemModel* model = list_->model();
  const auto next =
      vexa::NextEditableCell({row, column}, step, model->rowCount(), model->columnCount(),
                             [this](int c) { return EditorFor(c) != nullptr; });
  if (!next) return;
  QMetaObject::invokeMethod(
      this,
      [this, cell = *next] {
        if (CListCtrlEditBase* editor = EditorFor(cell.column))
          editor->ShowAt(cell.row, cell.column);
      },
      Qt::QueuedConnection);
}
