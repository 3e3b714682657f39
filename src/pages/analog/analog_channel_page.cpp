#include "pages/analog/analog_channel_page.h"

CTarvoKSet2Dlg1::CTarvoKSet2Dlg1(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void CTarvoKSet2Dlg1::FirstStatusReply() {}

void CTarvoKSet2Dlg1::ReadGroup2Reply(const std::string& /*reply*/) {}

void CTarvoKSet2Dlg1::CalibrationReply(const std::string& /*reply*/) {}

void CTarvoKSet2Dlg1::ClearPage() {}
