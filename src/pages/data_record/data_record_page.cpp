#include "pages/data_record/data_record_page.h"

CSet3::CSet3(vexa::PageContext context, QWidget* parent) : QWidget(parent), context_(context) {}

void CSet3::StatusReply(const std::string& /*reply*/) {}

void CSet3::StoredRecordsReply(const std::string& /*reply*/) {}

void CSet3::ClearPage() {}
