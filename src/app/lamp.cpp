#include "app/lamp.h"

#include "app/app_images.h"

Lamp::Lamp(const QString& accessible_name, QWidget* parent)
    : QLabel(parent),
      lit_image_(ResourceImage(QStringLiteral("lamp_lit"))),
      dark_image_(ResourceImage(QStringLiteral("lamp_dark"))) {
  setAccessibleName(accessible_name);
  setFixedSize(15, 15);
  setPixmap(dark_image_);
}

void Lamp::SetLit(bool lit) {
  lit_ = lit;
  setPixmap(lit ? lit_image_ : dark_image_);
  setAccessibleDescription(lit ? QStringLiteral("lit") : QStringLiteral("dark"));
}
