#include "batch/batch_page.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <ctime>

#include "batch/config_file.h"
#include "batch/status_colour.h"
#include "link/local_time.h"
#include "pages/csv_file.h"
#include "pages/file_dialogs.h"
#include "pages/page_widgets.h"

namespace {

using vexa::FromLatin1;
using vexa::Latin1;

enum Column {
  kNumberColumn,
  kStatusColumn,
  kCommandColumn,  // hidden: the text that is sent and saved
  kCodeColumn,     // hidden
  kObjectColumn,
  kParametersColumn,
  kColumnCount,
};

constexpr int kNumberWidth = 100;
constexpr int kStatusWidth = 200;
// Narrower from the 32nd row on, when the vertical scroll bar takes its room;
// wide again once fewer than 30 rows are left.
constexpr int kStatusWidthWithScrollBar = 185;
constexpr int kNarrowStatusAbove = 31;
constexpr int kWideStatusBelow = 30;
constexpr int kObjectWidth = 240;
constexpr int kRowHeight = 20;
const QColor kRowStripe(230, 234, 235);
constexpr int kWatchMs = 500;
const QString kConfigFilter = QStringLiteral("cfg Files(*.cfg)");

std::string FilePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(FromLatin1(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

QPushButton* Button(const QString& text) {
  auto* button = new QPushButton(text);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CBatchInitDlg::CBatchInitDlg(vexa::PageContext context, vexa::ReadAll& read_all, QWidget* parent)
    : QWidget(parent),
      context_(context),
      setup_(context.exchange, context.command_buffer, context.phone_book, context.port,
             context.notifier, read_all, *this, [this](std::function<void()> task) {
               QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
             }) {
  list_ = new QTableWidget(0, kColumnCount);
  list_->setAccessibleName(QStringLiteral("Batch commands"));
  vexa::SetUpReportList(list_, kRowHeight, kRowStripe);
  list_->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("Status"), QString(),
                                    QString(), QStringLiteral("Object"),
                                    QStringLiteral("Parameters")});
  list_->setColumnHidden(kCommandColumn, true);
  list_->setColumnHidden(kCodeColumn, true);
  list_->setColumnWidth(kNumberColumn, kNumberWidth);
  list_->setColumnWidth(kStatusColumn, kStatusWidth);
  list_->setColumnWidth(kObjectColumn, kObjectWidth);
  // Parameters takes the rest of the width.
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QTableWidget::cellChanged, this, &CBatchInitDlg::OnItemChanged);
  connect(list_, &QWidget::customContextMenuRequested, this, &CBatchInitDlg::OnListContextMenu);

  row_menu_ = new QMenu(this);
  connect(row_menu_->addAction(QStringLiteral("Delete")), &QAction::triggered, this,
          &CBatchInitDlg::DeleteSelectedRows);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(BuildButtons());

  watch_timer_.setInterval(kWatchMs);
  connect(&watch_timer_, &QTimer::timeout, this, &CBatchInitDlg::WatchButtons);
  RunChanged();
}

CBatchInitDlg::~CBatchInitDlg() = default;

QWidget* CBatchInitDlg::BuildButtons() {
  file_button_ = Button(QStringLiteral("File"));
  file_menu_ = new QMenu(file_button_);
  connect(file_menu_->addAction(QStringLiteral("Open Configure File")), &QAction::triggered, this,
          &CBatchInitDlg::ChooseConfigFileToOpen);
  file_menu_->addSeparator();
  connect(file_menu_->addAction(QStringLiteral("Save Configure File")), &QAction::triggered, this,
          &CBatchInitDlg::ChooseConfigFileToSave);
  file_button_->setMenu(file_menu_);

  select_all_button_ = Button(QStringLiteral("Select All"));
  deselect_all_button_ = Button(QStringLiteral("Deselect All"));
  buffer_clear_button_ = Button(QStringLiteral("Buffer Clear"));
  batch_setup_button_ = Button(QStringLiteral("Batch Setup"));
  auto_station_id_ = new QCheckBox(QStringLiteral("Auto Station ID"));
  auto_station_id_->setToolTip(
      QStringLiteral("Each run sends the station ID command with the next number"));
  summary_ = new QLabel;
  summary_->setAccessibleDescription(QStringLiteral("Result of the last batch"));
  save_report_button_ = Button(QStringLiteral("Save Report..."));
  save_report_button_->setToolTip(QStringLiteral("Save the last batch's results as a CSV file"));

  connect(select_all_button_, &QPushButton::clicked, this, [this] { setup_.SetAllChecked(true); });
  connect(deselect_all_button_, &QPushButton::clicked, this,
          [this] { setup_.SetAllChecked(false); });
  connect(buffer_clear_button_, &QPushButton::clicked, this, [this] {
    setup_.ClearList();
    SetStatusWidth(kStatusWidth);
  });
  connect(batch_setup_button_, &QPushButton::clicked, this, &CBatchInitDlg::OnBatchSetup);
  connect(save_report_button_, &QPushButton::clicked, this, &CBatchInitDlg::ChooseReportFile);

  auto* buttons = new QWidget;
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(0, 0, 0, 0);
  for (QPushButton* button :
       {file_button_, select_all_button_, deselect_all_button_, buffer_clear_button_}) {
    row->addWidget(button);
  }
  row->addSpacing(24);
  row->addWidget(auto_station_id_);
  row->addWidget(batch_setup_button_);
  row->addSpacing(24);
  row->addWidget(summary_, 1);
  row->addWidget(save_report_button_);
  return buttons;
}

// --- Main window ---------------------------------------------------------------------------

void CBatchInitDlg::Refresh(bool set_band_flag) {
  if (set_band_flag) setup_.IncludeBandCommand();
  RefreshList(true);
}

void CBatchInitDlg::SetBatchEnabled(bool enabled) {
  batch_enabled_ = enabled;
  if (!enabled) {
    setup_.ClearList();
    SetStatusWidth(kStatusWidth);
  }
  for (QPushButton* button :
       {batch_setup_button_, file_button_, select_all_button_, deselect_all_button_}) {
    button->setEnabled(enabled);
  }
}

void CBatchInitDlg::BatchResult(const std::string& status_text) {
  setup_.BatchResult(status_text);
}

// --- List ----------------------------------------------------------------------------------

void CBatchInitDlg::RefreshList(bool checked) {
  setup_.Refresh(checked);
  if (list_->rowCount() > kNarrowStatusAbove) SetStatusWidth(kStatusWidthWithScrollBar);
}

void CBatchInitDlg::RowsChanged() {
  const QSignalBlocker quiet(list_);
  const auto& rows = setup_.list().rows();
  list_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < list_->rowCount(); ++row) FillRow(row);
}

void CBatchInitDlg::RowChanged(int row) {
  const QSignalBlocker quiet(list_);
  FillRow(row);
}

void CBatchInitDlg::FillRow(int row) {
  const vexa::BatchRow& batch_row = setup_.list().rows().at(row);
  QTableWidgetItem* number = Cell(batch_row.number);
  number->setFlags(number->flags() | Qt::ItemIsUserCheckable);
  number->setCheckState(batch_row.checked ? Qt::Checked : Qt::Unchecked);
  QTableWidgetItem* status = Cell(batch_row.status);
  const vexa::Rgb colour = vexa::StatusColour(batch_row.status);
  status->setForeground(QColor(colour.red, colour.green, colour.blue));
  list_->setItem(row, kNumberColumn, number);
  list_->setItem(row, kStatusColumn, status);
  list_->setItem(row, kCommandColumn, Cell(batch_row.command));
  list_->setItem(row, kCodeColumn, Cell(std::to_string(batch_row.code)));
  list_->setItem(row, kObjectColumn, Cell(batch_row.object));
  list_->setItem(row, kParametersColumn, Cell(batch_row.parameters));
}

void CBatchInitDlg::SetStatusWidth(int width) {
  list_->setColumnWidth(kStatusColumn, width);
}

void CBatchInitDlg::OnItemChanged(int row, int column) {
  if (column != kNumberColumn) return;
  setup_.SetChecked(row, list_->item(row, column)->checkState() == Qt::Checked);
}

void CBatchInitDlg::OnListContextMenu(const QPoint& position) {
  if (!list_->indexAt(position).isValid() || setup_.running()) return;
  row_menu_->popup(list_->viewport()->mapToGlobal(position));
}

void CBatchInitDlg::DeleteSelectedRows() {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  setup_.DeleteRows(std::move(rows));
  if (list_->rowCount() < kWideStatusBelow) SetStatusWidth(kStatusWidth);
}

// --- Batch ---------------------------------------------------------------------------------

void CBatchInitDlg::OnBatchSetup() {
  if (!setup_.Start(auto_station_id_->isChecked())) return;
  WatchButtons();
  watch_timer_.start();
}

void CBatchInitDlg::WatchButtons() {
  setup_.SendWaitingStep();
  const bool running = setup_.running();
  for (QPushButton* button :
       {batch_setup_button_, file_button_, select_all_button_, deselect_all_button_}) {
    button->setEnabled(!running && batch_enabled_);
  }
  buffer_clear_button_->setEnabled(!running);
  if (!running) watch_timer_.stop();
}

void CBatchInitDlg::RunChanged() {
  const vexa::BatchRun& run = setup_.run();
  summary_->setText(FromLatin1(run.Summary()));
  save_report_button_->setEnabled(run.ended && !run.steps.empty());
  if (run.ended) WatchButtons();
}

// --- Files ---------------------------------------------------------------------------------

void CBatchInitDlg::ChooseConfigFileToOpen() {
  const QString path = vexa::ChooseFileToOpen(this, QStringLiteral("Open Configure File"),
                                              kConfigFilter, QStringLiteral("*.cfg"));
  if (!path.isEmpty()) OpenConfigFile(path);
}

void CBatchInitDlg::ChooseConfigFileToSave() {
  if (setup_.list().rows().empty() || context_.command_buffer.Count() == 0) return;
  const vexa::SaveFileRequest request{QStringLiteral("Save Configure File"),
                                      QStringLiteral("Datalogger_Setup.cfg"),
                                      kConfigFilter,
                                      QStringLiteral("cfg"),
                                      "configure file",
                                      vexa::ConfigFilePath,
                                      vexa::ConfigSaveTarget};
  if (const auto path = vexa::ChooseSaveFile(this, context_.notifier, request)) {
    SaveConfigFile(*path);
  }
}

void CBatchInitDlg::OpenConfigFile(const QString& path) {
  const vexa::ConfigLoadResult loaded =
      vexa::LoadConfigFile(FilePath(path), context_.command_buffer);
  const char* reason = nullptr;
  switch (loaded.outcome) {
    case vexa::ConfigLoad::kLoaded:
      if (loaded.records > 0) RefreshList(false);
      return;
    case vexa::ConfigLoad::kUnreadable:
      reason = "\ncannot be read.";
      break;
    case vexa::ConfigLoad::kNotWellFormed:
      reason = "\nis not an XML file.";
      break;
    case vexa::ConfigLoad::kNoRoot:
      reason = "\nholds no batch setup.";
      break;
    case vexa::ConfigLoad::kNoCommands:
      reason = "\nholds no commands.";
      break;
  }
  // A silent failure would leave the engineer replaying the wrong setup.
  context_.notifier.Show("The configure file was not loaded:\n" + Latin1(path) + reason +
                             "\nThe command list is unchanged.",
                         "Error", vexa::MessageIcon::kError);
}

void CBatchInitDlg::SaveConfigFile(const QString& path) {
  const std::string file = vexa::ConfigFilePath(FilePath(path));
  if (vexa::SaveConfigFile(file, setup_.list().rows(), std::time(nullptr))) return;
  // A silent failure would leave the engineer believing the setup is kept.
  context_.notifier.Show("The configure file was not saved:\n" +
                             Latin1(QFile::decodeName(file.c_str())) +
                             "\ncannot be written. An earlier file there is unchanged.",
                         "Error", vexa::MessageIcon::kError);
}

void CBatchInitDlg::ChooseReportFile() {
  const vexa::BatchRun& run = setup_.run();
  const std::time_t when = run.steps.empty() ? std::time(nullptr) : run.steps.back().finished_at;
  const vexa::SaveFileRequest request{
      QStringLiteral("Save Report"),
      vexa::ExportFileName(QStringLiteral("Batch"), run.ProvisionedId(), when),
      QStringLiteral("CSV Files (*.csv)"),
      QStringLiteral("csv"),
      "CSV file",
      {},
      vexa::CsvSaveTarget};
  if (const auto path = vexa::ChooseSaveFile(this, context_.notifier, request)) SaveReport(*path);
}

void CBatchInitDlg::SaveReport(const QString& path) {
  QList<QStringList> rows;
  for (const auto& fields : setup_.run().ReportRows()) {
    QStringList row;
    for (const std::string& field : fields) row << FromLatin1(field);
    rows << row;
  }
  if (vexa::SaveCsvFile(path, rows)) return;
  context_.notifier.Show("The report was not saved:\n" + Latin1(path) + "\ncannot be written.",
                         "Error", vexa::MessageIcon::kError);
}
