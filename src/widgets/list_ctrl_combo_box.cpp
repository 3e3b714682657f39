#include "widgets/list_ctrl_combo_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTableView>
#include <algorithm>

#include "widgets/list_ctrl_map.h"

namespace {

// A column this narrow is a hidden one: it is never edited.
constexpr int kNarrowestEditableColumn = 5;
// Rows the dropped list shows before it scrolls.
constexpr int kVisibleItems = 11;

bool IsEnterOrTab(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
         key == Qt::Key_Backtab;
}

}  // namespace

CListCtrlComboBox::CListCtrlComboBox(QTableView* list, int column, Choices choices)
    : QComboBox(list->viewport()),
      list_(list),
      map_(CListCtrlMap::Of(list)),
      choices_(std::move(choices)) {
  hide();
  setMaxVisibleItems(kVisibleItems);
  map_->Register(column, this);
  // Any pick with the mouse or the wheel, even of the item already shown.
  connect(this, &QComboBox::activated, this, [this] { Commit(); });
}

CListCtrlComboBox::~CListCtrlComboBox() {
  if (map_) map_->Unregister(this);
}

void CListCtrlComboBox::Commit() {
  if (currentIndex() >= 0) {
    list_->model()->setData(list_->model()->index(row_, column_), currentText());
  }
  ++commits_;
  Close();
}

void CListCtrlComboBox::ShowAt(int row, int column) {
  const QModelIndex index = list_->model()->index(row, column);
  if (!index.isValid() || list_->isColumnHidden(column) ||
      list_->columnWidth(column) < kNarrowestEditableColumn) {
    return;
  }
  const QStringList items = choices_(row);
  if (items.isEmpty()) return;

  list_->scrollTo(index);
  QRect cell = list_->visualRect(index);
  cell.setRight(std::min(cell.right(), list_->viewport()->width() - 1));
  setGeometry(cell);

  row_ = row;
  column_ = column;
  clear();
  addItems(items);
  const int item = findText(index.data().toString());
  setCurrentIndex(item >= 0 ? item : 0);
  // Named for its column, described by its row: "Operation Mode", "Power Source".
  const QString name = list_->model()->headerData(column, Qt::Horizontal).toString();
  setAccessibleName(name);
  view()->setAccessibleName(name);
  setAccessibleDescription(RowName(row));
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
}

void CListCtrlComboBox::hidePopup() {
  QComboBox::hidePopup();
  // A pick is reported just after the list closes; a list closed without one
  // cancels the edit.
  QMetaObject::invokeMethod(
      this,
      [this, commits = commits_] {
        if (isVisible() && commits == commits_) Close();
      },
      Qt::QueuedConnection);
}

bool CListCtrlComboBox::event(QEvent* event) {
  const bool key_press = event->type() == QEvent::KeyPress;
  if (key_press || event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool ours = IsEnterOrTab(key->key()) || key->key() == Qt::Key_Escape ||
                      ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
                       !(key->modifiers() & Qt::AltModifier));
    if (ours) {
      // Claimed before a shortcut of the window or the dialog's Esc can take it.
      event->accept();
      if (key_press) HandleKey(*key);
      return true;
    }
  }
  return QComboBox::event(event);
}

void CListCtrlComboBox::HandleKey(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Up:
      if (currentIndex() > 0) setCurrentIndex(currentIndex() - 1);
      return;
    case Qt::Key_Down:
      if (currentIndex() + 1 < count()) setCurrentIndex(currentIndex() + 1);
      return;
    case Qt::Key_Escape:
      Close();
      return;
    default:
      break;
  }
  const int row = row_;
  const int column = column_;
  Commit();
  vexa::CellStep step = vexa::CellStep::kForward;
  if (key.modifiers() & Qt::ControlModifier) {
    step = vexa::CellStep::kNextRow;
  } else if (key.modifiers() & Qt::ShiftModifier || key.key() == Qt::Key_Backtab) {
    step = vexa::CellStep::kBack;
  }
  if (map_) map_->OpenNextCell(row, column, step);
  list_->clearSelection();
}

void CListCtrlComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // The dropped list takes the focus while it is open; any other departure closes.
  if (event->reason() != Qt::PopupFocusReason && !view()->isVisible()) hide();
}

void CListCtrlComboBox::Close() {
  if (!isVisible()) return;
  // The keyboard stays in the list rather than wandering to the next control.
  if (hasFocus()) list_->setFocus(Qt::OtherFocusReason);
  hide();
}

// The row as the engineer reads it: the first visible cell beside the edited one.
QString CListCtrlComboBox::RowName(int row) const {
  for (int column = 0; column < list_->model()->columnCount(); ++column) {
    if (column == column_ || list_->isColumnHidden(column) || list_->columnWidth(column) == 0) {
      continue;
    }
    const QString text = list_->model()->index(row, column).data().toString();
    if (!text.isEmpty()) return text;
  }
  return QString();
}
