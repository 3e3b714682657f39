#include "pages/alarms/alarm_message_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "pages/alarms/alarm_message_row.h"

namespace {

constexpr int kLabelWidth = 210;
constexpr int kTextMessageWidth = 110;
constexpr int kContentWidth = 240;

QLabel* Heading(const QString& text) {
  auto* heading = new QLabel(text);
  heading->setAlignment(Qt::AlignCenter);
  return heading;
}

}  // namespace

AlarmMessagePanel::AlarmMessagePanel(vexa::PageContext context,
                                     std::span<const vexa::AlarmRow> rows, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* frame = new QGroupBox("Alarm Message Setup");
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(3);
  grid->setColumnMinimumWidth(kAlarmLabelColumn, kLabelWidth);
  grid->setColumnMinimumWidth(kAlarmTextMessageColumn, kTextMessageWidth);
  grid->setColumnMinimumWidth(kAlarmContentColumn, kContentWidth);
  grid->setColumnStretch(kAlarmReadColumn + 1, 1);
  grid->addWidget(Heading("Set"), 0, kAlarmSetColumn);
  grid->addWidget(Heading("Text Message"), 0, kAlarmTextMessageColumn);
  grid->addWidget(Heading("Message Content"), 0, kAlarmContentColumn);
  grid->addWidget(Heading("Read"), 0, kAlarmReadColumn);
  for (const vexa::AlarmRow& row : rows) {
    rows_.push_back(
        new AlarmMessageRow(context, row, grid, static_cast<int>(rows_.size()) + 1, this));
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(
      new QLabel("Alarm Text Message will be uploaded when \"Text Message\" is enabled."));
  layout->addWidget(
      new QLabel("Live Data will be uploaded as default when \"Text Message\" is disabled."));
  layout->addStretch();
}

void AlarmMessagePanel::AlarmTextReply(const std::string& reply) {
  const int pending_code = context_.exchange.state().pending_code;
  for (AlarmMessageRow* row : rows_) {
    if (row->AwaitsReply(pending_code)) row->ShowReply(reply);
  }
}

void AlarmMessagePanel::ClearPage() {
  for (AlarmMessageRow* row : rows_) row->Clear();
}
