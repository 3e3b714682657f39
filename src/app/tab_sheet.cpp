#include "app/tab_sheet.h"

#include <QStyle>
#include <QTabBar>
#include <algorithm>

namespace {

// The captions carry their own blanks for padding, so a tab is only as wide
// as its caption needs: all eight pages fit on one row.
class CaptionTabBar : public QTabBar {
 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    const QString caption = tabText(index);
    const int style_padding = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, this);
    size.setWidth(std::max(fontMetrics().horizontalAdvance(caption) + 12,
                           fontMetrics().horizontalAdvance(caption.trimmed()) + style_padding + 4));
    return size;
  }
  QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

}  // namespace

CTabSheet::CTabSheet(QWidget* parent) : QTabWidget(parent) {
  setTabBar(new CaptionTabBar);
  tabBar()->setElideMode(Qt::ElideNone);
}

void CTabSheet::AddPage(const QString& caption, QWidget* page) {
  if (page->accessibleName().isEmpty()) page->setAccessibleName(caption.trimmed());
  addTab(page, caption);
}

int CTabSheet::SetActivePage(int index) {
  if (index < 0 || index >= count()) return -1;
  const int previous = currentIndex();
  setCurrentIndex(index);
  return previous;
}
