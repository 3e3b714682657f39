#include "pages/alarms/alarm_message_row.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "pages/page_sender.h"
#include "pages/page_widgets.h"
#include "settings/alarm_message.h"

AlarmMessageRow::AlarmMessageRow(vexa::PageContext context, const vexa::AlarmRow& row,
                                 QGridLayout* grid, int grid_row, QObject* parent)
    : QObject(parent), context_(context), row_(row) {
  const QString label = QString::fromLatin1(row.label);

  QPushButton* set = vexa::NewSetButton("Set " + label);
  set->setAccessibleDescription("Writes the alarm text message setting to the logger");
  connect(set, &QPushButton::clicked, this, &AlarmMessageRow::Set);

  text_message_ = new QCheckBox;
  text_message_->setAccessibleName(label + " Text Message");
  text_message_->setAccessibleDescription("Send the alarm text message for this channel");

  content_ = new QLineEdit;
  content_->setAccessibleName(label + " Message Content");
  content_->setAccessibleDescription("The alarm text, at most 14 characters");

  QPushButton* read = vexa::NewReadButton("Read " + label);
  read->setAccessibleDescription("Reads the alarm text message setting from the logger");
  connect(read, &QPushButton::clicked, this, &AlarmMessageRow::Read);

  grid->addWidget(set, grid_row, kAlarmSetColumn);
  grid->addWidget(new QLabel(label), grid_row, kAlarmLabelColumn);
  grid->addWidget(text_message_, grid_row, kAlarmTextMessageColumn, Qt::AlignCenter);
  grid->addWidget(content_, grid_row, kAlarmContentColumn);
  grid->addWidget(read, grid_row, kAlarmReadColumn);
}

bool AlarmMessageRow::AwaitsReply(int pending_code) const {
  return pending_code == vexa::AlarmReadCode(row_);
}

void AlarmMessageRow::ShowReply(const std::string& reply) {
  if (reply.empty()) return;
  const vexa::AlarmReplyView view = vexa::ReadAlarmReply(row_, reply);
  if (view.text_message) text_message_->setChecked(*view.text_message);
  content_->setText(vexa::FromLatin1(view.content));
}

void AlarmMessageRow::Clear() {
  content_->clear();
  if (row_.clear_unchecks) text_message_->setChecked(false);
}

void AlarmMessageRow::Set() {
  if (!vexa::CheckReadyForSetup(context_, vexa::MissingFieldWording::kEmpty)) return;
  const bool text_message = text_message_->isChecked();
  const std::string content = vexa::Latin1(content_->text());
  if (const auto error = vexa::AlarmContentError(row_, text_message, content)) {
    return context_.notifier.Show(*error, "Error", vexa::MessageIcon::kError);
  }
  const std::string password = context_.phone_book.GetCurrentDevice().setup_password;
  vexa::RecordAndSend(context_, vexa::AlarmSetCommand(row_, password, text_message, content),
                      vexa::AlarmSetCode(row_));
}

void AlarmMessageRow::Read() {
  if (!vexa::CheckReadyForSetup(context_, vexa::MissingFieldWording::kEmpty)) return;
  const std::string password = context_.phone_book.GetCurrentDevice().enquiry_password;
  context_.exchange.SendCommand(vexa::AlarmReadCommand(row_, password), vexa::AlarmReadCode(row_));
}
