#pragma once

#include <QTabWidget>

// The device page sheet: one tab per device page, in the order they were added.
// The pages belong to the main window; the sheet only shows them.
class CTabSheet : public QTabWidget {
  Q_OBJECT

 public:
  explicit CTabSheet(QWidget* parent = nullptr);

  void AddPage(const QString& caption, QWidget* page);
  // Shows the page with this index; returns the index shown before, or -1
  // (and changes nothing) when there is no such page.
  int SetActivePage(int index);
};
