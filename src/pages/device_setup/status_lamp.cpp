#include "pages/device_setup/status_lamp.h"

#include <QPainter>

StatusLamp::StatusLamp(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  setAccessibleDescription("off");
}

void StatusLamp::SetLit(bool lit) {
  lit_ = lit;
  setAccessibleDescription(lit ? "on" : "off");
  update();
}

void StatusLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor fill = lit_ ? QColor(0x20, 0xc0, 0x30) : QColor(0xa8, 0xa8, 0xa8);
  QRadialGradient shine(QPointF(width() * 0.35, height() * 0.35), width() * 0.7);
  shine.setColorAt(0, fill.lighter(160));
  shine.setColorAt(1, fill);
  painter.setBrush(shine);
  painter.setPen(QPen(fill.darker(170), 1));
  painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}
