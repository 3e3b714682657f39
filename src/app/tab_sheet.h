#pragma once

#include <QWidget>

class QTabBar;
class QVBoxLayout;

// The device page sheet: one tab per device page, in the order they were
// added, over the page shown. Only that page is in the sheet's layout, so the
// others are neither measured nor laid out until the engineer turns to them:
// the window opens without paying for pages nobody has looked at yet. The
// pages belong to the main window; the sheet only shows them.
class CTabSheet : public QWidget {
  Q_OBJECT

 public:
  explicit CTabSheet(QWidget* parent = nullptr);

  void AddPage(const QString& caption, QWidget* page);
  // Shows the page with this index; returns the index shown before, or -1
  // (and changes nothing) when there is no such page.
  int SetActivePage(int index);

  int count() const;
  int currentIndex() const;
  QWidget* widget(int index) const;
  QString tabText(int index) const;
  QTabBar* tabBar() const { return tab_bar_; }

 private:
  void ShowPage(int index);

  QTabBar* tab_bar_;
  QVBoxLayout* pane_layout_;
  QList<QWidget*> pages_;
  QWidget* shown_ = nullptr;
};
