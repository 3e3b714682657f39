#pragma once

#include <QTabWidget>

#include "link/notifier.h"
#include "phonebook/phone_book_store.h"

class CSet4;

// The phone book's tab control: one tab, "Phone Number ", holding the phone
// book page, which it owns.
class CMyTabCtrl1 : public QTabWidget {
  Q_OBJECT

 public:
  CMyTabCtrl1(vexa::PhoneBookStore& phone_book, vexa::Notifier& notifier,
              QWidget* parent = nullptr);

  CSet4* page() const { return page_; }

 private:
  CSet4* page_;
};
