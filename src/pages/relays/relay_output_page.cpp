#include "pages/relays/relay_output_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <algorithm>

#include "pages/page_sender.h"
#include "pages/page_widgets.h"
#include "pages/relays/text_colour_delegate.h"
#include "settings/relay_settings.h"
#include "widgets/leave_check.h"
#include "widgets/list_ctrl_combo_box.h"

namespace {

using vexa::FromLatin1;
using vexa::Latin1;

constexpr int kNameColumn = 1;
constexpr int kFirstRelayColumn = 2;  // relay k in column k + 1
constexpr int kRowHeight = 18;

// The matrix: its inner width shares out among the relay columns.
constexpr int kMatrixNameWidth = 130;
constexpr int kMatrixInnerWidth = 455;
constexpr int kNameShare = 135;
// The relay columns the matrix has even for a logger that reports fewer relays.
constexpr int kTemplateRelays = 2;
constexpr int kTemplateRelayWidth = 160;
constexpr int kStateRow = 0;
constexpr int kTimeLapseRow = 1;
constexpr int kFirstSourceRow = 2;

// The associations list: source names and their "Relay Control" cells.
constexpr int kSourceNameWidth = 135;
constexpr int kControlColumn = 2;
constexpr int kControlWidth = 125;
constexpr int kTimeLapseLength = 4;

constexpr char kNoRelay[] = "Relay Channel_No. is empty!";
const QColor kGrey(128, 128, 128);

QString RelayName(int relay) {
  return QString("Relay_%1").arg(relay);
}

// A report list that shows `rows` rows of its columns without scrolling.
QTableWidget* NewReportList(const QString& name, int rows, int inner_width) {
  auto* list = new QTableWidget(0, 3);
  list->setAccessibleName(name);
  vexa::SetUpReportList(list, kRowHeight, vexa::kChannelListStripe);
  list->setColumnHidden(0, true);
  vexa::FitReportList(list, inner_width, rows);
  return list;
}

QTableWidgetItem* NewCell(const QString& text = {}) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

}  // namespace

CTarvoKSet4Dlg::CTarvoKSet4Dlg(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(BuildMatrix(), 0, Qt::AlignTop);
  layout->addSpacing(16);
  layout->addWidget(BuildRelayControls(), 0, Qt::AlignTop);
  layout->addStretch(1);
  ShowSelectedRelay();
}

QWidget* CTarvoKSet4Dlg::BuildMatrix() {
  auto* block = new QWidget;
  auto* layout = new QVBoxLayout(block);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel("Current status:"));
  matrix_ =
      NewReportList("Current status", kFirstSourceRow + vexa::kAlarmSourceCount, kMatrixInnerWidth);
  matrix_->setColumnCount(kFirstRelayColumn + kTemplateRelays);
  matrix_->setHorizontalHeaderLabels({"", "Channel List", RelayName(1), RelayName(2)});
  matrix_->setColumnWidth(kNameColumn, kMatrixNameWidth);
  for (int column = kFirstRelayColumn; column < matrix_->columnCount(); ++column) {
    matrix_->setColumnWidth(column, kTemplateRelayWidth);
  }
  // A relay cell that reads 0 is greyed.
  matrix_->setItemDelegate(new TextColourDelegate(
      [](int column, const QString& text) {
        return column >= kFirstRelayColumn && text == "0" ? kGrey : QColor(Qt::black);
      },
      matrix_));
  layout->addWidget(matrix_);
  return block;
}

QWidget* CTarvoKSet4Dlg::BuildRelayControls() {
  auto* block = new QWidget;
  auto* grid = new QGridLayout(block);
  grid->setContentsMargins(0, 0, 0, 0);

  relay_selector_ = new QComboBox;
  relay_selector_->setAccessibleName("Relay Channel No.");
  relay_selector_->addItems({RelayName(1), RelayName(2)});
  relay_selector_->setCurrentIndex(-1);
  connect(relay_selector_, &QComboBox::activated, this, &CTarvoKSet4Dlg::ShowSelectedRelay);
  grid->addWidget(new QLabel("Relay Channel No."), 0, 0);
  grid->addWidget(relay_selector_, 0, 1);

  on_off_ = new QComboBox;
  on_off_->setAccessibleName("Turn On/Off");
  on_off_->addItems({"On", "Off"});
  on_off_->setCurrentIndex(-1);
  QPushButton* turn = vexa::NewSetButton("Set Turn On/Off");
  connect(turn, &QPushButton::clicked, this, &CTarvoKSet4Dlg::TurnOnOff);
  grid->addWidget(new QLabel("Turn On/Off"), 1, 0);
  grid->addWidget(on_off_, 1, 1);
  grid->addWidget(turn, 1, 2);

  time_lapse_ = new QLineEdit;
  time_lapse_->setAccessibleName("Time Lapse(Seconds)");
  time_lapse_->setMaxLength(kTimeLapseLength);
  time_lapse_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
  vexa::CheckOnLeave(time_lapse_, [this] {
    time_lapse_->setText(FromLatin1(vexa::PaddedTimeLapse(Latin1(time_lapse_->text()))));
  });
  QPushButton* set_time_lapse = vexa::NewSetButton("Set Time Lapse");
  connect(set_time_lapse, &QPushButton::clicked, this, &CTarvoKSet4Dlg::SetTimeLapse);
  grid->addWidget(new QLabel("Time Lapse(Seconds)"), 2, 0);
  grid->addWidget(time_lapse_, 2, 1);
  grid->addWidget(set_time_lapse, 2, 2);

  grid->addItem(new QSpacerItem(0, 12), 3, 0);
  grid->addWidget(new QLabel("Associated Alarms"), 4, 0, 1, 2);
  associations_ = NewReportList("Associated Alarms", static_cast<int>(vexa::kAlarmSourceCount),
                                kSourceNameWidth + kControlWidth);
  associations_->setHorizontalHeaderLabels({"", "Channel List", "Relay Control"});
  associations_->setColumnWidth(kNameColumn, kSourceNameWidth);
  associations_->setColumnWidth(kControlColumn, kControlWidth);
  // "On" stands out in red; everything else the relay ignores is grey.
  associations_->setItemDelegate(new TextColourDelegate(
      [](int column, const QString& text) {
        if (column != kControlColumn) return QColor(Qt::black);
        return text == "On" ? QColor(Qt::red) : kGrey;
      },
      associations_));
  new CListCtrlComboBox(associations_, kControlColumn, [](int) {
    return QStringList{"On", "Off"};
  });
  QPushButton* set_alarms = vexa::NewSetButton("Set Associated Alarms");
  connect(set_alarms, &QPushButton::clicked, this, &CTarvoKSet4Dlg::SetAssociatedAlarms);
  grid->addWidget(associations_, 5, 0, 1, 2);
  grid->addWidget(set_alarms, 5, 2, Qt::AlignBottom);
  return block;
}

void CTarvoKSet4Dlg::FirstStatusReply() {
  const int relays = std::max(context_.exchange.device_context().relay_count, kTemplateRelays);
  QStringList headers = {"", "Channel List"};
  QStringList names;
  for (int relay = 1; relay <= relays; ++relay) names << RelayName(relay);
  matrix_->setRowCount(0);
  matrix_->setColumnCount(kFirstRelayColumn + relays);
  matrix_->setHorizontalHeaderLabels(headers + names);
  relay_selector_->clear();
  relay_selector_->addItems(names);
  relay_selector_->setCurrentIndex(-1);
  ShowSelectedRelay();

  // Shared by the relay columns present, so that a logger reporting no relay
  // divides by the two columns it still shows.
  for (int relay = 1; relay <= relays; ++relay) {
    matrix_->setColumnWidth(relay + 1, (kMatrixInnerWidth - kNameShare) / relays);
  }

  QStringList rows = {"Operation Mode", "Time Lapse"};
  for (std::string_view source : vexa::kAlarmSources) rows << FromLatin1(std::string(source));
  matrix_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < matrix_->rowCount(); ++row) {
    matrix_->setItem(row, kNameColumn, new QTableWidgetItem(rows[row]));
    for (int relay = 1; relay <= relays; ++relay) matrix_->setItem(row, relay + 1, NewCell());
  }
  associations_->setRowCount(0);
  associations_->setRowCount(static_cast<int>(vexa::kAlarmSourceCount));
  for (int row = 0; row < associations_->rowCount(); ++row) {
    associations_->setItem(row, kNameColumn, new QTableWidgetItem(rows[row + kFirstSourceRow]));
    associations_->setItem(row, kControlColumn, NewCell());
  }
}

void CTarvoKSet4Dlg::LaterStatusReply(const std::string& reply) {
  const auto states = vexa::ReadRelayStates(reply);
  for (int relay = 1; relay <= static_cast<int>(states.size()); ++relay) {
    const std::optional<char> state = states[relay - 1];
    if (!state) continue;
    ShowInMatrix(kStateRow, relay, std::string(1, *state));
  }
  context_.command_buffer.Record(vexa::RelayStateCommands(reply, vexa::SetupPassword(context_)));
}

void CTarvoKSet4Dlg::ReadGroup1Reply(const std::string& reply) {
  const int relays = context_.exchange.device_context().relay_count;
  const auto time_lapses = vexa::ReadTimeLapses(reply, relays);
  for (int relay = 1; relay <= static_cast<int>(time_lapses.size()); ++relay) {
    const std::optional<std::string>& time_lapse = time_lapses[relay - 1];
    if (time_lapse) ShowInMatrix(kTimeLapseRow, relay, *time_lapse);
  }
  context_.command_buffer.Record(
      vexa::TimeLapseCommands(reply, vexa::SetupPassword(context_), relays));
}

void CTarvoKSet4Dlg::ReadGroup3Reply(const std::string& reply) {
  const int relays = context_.exchange.device_context().relay_count;
  const auto values = vexa::ReadAssociations(reply, relays);
  context_.command_buffer.Record(
      vexa::AssociationCommands(reply, vexa::SetupPassword(context_), relays));
  for (int relay = 1; relay <= static_cast<int>(values.size()); ++relay) {
    const std::optional<std::string>& value = values[relay - 1];
    if (!value) continue;
    association_values_[relay] = *value;
    const auto bits = vexa::AssociationBits(*value);
    for (std::size_t source = 0; source < bits.size(); ++source) {
      if (bits[source]) {
        ShowInMatrix(kFirstSourceRow + static_cast<int>(source), relay,
                     std::string(1, *bits[source]));
      }
    }
  }
}

void CTarvoKSet4Dlg::ClearPage() {
  for (int row = 0; row < matrix_->rowCount(); ++row) {
    for (int column = kFirstRelayColumn; column < matrix_->columnCount(); ++column) {
      matrix_->item(row, column)->setText({});
    }
  }
  for (int row = 0; row < associations_->rowCount(); ++row) {
    associations_->item(row, kControlColumn)->setText({});
  }
  time_lapse_->clear();
  relay_selector_->setCurrentIndex(-1);
  on_off_->setCurrentIndex(-1);
  ShowSelectedRelay();
}

void CTarvoKSet4Dlg::ShowSelectedRelay() {
  const int relay = SelectedRelay();
  for (QWidget* control : {static_cast<QWidget*>(on_off_), static_cast<QWidget*>(time_lapse_),
                           static_cast<QWidget*>(associations_)}) {
    control->setEnabled(relay > 0);
  }
  if (relay == 0) return;
  const QString state = MatrixText(kStateRow, relay);
  on_off_->setCurrentIndex(state == "1" ? 0 : state == "0" ? 1 : -1);
  time_lapse_->setText(MatrixText(kTimeLapseRow, relay));
  const auto stored = association_values_.find(relay);
  const std::string value = stored == association_values_.end() ? "" : stored->second;
  for (int row = 0; row < associations_->rowCount(); ++row) {
    associations_->item(row, kControlColumn)
        ->setText(FromLatin1(vexa::AssociationText(value, row)));
  }
}

int CTarvoKSet4Dlg::SelectedRelay() const {
  return relay_selector_->currentIndex() + 1;
}

int CTarvoKSet4Dlg::ReadyRelay() {
  if (!vexa::CheckReadyForSetup(context_, vexa::MissingFieldWording::kEmpty)) return 0;
  if (SelectedRelay() == 0) context_.notifier.Show(kNoRelay, "Error", vexa::MessageIcon::kError);
  return SelectedRelay();
}

void CTarvoKSet4Dlg::TurnOnOff() {
  const int relay = ReadyRelay();
  if (relay == 0 || on_off_->currentIndex() < 0) return;
  const char state = on_off_->currentText() == "On" ? '1' : '0';
  vexa::RecordAndSend(context_,
                      vexa::RelayStateCommand(vexa::SetupPassword(context_), relay, state),
                      vexa::kRelayStateCode, vexa::RelayRecordCode(vexa::kRelayStateCode, relay));
}

void CTarvoKSet4Dlg::SetTimeLapse() {
  const int relay = ReadyRelay();
  if (relay == 0 || time_lapse_->text().isEmpty()) return;
  vexa::RecordAndSend(
      context_,
      vexa::TimeLapseCommand(vexa::SetupPassword(context_), relay, Latin1(time_lapse_->text())),
      vexa::kRelayTimeLapseCode, vexa::RelayRecordCode(vexa::kRelayTimeLapseCode, relay));
}

void CTarvoKSet4Dlg::SetAssociatedAlarms() {
  const int relay = ReadyRelay();
  if (relay == 0) return;
  std::vector<std::string> texts;
  for (int row = 0; row < associations_->rowCount(); ++row) {
    texts.push_back(Latin1(associations_->item(row, kControlColumn)->text()));
  }
  vexa::RecordAndSend(
      context_,
      vexa::AssociationCommand(vexa::SetupPassword(context_), relay, vexa::AssociationValue(texts)),
      vexa::kRelayAlarmsCode, vexa::RelayRecordCode(vexa::kRelayAlarmsCode, relay));
}

void CTarvoKSet4Dlg::ShowInMatrix(int row, int relay, const std::string& text) {
  if (QTableWidgetItem* cell = matrix_->item(row, relay + 1)) cell->setText(FromLatin1(text));
}

QString CTarvoKSet4Dlg::MatrixText(int row, int relay) const {
  const QTableWidgetItem* cell = matrix_->item(row, relay + 1);
  return cell ? cell->text() : QString();
}
