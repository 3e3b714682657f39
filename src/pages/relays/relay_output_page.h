#pragma once

#include <QWidget>

#include "pages/page_context.h"

// The Relay Output page: the relays and their sources.
class CTarvoKSet4Dlg : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet4Dlg(vexa::PageContext context, QWidget* parent);
};
