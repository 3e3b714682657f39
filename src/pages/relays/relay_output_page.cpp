#include "pages/relays/relay_output_page.h"

CTarvoKSet4Dlg::CTarvoKSet4Dlg(vexa::PageContext /*context*/, QWidget* parent) : QWidget(parent) {}
