#pragma once

#include <QWidget>

#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"

class CSet4;
class QTabBar;

// The phone book's tab control: one tab, "Phone Number ", over the phone
// book page, which it owns.
class CMyTabCtrl1 : public QWidget {
  Q_OBJECT

 public:
  CMyTabCtrl1(vexa::PhoneBookStore& phone_book, vexa::Notifier& notifier,
              QWidget* parent = nullptr);

  QTabBar* tab_bar() const { return tab_bar_; }
  CSet4* page() const { return page_; }

 private:
  QTabBar* tab_bar_;
  CSet4* page_;
};
