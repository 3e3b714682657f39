#pragma once

#include <QLabel>
#include <QPixmap>

// A 15 x 15 indicator: a green disc when lit, a grey one when dark.
class Lamp : public QLabel {
  Q_OBJECT

 public:
  Lamp(const QString& accessible_name, QWidget* parent = nullptr);

  void SetLit(bool lit);
  bool lit() const { return lit_; }

 private:
  QPixmap lit_image_;
  QPixmap dark_image_;
  bool lit_ = false;
};
