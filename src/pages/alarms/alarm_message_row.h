#pragma once

#include <QObject>
#include <string>

#include "pages/page_context.h"
#include "settings/alarm_rows.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;

// Columns of the alarm message grid; the page's headings stand above them.
inline constexpr int kAlarmSetColumn = 0;
inline constexpr int kAlarmLabelColumn = 1;
inline constexpr int kAlarmTextMessageColumn = 2;
inline constexpr int kAlarmContentColumn = 3;
inline constexpr int kAlarmReadColumn = 4;

// One alarm source on an alarm message page: Set button, label, "Text
// Message" box, "Message Content" field and Read button, in one line of a grid.
class AlarmMessageRow : public QObject {
  Q_OBJECT

 public:
  AlarmMessageRow(vexa::PageContext context, const vexa::AlarmRow& row, QGridLayout* grid,
                  int grid_row, QObject* parent);

  // True when the command in flight is this row's read.
  bool AwaitsReply(int pending_code) const;
  void ShowReply(const std::string& reply);
  void Clear();

 private:
  void Set();
  void Read();

  vexa::PageContext context_;
  const vexa::AlarmRow& row_;
  QCheckBox* text_message_ = nullptr;
  QLineEdit* content_ = nullptr;
};
