#pragma once

#include <QWidget>

#include "pages/page_context.h"

// The IN Alarm Message page: the alarm texts of the digital inputs.
class CTarvoKSet5Dlg2 : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet5Dlg2(vexa::PageContext context, QWidget* parent);
};
