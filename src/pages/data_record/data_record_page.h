#pragma once

#include <QWidget>

#include "pages/page_context.h"

// The Data Record page: the query of stored records.
class CSet3 : public QWidget {
  Q_OBJECT

 public:
  CSet3(vexa::PageContext context, QWidget* parent);
};
