#include "pages/data_record/data_record_page.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <ctime>
#include <functional>

#include "link/command_codes.h"
#include "pages/csv_file.h"
#include "pages/data_record/record_chart_dialog.h"
#include "pages/data_record/record_list_model.h"
#include "pages/file_dialogs.h"
#include "pages/page_sender.h"
#include "pages/page_widgets.h"
#include "records/record_query.h"
#include "records/record_table.h"

namespace {

using vexa::Latin1;

constexpr int kRowHeight = 20;
const QDate kFirstDate(vexa::kFirstQueryYear, 1, 1);
const QDate kLastDate(vexa::kLastQueryYear, 12, 31);

// A drop-down list whose items are taken afresh each time it opens. The item
// shown stays chosen while it is still offered.
class RefilledComboBox : public QComboBox {
 public:
  explicit RefilledComboBox(std::function<QStringList()> items) : items_(std::move(items)) {}

  void showPopup() override {
    const QString shown = currentText();
    clear();
    addItems(items_());
    setCurrentIndex(findText(shown));
    QComboBox::showPopup();
  }

 private:
  std::function<QStringList()> items_;
};

// "first" to "last".
QStringList Numbers(int first, int last) {
  QStringList numbers;
  for (int n = first; n <= last; ++n) numbers << QString::number(n);
  return numbers;
}

QPushButton* TextButton(const QString& text, const QString& description) {
  auto* button = new QPushButton(text);
  button->setAccessibleName(text);
  button->setAccessibleDescription(description);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CSet3::CSet3(vexa::PageContext context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* query_bar = new QHBoxLayout;
  auto* date_label = new QLabel(QStringLiteral("Date:"));
  date_ = new QDateEdit(QDate::currentDate());
  date_->setAccessibleName(QStringLiteral("Date"));
  date_->setCalendarPopup(true);
  date_->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
  date_->setDateRange(kFirstDate, kLastDate);
  date_label->setBuddy(date_);
  query_bar->addWidget(date_label);
  query_bar->addWidget(date_);
  query_bar->addSpacing(12);

  hour_ = new QComboBox;
  hour_->addItems(Numbers(0, 23));
  minute_ = new QComboBox;
  minute_->addItems(Numbers(0, 59));
  record_count_ = new RefilledComboBox([this] { return RecordCountItems(); });
  for (auto [label, box] :
       {std::pair{QStringLiteral("Hour:"), hour_}, std::pair{QStringLiteral("Minute:"), minute_},
        std::pair{QStringLiteral("Number of Records:"), record_count_}}) {
    auto* caption = new QLabel(label);
    caption->setBuddy(box);
    box->setAccessibleName(label.chopped(1));
    box->setCurrentIndex(-1);  // a drop-down list starts with nothing chosen
    box->setMinimumContentsLength(3);
    query_bar->addWidget(caption);
    query_bar->addWidget(box);
    query_bar->addSpacing(12);
  }

  auto* query = TextButton(QStringLiteral("Query"),
                           QStringLiteral("Read the records stored from this date and time on"));
  connect(query, &QPushButton::clicked, this, &CSet3::Query);
  query_bar->addWidget(query);
  query_bar->addStretch(1);

  row_count_ = new QLabel;
  query_bar->addWidget(row_count_);
  query_bar->addSpacing(12);
  export_ = TextButton(QStringLiteral("Export..."), QStringLiteral("Save the list as a CSV file"));
  connect(export_, &QPushButton::clicked, this, &CSet3::ChooseExportFile);
  query_bar->addWidget(export_);
  chart_button_ = TextButton(QStringLiteral("Chart"), QStringLiteral("Show the list as a chart"));
  connect(chart_button_, &QPushButton::clicked, this, &CSet3::ShowChart);
  query_bar->addWidget(chart_button_);

  model_ = new RecordListModel(this);
  list_ = new QTableView;
  list_->setAccessibleName(QStringLiteral("Data records"));
  list_->setModel(model_);
  vexa::SetUpReportList(list_, kRowHeight, vexa::kChannelListStripe);
  list_->setWordWrap(false);
  // New columns get their widths; columns the engineer resized keep theirs.
  connect(model_, &QAbstractItemModel::modelReset, this,
          [this] { ApplyColumnWidths(0, model_->columnCount() - 1); });
  connect(model_, &QAbstractItemModel::columnsInserted, this,
          [this](const QModelIndex&, int first, int last) { ApplyColumnWidths(first, last); });
  connect(model_, &QAbstractItemModel::modelReset, this, &CSet3::RowsChanged);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &CSet3::RowsChanged);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(query_bar);
  layout->addWidget(list_, 1);
  ApplyColumnWidths(0, model_->columnCount() - 1);
  RowsChanged();
}

QStringList CSet3::RecordCountItems() const {
  const bool gsm = context_.exchange.state().transport_mode == vexa::TransportMode::kGsmModem;
  return Numbers(1, vexa::MostRecordsPerQuery(gsm));
}

void CSet3::Query() {
  if (!vexa::CheckReadyForSetup(context_)) return;
  if (hour_->currentText().isEmpty()) return context_.notifier.Show("Please Select Hour !");
  if (minute_->currentText().isEmpty()) return context_.notifier.Show("Please Select Minute !");
  if (record_count_->currentText().isEmpty()) {
    return context_.notifier.Show("Please Select Number of Records !");
  }
  const QDate date = date_->date();
  const std::string moment =
      vexa::QueryTimeText(date.year(), date.month(), date.day(), hour_->currentText().toInt(),
                          minute_->currentText().toInt(), record_count_->currentText().toInt());
  const std::string password = context_.phone_book.GetCurrentDevice().enquiry_password;
  // A fresh list before the command goes out, so no early reply lands in the old one.
  model_->Reset();
  listed_at_ = std::time(nullptr);
  context_.exchange.SendCommand(vexa::FormatCommand("%s#REDEEM%s#", {password, moment}),
                                vexa::kDataRecordCode);
}

void CSet3::StatusReply(const std::string& reply) {
  if (reply.empty()) return;
  model_->ShowStatus(reply);
  listed_at_ = std::time(nullptr);
}

void CSet3::StoredRecordsReply(const std::string& reply) {
  model_->AddStoredRecords(reply);
}

void CSet3::ClearPage() {
  for (QComboBox* box : {hour_, minute_, record_count_}) box->setCurrentIndex(-1);
  model_->Reset();
}

void CSet3::ChooseExportFile() {
  const auto& rows = model_->table().rows;
  // The logger the records came from, as they name it.
  std::string station = context_.phone_book.GetCurrentDevice().id;
  if (!rows.empty() && rows.front().size() > vexa::kStationColumn &&
      !rows.front()[vexa::kStationColumn].empty()) {
    station = rows.front()[vexa::kStationColumn];
  }
  const vexa::SaveFileRequest request{
      QStringLiteral("Export Records"),
      vexa::ExportFileName(QStringLiteral("DataRecords"), station, listed_at_),
      QStringLiteral("CSV files (*.csv)"),
      QStringLiteral("csv"),
      "CSV file",
      {},
      vexa::CsvSaveTarget};
  if (const auto path = vexa::ChooseSaveFile(this, context_.notifier, request)) ExportTo(*path);
}

bool CSet3::ExportTo(const QString& path) {
  // The columns in the order the engineer arranged them.
  const QHeaderView* header = list_->horizontalHeader();
  std::vector<std::size_t> columns;
  for (int visual = 0; visual < header->count(); ++visual) {
    const int column = header->logicalIndex(visual);
    if (!header->isSectionHidden(column)) columns.push_back(static_cast<std::size_t>(column));
  }
  const std::string file = QFile::encodeName(path).toStdString();
  if (vexa::SaveCsvFile(file, vexa::ExportRows(model_->table(), columns))) return true;
  context_.notifier.Show("The records could not be saved to " +
                             Latin1(QDir::toNativeSeparators(path)) +
                             ".\nCheck that the folder exists and may be written to.",
                         "Error", vexa::MessageIcon::kError);
  return false;
}

void CSet3::ShowChart() {
  if (chart_ == nullptr) chart_ = new RecordChartDialog(model_, this);
  chart_->show();
  chart_->raise();
  chart_->activateWindow();
}

void CSet3::ApplyColumnWidths(int first, int last) {
  const auto& columns = model_->table().columns;
  for (int i = first; i <= last; ++i) {
    list_->horizontalHeader()->resizeSection(i, columns[static_cast<std::size_t>(i)].width);
  }
}

void CSet3::RowsChanged() {
  const int rows = model_->rowCount();
  row_count_->setText(rows == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(rows));
  export_->setEnabled(rows > 0);
  chart_button_->setEnabled(rows > 0);
}
