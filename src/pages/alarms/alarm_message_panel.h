#pragma once

#include <QWidget>
#include <span>
#include <string>
#include <vector>

#include "pages/page_context.h"
#include "settings/alarm_rows.h"

class AlarmMessageRow;

// What both alarm message pages show: their rows under the column headings in
// the "Alarm Message Setup" frame, and the two notes on the "Text Message" switch.
class AlarmMessagePanel : public QWidget {
  Q_OBJECT

 public:
  AlarmMessagePanel(vexa::PageContext context, std::span<const vexa::AlarmRow> rows,
                    QWidget* parent);

  // Fills the row whose read is the command in flight; other replies change nothing.
  void AlarmTextReply(const std::string& reply);
  void ClearPage();

 private:
  vexa::PageContext context_;
  std::vector<AlarmMessageRow*> rows_;
};
