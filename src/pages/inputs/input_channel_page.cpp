#include "pages/inputs/input_channel_page.h"

CTarvoKSet3Dlg::CTarvoKSet3Dlg(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void CTarvoKSet3Dlg::FirstStatusReply() {}

void CTarvoKSet3Dlg::ReadGroup2Reply(const std::string& /*reply*/) {}

void CTarvoKSet3Dlg::ClearPage() {}
