#include "pages/analog/analog_channel_page.h"

CTarvoKSet2Dlg1::CTarvoKSet2Dlg1(vexa::PageContext /*context*/, QWidget* parent)
    : QWidget(parent) {}
