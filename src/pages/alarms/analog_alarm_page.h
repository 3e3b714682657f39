#pragma once

#include "pages/alarms/alarm_message_panel.h"

// The AD Alarm Message page: the alarm texts of the humidity, analog and
// temperature channels. Replies and Clear arrive through AlarmTextReply and ClearPage.
class CTarvoKSet5Dlg : public AlarmMessagePanel {
  Q_OBJECT

 public:
  CTarvoKSet5Dlg(vexa::PageContext context, QWidget* parent);
};
