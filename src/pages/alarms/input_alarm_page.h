#pragma once

#include <QWidget>
#include <string>

#include "pages/page_context.h"

// The IN Alarm Message page: the alarm texts of the power source and the digital inputs.
class CTarvoKSet5Dlg2 : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet5Dlg2(vexa::PageContext context, QWidget* parent);

  // A reply to an alarm text read; the page acts only on its own rows' codes.
  void AlarmTextReply(const std::string& reply);
  void ClearPage();

 private:
  vexa::PageContext context_;
};
