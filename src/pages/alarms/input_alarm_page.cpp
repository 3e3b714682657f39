#include "pages/alarms/input_alarm_page.h"

CTarvoKSet5Dlg2::CTarvoKSet5Dlg2(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void CTarvoKSet5Dlg2::AlarmTextReply(const std::string& /*reply*/) {}

void CTarvoKSet5Dlg2::ClearPage() {}
