#include "app/phone_book_tab.h"

#include <QFrame>
#include <QTabBar>
#include <QVBoxLayout>

#include "phonebook/phone_book_page.h"

// A plain layout rather than a tab widget: a tab widget places its page only
// after the page was first shown, and the page sizes its list when it shows.
CMyTabCtrl1::CMyTabCtrl1(vexa::PhoneBookStore& phone_book, vexa::Notifier& notifier,
                         QWidget* parent)
    : QWidget(parent), tab_bar_(new QTabBar), page_(new CSet4(phone_book, notifier)) {
  setAccessibleName(QStringLiteral("Phone Book"));
  tab_bar_->setAccessibleName(QStringLiteral("Phone Book"));
  tab_bar_->addTab(QStringLiteral("Phone Number "));
  auto* pane = new QFrame;
  pane->setFrameShape(QFrame::StyledPanel);
  auto* pane_layout = new QVBoxLayout(pane);
  pane_layout->addWidget(page_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tab_bar_, 0, Qt::AlignLeft);
  layout->addWidget(pane, 1);
}
