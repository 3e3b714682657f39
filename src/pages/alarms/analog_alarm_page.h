#pragma once

#include <QWidget>

#include "pages/page_context.h"

// The AD Alarm Message page: the alarm texts of the analog channels.
class CTarvoKSet5Dlg : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet5Dlg(vexa::PageContext context, QWidget* parent);
};
