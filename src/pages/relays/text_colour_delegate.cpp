#include "pages/relays/text_colour_delegate.h"

TextColourDelegate::TextColourDelegate(Rule rule, QObject* parent)
    : QStyledItemDelegate(parent), rule_(std::move(rule)) {}

QColor TextColourDelegate::TextColour(const QModelIndex& index) const {
  return rule_(index.column(), index.data().toString());
}

void TextColourDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  // A disabled list keeps the style's disabled look.
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    option->palette.setColor(group, QPalette::Text, TextColour(index));
  }
}
