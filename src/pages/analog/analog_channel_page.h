#pragma once

#include <QWidget>

#include "pages/page_context.h"

// The Analog Channel page: analog and temperature inputs.
class CTarvoKSet2Dlg1 : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet2Dlg1(vexa::PageContext context, QWidget* parent);
};
