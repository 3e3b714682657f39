#pragma once

#include <QWidget>

#include "pages/page_context.h"

// The Digital Channel page: the digital inputs.
class CTarvoKSet3Dlg : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet3Dlg(vexa::PageContext context, QWidget* parent);
};
