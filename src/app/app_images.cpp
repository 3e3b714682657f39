#include "app/app_images.h"

#include <QImageReader>

QPixmap ResourceImage(const QString& name) {
  QImageReader reader(QStringLiteral(":/images/%1.png").arg(name), "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48})
    icon.addPixmap(ResourceImage(QStringLiteral("app_icon_%1").arg(size)));
  return icon;
}
