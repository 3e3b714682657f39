#include "batch/batch_page.h"

CBatchInitDlg::CBatchInitDlg(vexa::PageContext /*context*/, QWidget* parent) : QWidget(parent) {}
