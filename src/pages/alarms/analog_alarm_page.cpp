#include "pages/alarms/analog_alarm_page.h"

CTarvoKSet5Dlg::CTarvoKSet5Dlg(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void CTarvoKSet5Dlg::AlarmTextReply(const std::string& /*reply*/) {}

void CTarvoKSet5Dlg::ClearPage() {}
