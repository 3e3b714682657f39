#pragma once

#include <QWidget>

// A round status lamp: grey when off, green when on.
class StatusLamp : public QWidget {
  Q_OBJECT

 public:
  explicit StatusLamp(QWidget* parent = nullptr);

  bool lit() const { return lit_; }
  void SetLit(bool lit);

  QSize sizeHint() const override { return {18, 18}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool lit_ = false;
};
