#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>

// Draws each cell of a list in the colour a rule picks from the cell's text,
// so that a text written by the in-place editor is coloured like one read.
class TextColourDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using Rule = std::function<QColor(int column, const QString& text)>;

  TextColourDelegate(Rule rule, QObject* parent);

  QColor TextColour(const QModelIndex& index) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  Rule rule_;
};
