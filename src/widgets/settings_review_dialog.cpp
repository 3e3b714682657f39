#include "widgets/settings_review_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "batch/status_colour.h"
#include "settings/comparison_review.h"
#include "widgets/read_only_cell.h"

namespace {

enum Column { kObject, kLogger, kSide, kState, kResult, kColumnCount };

constexpr int kCodeRole = Qt::UserRole;
constexpr QSize kPreferredSize(940, 580);
constexpr int kColumnWidths[] = {220, 180, 180, 140};  // the Result column takes the rest

QString Text(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A cell too narrow for its text shows all of it as a tip.
QTableWidgetItem* Cell(const QString& text) {
  QTableWidgetItem* item = NewReadOnlyCell(text);
  item->setToolTip(text);
  return item;
}

QPushButton* Button(const QString& text) {
  auto* button = new QPushButton(text);
  // Enter in the list writes nothing: writing is a choice made on its button.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

SettingsReviewDialog::SettingsReviewDialog(const std::vector<vexa::SettingComparison>& comparisons,
                                           const std::string& what, const std::string& side,
                                           QWidget* parent)
    : QDialog(parent),
      summary_(new QLabel(Text(what + ": " + vexa::ComparisonSummary(comparisons, side)))),
      list_(new QTableWidget(0, kColumnCount)),
      run_summary_(new QLabel),
      write_button_(Button(QStringLiteral("&Write Checked"))),
      stop_button_(Button(QStringLiteral("Stop Batch"))),
      cancel_button_(Button(QStringLiteral("Cancel"))),
      close_button_(Button(QStringLiteral("Close"))) {
  setWindowTitle(QStringLiteral("Compare with Logger"));
  summary_->setAccessibleDescription(QStringLiteral("Comparison summary"));
  summary_->setWordWrap(true);
  run_summary_->setAccessibleDescription(QStringLiteral("Result of the writing"));
  run_summary_->hide();

  QString side_title = Text(side);
  side_title[0] = side_title[0].toUpper();
  list_->setAccessibleName(QStringLiteral("Settings compared"));
  list_->setHorizontalHeaderLabels({QStringLiteral("Object"), QStringLiteral("Logger"), side_title,
                                    QStringLiteral("State"), QStringLiteral("Result")});
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
  list_->horizontalHeader()->setStretchLastSection(true);
  for (int column = 0; column < kResult; ++column) {
    list_->setColumnWidth(column, kColumnWidths[column]);
  }
  list_->setAlternatingRowColors(true);
  BuildRows(comparisons, Text(side));
  // Sortable by any column, by state above all; the rows start in code order.
  list_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  list_->setSortingEnabled(true);
  list_->setCurrentCell(0, kObject);
  connect(list_, &QTableWidget::itemChanged, this, [this] { UpdateWriteButton(); });

  stop_button_->hide();
  close_button_->hide();
  connect(write_button_, &QPushButton::clicked, this, &SettingsReviewDialog::WriteRequested);
  connect(stop_button_, &QPushButton::clicked, this, &SettingsReviewDialog::StopRequested);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
  connect(close_button_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run_summary_, 1);
  buttons->addStretch();
  for (QPushButton* button : {write_button_, stop_button_, cancel_button_, close_button_}) {
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  UpdateWriteButton();
  resize(parent ? kPreferredSize.boundedTo(parent->window()->size()) : kPreferredSize);
  list_->setFocus();
}

void SettingsReviewDialog::BuildRows(const std::vector<vexa::SettingComparison>& comparisons,
                                     const QString& side) {
  list_->setRowCount(static_cast<int>(comparisons.size()));
  for (int row = 0; row < list_->rowCount(); ++row) {
    const vexa::SettingComparison& comparison = comparisons[row];
    const vexa::Setting& either = comparison.file ? *comparison.file : *comparison.logger;
    QTableWidgetItem* object = Cell(Text(either.object));
    object->setData(kCodeRole, comparison.code);
    if (vexa::CanBeWritten(comparison)) {
      object->setFlags(object->flags() | Qt::ItemIsUserCheckable);
      object->setCheckState(vexa::ProposedForWriting(comparison) ? Qt::Checked : Qt::Unchecked);
    }
    list_->setItem(row, kObject, object);
    list_->setItem(row, kLogger,
                   Cell(comparison.logger ? Text(comparison.logger->parameters) : QString()));
    list_->setItem(row, kSide,
                   Cell(comparison.file ? Text(comparison.file->parameters) : QString()));
    list_->setItem(row, kState,
                   Cell(Text(vexa::StateText(comparison.agreement, side.toStdString()))));
    list_->setItem(row, kResult, Cell(QString()));
  }
}

std::vector<int> SettingsReviewDialog::CheckedCodes() const {
  std::vector<int> codes;
  for (int row = 0; row < list_->rowCount(); ++row) {
    // Rows that cannot be written have no check box at all.
    const QTableWidgetItem* object = list_->item(row, kObject);
    if (object->data(Qt::CheckStateRole).toInt() == Qt::Checked) {
      codes.push_back(object->data(kCodeRole).toInt());
    }
  }
  std::sort(codes.begin(), codes.end());
  return codes;
}

void SettingsReviewDialog::UpdateWriteButton() {
  write_button_->setEnabled(!writing_ && !CheckedCodes().empty());
}

int SettingsReviewDialog::RowOf(int code) const {
  for (int row = 0; row < list_->rowCount(); ++row) {
    if (list_->item(row, kObject)->data(kCodeRole).toInt() == code) return row;
  }
  return -1;
}

void SettingsReviewDialog::ShowRun(const vexa::BatchRun& run) {
  if (!writing_) {
    writing_ = true;
    for (int row = 0; row < list_->rowCount(); ++row) {
      QTableWidgetItem* object = list_->item(row, kObject);
      object->setFlags(object->flags() & ~Qt::ItemIsUserCheckable);
    }
  }
  for (const vexa::BatchStep& step : run.steps) {
    const int row = RowOf(step.code);
    if (row < 0) continue;
    QTableWidgetItem* result = list_->item(row, kResult);
    result->setText(Text(step.Shown()));
    result->setToolTip(result->text());
    const vexa::Rgb colour = vexa::StatusColour(step.Shown());
    result->setForeground(QColor(colour.red, colour.green, colour.blue));
  }
  run_summary_->setText(Text(run.Summary()));
  run_summary_->show();
  run_ended_ = run.ended;
  write_button_->hide();
  cancel_button_->hide();
  stop_button_->setVisible(!run_ended_);
  close_button_->setVisible(run_ended_);
  if (run_ended_) close_button_->setFocus();
}

void SettingsReviewDialog::reject() {
  if (writing_ && !run_ended_) {
    emit StopRequested();
    return;
  }
  QDialog::reject();
}
