#pragma once

#include "pages/alarms/alarm_message_panel.h"

// The IN Alarm Message page: the alarm texts of the power source and of digital
// inputs IN01 to IN04. Replies and Clear arrive through AlarmTextReply and ClearPage.
class CTarvoKSet5Dlg2 : public AlarmMessagePanel {
  Q_OBJECT

 public:
  CTarvoKSet5Dlg2(vexa::PageContext context, QWidget* parent);
};
