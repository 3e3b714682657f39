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

#include "batch/apply_plan.h"
#include "batch/config_file.h"
#include "batch/status_colour.h"
#include "link/local_time.h"
#include "pages/csv_file.h"
#include "pages/file_dialogs.h"
#include "pages/page_widgets.h"
#include "settings/settings_comparison.h"
#include "widgets/read_only_cell.h"
#include "widgets/settings_review_dialog.h"

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
  return NewReadOnlyCell(FromLatin1(text));
}

QPushButton* Button(const QString& text) {
  auto* button = new QPushButton(text);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* CheckBox(const QString& text, const QString& tip) {
  auto* box = new QCheckBox(text);
  box->setToolTip(tip);
  return box;
}

// Keeps a control's place while it is hidden, so that nothing moves.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

CBatchInitDlg::CBatchInitDlg(vexa::PageContext context, vexa::ReadAll& read_all,
                             vexa::SnapshotKeeper& snapshots, QWidget* parent)
    : QWidget(parent),
      context_(context),
      read_all_(read_all),
      snapshots_(snapshots),
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

CBatchInitDlg::~CBatchInitDlg() {
  // The comparison's read must not reach this page any more.
  if (comparing_) read_all_.Detach();
}

QWidget* CBatchInitDlg::BuildButtons() {
  file_button_ = Button(QStringLiteral("File"));
  file_menu_ = new QMenu(file_button_);
  connect(file_menu_->addAction(QStringLiteral("Open Configure File")), &QAction::triggered, this,
          &CBatchInitDlg::ChooseConfigFileToOpen);
  file_menu_->addSeparator();
  connect(file_menu_->addAction(QStringLiteral("Save Configure File")), &QAction::triggered, this,
          &CBatchInitDlg::ChooseConfigFileToSave);
  file_menu_->addSeparator();
  compare_action_ = file_menu_->addAction(QStringLiteral("Compare with Logger..."));
  connect(compare_action_, &QAction::triggered, this, &CBatchInitDlg::CompareWithLogger);
  file_button_->setMenu(file_menu_);

  select_all_button_ = Button(QStringLiteral("Select All"));
  deselect_all_button_ = Button(QStringLiteral("Deselect All"));
  buffer_clear_button_ = Button(QStringLiteral("Buffer Clear"));
  batch_setup_button_ = Button(QStringLiteral("Batch Setup"));
  auto_station_id_ =
      CheckBox(QStringLiteral("Auto Station ID"),
               QStringLiteral("Each run sends the station ID command with the next number"));
  // Both off at start, so that a run sends exactly its commands.
  verify_ = CheckBox(QStringLiteral("Verify"),
                     QStringLiteral("After the run, read the logger back and check each setting"));
  stop_at_time_out_ =
      CheckBox(QStringLiteral("Stop at first time-out"),
               QStringLiteral("A logger that does not answer one command is sent no more"));
  stop_batch_button_ = Button(QStringLiteral("Stop Batch"));
  stop_batch_button_->setToolTip(QStringLiteral("End the run: no further command is sent"));
  KeepPlaceWhenHidden(stop_batch_button_);
  stop_batch_button_->hide();
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
  connect(stop_batch_button_, &QPushButton::clicked, this, [this] { setup_.Stop(); });
  connect(save_report_button_, &QPushButton::clicked, this, &CBatchInitDlg::ChooseReportFile);

  auto* buttons = new QWidget;
  auto* row = new QHBoxLayout;
  for (QPushButton* button :
       {file_button_, select_all_button_, deselect_all_button_, buffer_clear_button_}) {
    row->addWidget(button);
  }
  row->addSpacing(24);
  for (QCheckBox* box : {auto_station_id_, verify_, stop_at_time_out_}) row->addWidget(box);
  row->addWidget(batch_setup_button_);
  row->addWidget(stop_batch_button_);
  row->addStretch(1);
  auto* result_row = new QHBoxLayout;
  result_row->addWidget(summary_, 1);
  result_row->addWidget(save_report_button_);
  auto* rows = new QVBoxLayout(buttons);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addLayout(row);
  rows->addLayout(result_row);
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
  // The column keeps its width, so a long verification is read whole here.
  status->setToolTip(status->text());
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
  const vexa::RunOptions options{.verify = verify_->isChecked(),
                                 .stop_at_first_time_out = stop_at_time_out_->isChecked()};
  if (!setup_.Start(auto_station_id_->isChecked(), options)) return;
  RunStarted();
}

void CBatchInitDlg::RunStarted() {
  // The worker hands the first command over on a later turn of this thread,
  // so what the logger held is kept before anything is written.
  snapshots_.BeforeWriting(std::time(nullptr));
  WatchButtons();
  watch_timer_.start();
}

void CBatchInitDlg::WatchButtons() {
  setup_.SendWaitingStep();
  const bool running = busy();
  for (QPushButton* button :
       {batch_setup_button_, file_button_, select_all_button_, deselect_all_button_}) {
    button->setEnabled(!running && batch_enabled_);
  }
  buffer_clear_button_->setEnabled(!running);
  for (QCheckBox* box : {auto_station_id_, verify_, stop_at_time_out_}) box->setEnabled(!running);
  stop_batch_button_->setVisible(setup_.running());
  if (!running) watch_timer_.stop();
}

void CBatchInitDlg::RunChanged() {
  const vexa::BatchRun& run = setup_.run();
  summary_->setText(FromLatin1(run.Summary()));
  save_report_button_->setEnabled(run.ended && !run.steps.empty());
  stop_batch_button_->setVisible(setup_.running());
  if (review_writing_ && review_) review_->ShowRun(run);
  if (run.ended) {
    review_writing_ = false;
    WatchButtons();
  }
}

// --- Comparison ----------------------------------------------------------------------------

void CBatchInitDlg::CompareWithLogger() {
  std::map<int, std::string> listed;
  for (const vexa::BatchRow& row : setup_.list().rows()) listed[row.code] = row.command;
  Compare(std::move(listed), "list", "the list");
}

void CBatchInitDlg::CompareWithSnapshot(const std::string& station_id,
                                        const vexa::Snapshot& snapshot) {
  std::optional<std::map<int, std::string>> kept = snapshots_.history().Load(snapshot.path);
  if (!kept) {
    context_.notifier.Show(
        "The snapshot cannot be read:\n" + snapshot.path + "\nNothing was compared.", "Error",
        vexa::MessageIcon::kError);
    return;
  }
  Compare(std::move(*kept), "snapshot",
          "the snapshot of " + station_id + " taken " + snapshot.time_text);
}

void CBatchInitDlg::Compare(std::map<int, std::string> side, std::string what,
                            std::string described) {
  if (!batch_enabled_) {
    context_.notifier.Show(
        "The settings are written back through the batch, which runs on the RS232 route only.");
    return;
  }
  if (busy() || review_) return;
  compared_ = std::move(side);
  compared_what_ = std::move(what);
  compared_described_ = std::move(described);
  comparing_ = true;
  // The review opens once the read has wholly ended, not inside its last command.
  const bool started = read_all_.Start(
      [this](const vexa::ReadAllOutcome& outcome) {
        QMetaObject::invokeMethod(
            this, [this, outcome] { CompareRead(outcome); }, Qt::QueuedConnection);
      },
      [this](const vexa::ReadAllStep& step) {
        summary_->setText(QStringLiteral("Reading the logger: %1, %2 of %3")
                              .arg(FromLatin1(step.name))
                              .arg(step.number)
                              .arg(step.total));
      });
  if (!started) comparing_ = false;
  WatchButtons();
}

void CBatchInitDlg::CompareRead(const vexa::ReadAllOutcome& outcome) {
  comparing_ = false;
  RunChanged();
  WatchButtons();
  if (!outcome.succeeded) {
    context_.notifier.Show("The logger was not read: " + std::string(outcome.stopped_at) +
                               " ended with \"" + outcome.status_text +
                               "\".\nNothing was compared and nothing written.",
                           "Error", vexa::MessageIcon::kError);
    return;
  }
  review_ = new SettingsReviewDialog(
      vexa::CompareSettings(outcome.recorded.commands, compared_),
      "Logger " + outcome.station_id + " against " + compared_described_, compared_what_, this);
  review_->setAttribute(Qt::WA_DeleteOnClose);
  connect(review_, &SettingsReviewDialog::WriteRequested, this, &CBatchInitDlg::WriteChecked);
  connect(review_, &SettingsReviewDialog::StopRequested, this, [this] { setup_.Stop(); });
  review_->open();
}

void CBatchInitDlg::WriteChecked() {
  std::map<int, std::string> checked;
  for (const int code : review_->CheckedCodes()) checked[code] = compared_.at(code);
  // What the engineer checked goes out as it stands, station ID and clock
  // included; the clock as of now.
  const vexa::ApplyPlan plan =
      vexa::PlanApply(checked, context_.phone_book.GetCurrentDevice().setup_password,
                      {.with_station_id = true, .with_time = true}, std::time(nullptr));
  const vexa::RunOptions options{.verify = true,
                                 .stop_at_first_time_out = stop_at_time_out_->isChecked()};
  if (!setup_.Replay(plan.rows, options)) return;
  review_writing_ = true;
  RunStarted();
  review_->ShowRun(setup_.run());
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
