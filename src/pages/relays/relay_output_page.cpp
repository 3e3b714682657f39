#include "pages/relays/relay_output_page.h"

CTarvoKSet4Dlg::CTarvoKSet4Dlg(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void CTarvoKSet4Dlg::FirstStatusReply() {}

void CTarvoKSet4Dlg::ReadGroup1Reply(const std::string& /*reply*/) {}

void CTarvoKSet4Dlg::ReadGroup3Reply(const std::string& /*reply*/) {}

void CTarvoKSet4Dlg::LaterStatusReply(const std::string& /*reply*/) {}

void CTarvoKSet4Dlg::ClearPage() {}
