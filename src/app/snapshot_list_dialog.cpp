#include "app/snapshot_list_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "pages/page_widgets.h"
#include "widgets/read_only_cell.h"

SnapshotListDialog::SnapshotListDialog(const std::string& station_id,
                                       std::vector<vexa::Snapshot> snapshots, QWidget* parent)
    : QDialog(parent),
      snapshots_(std::move(snapshots)),
      list_(new QTableWidget(static_cast<int>(snapshots_.size()), 2)),
      restore_button_(new QPushButton(QStringLiteral("&Restore..."))) {
  const QString id = vexa::FromLatin1(station_id);
  setWindowTitle(QStringLiteral("History of logger %1").arg(id));
  auto* heading = new QLabel(
      snapshots_.empty()
          ? QStringLiteral("No settings of logger %1 have been kept yet.").arg(id)
          : QStringLiteral("Settings of logger %1 as they were read, newest first:").arg(id));

  list_->setAccessibleName(QStringLiteral("Snapshots"));
  list_->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Settings")});
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < list_->rowCount(); ++row) {
    const vexa::Snapshot& snapshot = snapshots_[row];
    list_->setItem(row, 0, NewReadOnlyCell(vexa::FromLatin1(snapshot.time_text)));
    // A file that cannot be read holds nothing to restore.
    list_->setItem(row, 1,
                   NewReadOnlyCell(snapshot.settings > 0 ? QString::number(snapshot.settings)
                                                         : QStringLiteral("cannot be read")));
  }
  list_->resizeColumnToContents(0);
  list_->setColumnWidth(0, list_->columnWidth(0) + 24);

  auto* close_button = new QPushButton(QStringLiteral("Close"));
  close_button->setAutoDefault(false);
  restore_button_->setDefault(true);
  restore_button_->setToolTip(
      QStringLiteral("Compare the logger with this snapshot and choose what to write back"));
  const auto update = [this] {
    const int row = list_->currentRow();
    restore_button_->setEnabled(row >= 0 && snapshots_[row].settings > 0);
  };
  connect(list_, &QTableWidget::currentCellChanged, this, update);
  // Enter presses Restore..., the default button; a double click does the same.
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { restore_button_->click(); });
  connect(restore_button_, &QPushButton::clicked, this, [this] {
    const int row = list_->currentRow();
    if (row < 0 || snapshots_[row].settings == 0) return;
    chosen_ = snapshots_[row];
    accept();
  });
  connect(close_button, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(restore_button_);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  if (list_->rowCount() > 0) list_->setCurrentCell(0, 0);
  update();
  resize(420, 380);
  list_->setFocus();
}
