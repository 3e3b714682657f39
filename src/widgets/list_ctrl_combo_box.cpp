#include "widgets/list_ctrl_combo_box.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

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
    : QComboBox(list), list_(list), map_(CListCtrlMap::Of(list)), choices_(std::move(choices)) {
  hide();
  setMaxVisibleItems(kVisibleItems);
  map_->Register(column, this);
  // Any pick with the mouse or the wheel, even of the item already shown.
  connect(this, &QComboBox::activated, this, [this] { Commit(); });
  // Over its cell while the list scrolls or moves.
  for (QScrollBar* bar : {list->horizontalScrollBar(), list->verticalScrollBar()}) {
    connect(bar, &QScrollBar::valueChanged, this, &CListCtrlComboBox::FollowCell);
  }
  connect(list->horizontalHeader(), &QHeaderView::sectionResized, this,
          &CListCtrlComboBox::FollowCell);
  list->installEventFilter(this);
  // It shows beside its list but lives no longer than the list.
  connect(list, &QObject::destroyed, this, [this] { delete this; });
}

CListCtrlComboBox::~CListCtrlComboBox() {
  if (map_) map_->Unregister(this);
}

void CListCtrlComboBox::Commit() {
  if (currentIndex() >= 0) {
    list_->model()->setData(list_->model()->index(row_, column_), currentText());
  }
  ++edit_;
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

  ++edit_;
  row_ = row;
  column_ = column;
  // Beside the list rather than inside it, so that screen readers and
  // automation, which see a list's cells only, find the open editor too.
  if (QWidget* host = list_->parentWidget(); host && parentWidget() != host) setParent(host);
  list_->scrollTo(index);
  setGeometry(CellRect());
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
  const bool dropped = view()->isVisible();
  QComboBox::hidePopup();
  if (!dropped) return;
  // A pick is reported just after the list closes; a list closed without one
  // cancels its edit, not one that a click or a key has opened since.
  QMetaObject::invokeMethod(
      this,
      [this, edit = edit_] {
        if (isVisible() && edit == edit_) Close();
      },
      Qt::QueuedConnection);
}

bool CListCtrlComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    FollowCell();
  }
  return QComboBox::eventFilter(watched, event);
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

QRect CListCtrlComboBox::CellRect() const {
  const QWidget* viewport = list_->viewport();
  const QRect cell =
      list_->visualRect(list_->model()->index(row_, column_)).intersected(viewport->rect());
  if (cell.isEmpty()) return {};
  return {viewport->mapTo(parentWidget(), cell.topLeft()), cell.size()};
}

void CListCtrlComboBox::FollowCell() {
  if (!isVisible()) return;
  const QRect cell = CellRect();
  // A cell scrolled out of sight is left, as a click elsewhere would leave it.
  if (cell.isEmpty()) return Close();
  setGeometry(cell);
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
