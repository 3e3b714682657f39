#include "pages/alarms/analog_alarm_page.h"

CTarvoKSet5Dlg::CTarvoKSet5Dlg(vexa::PageContext context, QWidget* parent)
    : AlarmMessagePanel(context, vexa::kAnalogAlarmRows, parent) {}
