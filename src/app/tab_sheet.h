#pragma once

#include <QWidget>
#include <functional>

class QTabBar;
class QVBoxLayout;

// The device page sheet: one tab per device page, in the order they were
// added, over the page shown. A page is built the first time it is shown or
// asked for, and only the page shown is in the sheet's layout: the window
// opens without paying for pages nobody has looked at yet.
class CTabSheet : public QWidget {
  Q_OBJECT

 public:
  explicit CTabSheet(QWidget* parent = nullptr);

  // `build` makes the page, as a child of the sheet, when it is first needed.
  void AddPage(const QString& caption, std::function<QWidget*()> build);
  // Shows the page with this index; returns the index shown before, or -1
  // (and changes nothing) when there is no such page.
  int SetActivePage(int index);

  int count() const;
  int currentIndex() const;
  // The page with this index, built now if it was not yet; null for no such page.
  QWidget* widget(int index);
  bool built(int index) const;
  QString tabText(int index) const;
  QTabBar* tabBar() const { return tab_bar_; }

 private:
  void ShowPage(int index);

  QTabBar* tab_bar_;
  QVBoxLayout* pane_layout_;
  struct Page {
    std::function<QWidget*()> build;
    QWidget* widget = nullptr;
  };
  QList<Page> pages_;
  QWidget* shown_ = nullptr;
};
