#include "app/phone_book_tab.h"

#include "phonebook/phone_book_page.h"

CMyTabCtrl1::CMyTabCtrl1(vexa::PhoneBookStore& phone_book, vexa::Notifier& notifier,
                         QWidget* parent)
    : QTabWidget(parent), page_(new CSet4(phone_book, notifier, this)) {
  setAccessibleName(QStringLiteral("Phone Book"));
  addTab(page_, QStringLiteral("Phone Number "));
}
