#include "app/tab_sheet.h"

#include <QFrame>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
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

CTabSheet::CTabSheet(QWidget* parent) : QWidget(parent), tab_bar_(new CaptionTabBar) {
  tab_bar_->setElideMode(Qt::ElideNone);
  tab_bar_->setExpanding(false);
  auto* pane = new QFrame;
  pane->setFrameShape(QFrame::StyledPanel);
  pane_layout_ = new QVBoxLayout(pane);
  pane_layout_->setContentsMargins(2, 2, 2, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tab_bar_);
  layout->addWidget(pane, 1);
  connect(tab_bar_, &QTabBar::currentChanged, this, &CTabSheet::ShowPage);
}

void CTabSheet::AddPage(const QString& caption, std::function<QWidget*()> build) {
  pages_.append({std::move(build), nullptr});
  tab_bar_->addTab(caption);  // the first tab added becomes current and shows its page
}

int CTabSheet::SetActivePage(int index) {
  if (index < 0 || index >= count()) return -1;
  const int previous = currentIndex();
  tab_bar_->setCurrentIndex(index);
  return previous;
}

int CTabSheet::count() const {
  return static_cast<int>(pages_.size());
}

int CTabSheet::currentIndex() const {
  return tab_bar_->currentIndex();
}

QWidget* CTabSheet::widget(int index) {
  if (index < 0 || index >= count()) return nullptr;
  Page& page = pages_[index];
  if (page.widget == nullptr) {
    page.widget = page.build();
    if (page.widget->accessibleName().isEmpty())
      page.widget->setAccessibleName(tabText(index).trimmed());
    page.widget->setParent(pane_layout_->parentWidget());
    // It shows when its tab is chosen.
    if (index != currentIndex()) page.widget->hide();
  }
  return page.widget;
}

bool CTabSheet::built(int index) const {
  return index >= 0 && index < count() && pages_[index].widget != nullptr;
}

QString CTabSheet::tabText(int index) const {
  return tab_bar_->tabText(index);
}

void CTabSheet::ShowPage(int index) {
  QWidget* page = widget(index);
  if (page == shown_ || page == nullptr) return;
  if (shown_) {
    pane_layout_->removeWidget(shown_);
    shown_->hide();
  }
  shown_ = page;
  pane_layout_->addWidget(page);
  page->show();
}
