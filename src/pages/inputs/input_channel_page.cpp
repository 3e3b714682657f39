#include "pages/inputs/input_channel_page.h"

#include <QGridLayout>
#include <QPushButton>
#include <QTableWidget>

#include "pages/page_sender.h"
#include "pages/page_widgets.h"
#include "settings/operation_modes.h"
#include "widgets/list_ctrl_combo_box.h"

namespace {

using vexa::FromLatin1;

// Columns: one kept hidden, the channel names, the modes edited in place.
constexpr int kNameColumn = 1;
constexpr int kModeColumn = 2;
constexpr int kNameWidth = 165;
constexpr int kModeWidth = 260;
constexpr int kRowHeight = 21;
constexpr int kMostRows = 9;  // a logger with a power source

}  // namespace

CTarvoKSet3Dlg::CTarvoKSet3Dlg(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {
  list_ = new QTableWidget(0, 3);
  list_->setAccessibleName("Digital Channels");
  list_->setHorizontalHeaderLabels({"", "Channel List", "Operation Mode"});
  vexa::SetUpReportList(list_, kRowHeight, vexa::kChannelListStripe);
  list_->setColumnHidden(0, true);
  list_->setColumnWidth(kNameColumn, kNameWidth);
  list_->setColumnWidth(kModeColumn, kModeWidth);
  vexa::FitReportList(list_, kNameWidth + kModeWidth, kMostRows);
  new CListCtrlComboBox(list_, kModeColumn, [](int row) {
    return vexa::FromLatin1List(vexa::OperationModeChoices(row));
  });

  QPushButton* set = vexa::NewSetButton("Set Operation Modes");
  connect(set, &QPushButton::clicked, this, [this] {
    if (vexa::CheckReadyForSetup(context_)) SetOperationModes();
  });

  auto* layout = new QGridLayout(this);
  layout->addWidget(list_, 0, 0);
  layout->addWidget(set, 0, 1, Qt::AlignBottom);
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(1, 1);
}

void CTarvoKSet3Dlg::FirstStatusReply() {
  const std::vector<std::string> rows =
      vexa::DigitalChannelRows(context_.exchange.device_context().digital_input_count);
  list_->setRowCount(0);
  list_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < list_->rowCount(); ++row) {
    list_->setItem(row, kNameColumn, new QTableWidgetItem(FromLatin1(rows[row])));
    list_->setItem(row, kModeColumn, new QTableWidgetItem);
  }
}

void CTarvoKSet3Dlg::ReadGroup2Reply(const std::string& reply) {
  if (reply.empty()) return;
  const std::optional<std::string> pa_value = vexa::ReadPaValue(reply);
  if (!pa_value) return;
  context_.command_buffer.Record(
      vexa::DigitalChannelCommands(reply, vexa::SetupPassword(context_)));
  const auto modes = vexa::OperationModesFromPa(*pa_value, list_->rowCount());
  for (int row = 0; row < list_->rowCount(); ++row) {
    if (modes[row]) list_->item(row, kModeColumn)->setText(FromLatin1(*modes[row]));
  }
}

void CTarvoKSet3Dlg::ClearPage() {
  for (int row = 0; row < list_->rowCount(); ++row) list_->item(row, kModeColumn)->setText({});
}

void CTarvoKSet3Dlg::SetOperationModes() {
  const std::optional<std::string> pa_value = vexa::PaValue(ShownModes());
  if (!pa_value) {
    return context_.notifier.Show("Operation Mode setup is incomplete,please check!", "Error",
                                  vexa::MessageIcon::kError);
  }
  vexa::RecordAndSend(context_, vexa::PaCommand(vexa::SetupPassword(context_), *pa_value),
                      vexa::kDigitalChannelCode);
}

std::vector<std::string> CTarvoKSet3Dlg::ShownModes() const {
  std::vector<std::string> modes;
  for (int row = 0; row < list_->rowCount(); ++row) {
    modes.push_back(vexa::Latin1(list_->item(row, kModeColumn)->text()));
  }
  return modes;
}
