#include "pages/page_widgets.h"

#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

namespace vexa {
namespace {

constexpr QSize kImageButtonSize(34, 26);

// An arrow, into the logger for Set, out of it for Read.
QIcon ArrowIcon(bool towards_logger) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  if (towards_logger) {
    painter.setBrush(QColor(0x2a, 0x6d, 0xc4));
    painter.drawPolygon(QPolygonF({{2, 6}, {8, 6}, {8, 2}, {14, 8}, {8, 14}, {8, 10}, {2, 10}}));
  } else {
    painter.setBrush(QColor(0x2a, 0x94, 0x4a));
    painter.drawPolygon(QPolygonF({{14, 6}, {8, 6}, {8, 2}, {2, 8}, {8, 14}, {8, 10}, {14, 10}}));
  }
  return QIcon(pixmap);
}

QPushButton* NewImageButton(const QString& name, bool towards_logger) {
  auto* button = new QPushButton(ArrowIcon(towards_logger), QString());
  button->setAccessibleName(name);
  button->setToolTip(name);
  button->setFixedSize(kImageButtonSize);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

std::string Latin1(const QString& text) {
  // By code point: QString::toLatin1 would turn a character beyond the 16-bit
  // range into two "?", which counts twice against a byte limit.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const char32_t c : text.toUcs4()) bytes += c <= 0xFF ? static_cast<char>(c) : '?';
  return bytes;
}

QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* NewSetButton(const QString& name) {
  return NewImageButton(name, true);
}

QPushButton* NewReadButton(const QString& name) {
  return NewImageButton(name, false);
}

void SetUpReportList(QTableView* list, int row_height, const QColor& stripe) {
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->verticalHeader()->hide();
  list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list->verticalHeader()->setDefaultSectionSize(row_height);
  list->horizontalHeader()->setSectionsMovable(true);
  list->horizontalHeader()->setHighlightSections(false);
  list->horizontalHeader()->setStretchLastSection(false);
  list->setAlternatingRowColors(true);
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::AlternateBase, stripe);
  palette.setColor(QPalette::Text, Qt::black);
  list->setPalette(palette);
}

void FitReportList(QTableWidget* list, int inner_width, int rows) {
  const int frame = 2 * list->frameWidth();
  list->setFixedSize(inner_width + frame, list->horizontalHeader()->sizeHint().height() +
                                              rows * list->verticalHeader()->defaultSectionSize() +
                                              frame);
}

}  // namespace vexa
