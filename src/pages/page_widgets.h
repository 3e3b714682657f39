#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

class QPushButton;
class QTableView;
class QTableWidget;

// What every page needs of the widget layer, written once.

namespace vexa {

// Texts cross the widget edge in the program's code page, ISO-8859-1; a
// character outside it becomes "?".
std::string Latin1(const QString& text);
QString FromLatin1(std::string_view text);
template <typename Texts>
QStringList FromLatin1List(const Texts& texts) {
  QStringList list;
  for (std::string_view text : texts) list << FromLatin1(text);
  return list;
}

// The icon-only buttons of the pages: Set writes a setting to the logger, Read
// reads one back. `name` says what the button does ("Set Temperature Sensor_3")
// and serves as accessible name and tool tip.
QPushButton* NewSetButton(const QString& name);
QPushButton* NewReadButton(const QString& name);

// The pages' report lists: grid lines, whole rows selected, header sections
// that can be dragged, fixed row height, odd rows drawn on `stripe`, cells not
// edited by the list itself.
inline const QColor kChannelListStripe(230, 235, 235);
void SetUpReportList(QTableView* list, int row_height, const QColor& stripe);
// Sizes a report list to show `rows` rows of columns `inner_width` wide without scrolling.
void FitReportList(QTableWidget* list, int inner_width, int rows);

}  // namespace vexa
