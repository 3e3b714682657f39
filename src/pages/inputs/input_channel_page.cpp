#include "pages/inputs/input_channel_page.h"

CTarvoKSet3Dlg::CTarvoKSet3Dlg(vexa::PageContext /*context*/, QWidget* parent) : QWidget(parent) {}
