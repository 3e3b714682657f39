#pragma once

#include <QWidget>
#include <string>

#include "pages/page_context.h"

// The Data Record page: queries stored records and shows them, or the current
// readings, one row per sample.
class CSet3 : public QWidget {
  Q_OBJECT

 public:
  CSet3(vexa::PageContext context, QWidget* parent);

  // Shows the current readings of a status reply.
  void StatusReply(const std::string& reply);
  // Shows the samples of a reply holding stored records.
  void StoredRecordsReply(const std::string& reply);
  void ClearPage();

 private:
  vexa::PageContext context_;
};
