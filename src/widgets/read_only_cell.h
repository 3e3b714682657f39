#pragma once

#include <QTableWidgetItem>

// A list cell that is read and selected, never edited.
inline QTableWidgetItem* NewReadOnlyCell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}
