#include "app/image_button.h"

#include <QIcon>

#include "app/app_images.h"

ImageButton::ImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  QIcon icon;
  icon.addPixmap(ResourceImage(QStringLiteral("button_normal")), QIcon::Normal);
  icon.addPixmap(ResourceImage(QStringLiteral("button_active")), QIcon::Active);
  setIcon(icon);
  setIconSize(QSize(18, 18));
  setAutoDefault(false);
}
