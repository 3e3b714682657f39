#pragma once

#include <QWidget>
#include <string>

#include "pages/page_context.h"

// The AD Alarm Message page: the alarm texts of the humidity, analog and temperature
// channels.
class CTarvoKSet5Dlg : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet5Dlg(vexa::PageContext context, QWidget* parent);

  // A reply to an alarm text read; the page acts only on its own rows' codes.
  void AlarmTextReply(const std::string& reply);
  void ClearPage();

 private:
  vexa::PageContext context_;
};
