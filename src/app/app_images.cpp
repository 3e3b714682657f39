#include "app/app_icon.h"

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    icon.addFile(QStringLiteral(":/images/app_icon_%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
