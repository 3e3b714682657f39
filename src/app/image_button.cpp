#include "app/image_button.h"

#include <QIcon>

ImageButton::ImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  QIcon icon;
  icon.addFile(QStringLiteral(":/images/button_normal.png"), QSize(18, 18), QIcon::Normal);
  icon.addFile(QStringLiteral(":/images/button_active.png"), QSize(18, 18), QIcon::Active);
  setIcon(icon);
  setIconSize(QSize(18, 18));
  setAutoDefault(false);
}
