#include "pages/data_record/data_record_page.h"

CSet3::CSet3(vexa::PageContext /*context*/, QWidget* parent) : QWidget(parent) {}
