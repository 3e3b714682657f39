#include "pages/alarms/input_alarm_page.h"

CTarvoKSet5Dlg2::CTarvoKSet5Dlg2(vexa::PageContext context, QWidget* parent)
    : AlarmMessagePanel(context, vexa::kInputAlarmRows, parent) {}
