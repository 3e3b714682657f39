#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <string>

#include "batch/batch_setup.h"
#include "history/snapshot_keeper.h"
#include "pages/page_context.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;
class SettingsReviewDialog;

// The Batch Setup page: replays the buffered setup commands on further
// loggers, one row at a time, and keeps them in configuration files.
class CBatchInitDlg : public QWidget, private vexa::BatchView {
  Q_OBJECT

 public:
  // `read_all` reads the logger for a comparison and back after a run that
  // verifies; `snapshots` keeps its settings before a run writes to it.
  CBatchInitDlg(vexa::PageContext context, vexa::ReadAll& read_all, vexa::SnapshotKeeper& snapshots,
                QWidget* parent);
  ~CBatchInitDlg() override;

  // Rebuilds the list from the command buffer, every row checked; with
  // `set_band_flag` the GSM band command is listed from now on.
  void Refresh(bool set_band_flag);
  // Batches run on the RS232 route only: disabled, the list is emptied.
  void SetBatchEnabled(bool enabled);
  // The command of the current row finished with this status text.
  void BatchResult(const std::string& status_text);

  // What the File menu and Save Report do once their file dialog has a path.
  void OpenConfigFile(const QString& path);
  void SaveConfigFile(const QString& path);
  void SaveReport(const QString& path);
  // The button watch; its timer ticks every 500 ms while a batch runs.
  void WatchButtons();

  // Compare with Logger...: reads the logger, then opens the review of the
  // list against it, from which the checked rows are written and verified.
  void CompareWithLogger();
  // The same review with a snapshot of logger `station_id` in place of the list.
  void CompareWithSnapshot(const std::string& station_id, const vexa::Snapshot& snapshot);
  // While it reads or writes the logger (a run, a comparison's read).
  bool busy() const { return setup_.running() || comparing_; }

 private:
  // vexa::BatchView
  void RowsChanged() override;
  void RowChanged(int row) override;
  void RunChanged() override;

  QWidget* BuildButtons();
  void RefreshList(bool checked);
  void FillRow(int row);
  void SetStatusWidth(int width);
  void OnItemChanged(int row, int column);
  void OnListContextMenu(const QPoint& position);
  void DeleteSelectedRows();
  void OnBatchSetup();
  void ChooseConfigFileToOpen();
  void ChooseConfigFileToSave();
  void ChooseReportFile();

  // Reads the logger and reviews `side` (code -> command) against it; `what`
  // names the side in the review's columns ("list", "snapshot"), `described`
  // in its summary ("the list", "the snapshot of 2026-12-10 14:30:05").
  void Compare(std::map<int, std::string> side, std::string what, std::string described);
  void CompareRead(const vexa::ReadAllOutcome& outcome);
  void WriteChecked();
  // Starts watching a run that started, once the logger's settings are kept.
  void RunStarted();

  vexa::PageContext context_;
  QTableWidget* list_ = nullptr;
  QPushButton* file_button_ = nullptr;
  QMenu* file_menu_ = nullptr;
  QMenu* row_menu_ = nullptr;
  QPushButton* select_all_button_ = nullptr;
  QPushButton* deselect_all_button_ = nullptr;
  QPushButton* buffer_clear_button_ = nullptr;
  QPushButton* batch_setup_button_ = nullptr;
  QCheckBox* auto_station_id_ = nullptr;
  QCheckBox* verify_ = nullptr;
  QCheckBox* stop_at_time_out_ = nullptr;
  QPushButton* stop_batch_button_ = nullptr;
  QAction* compare_action_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* save_report_button_ = nullptr;
  QTimer watch_timer_;
  bool batch_enabled_ = true;  // false on the GSM route
  vexa::ReadAll& read_all_;
  vexa::SnapshotKeeper& snapshots_;
  // The comparison under way: what is compared with the logger, its name in
  // the review, and the review once it is open.
  bool comparing_ = false;  // while the logger is read for it
  std::map<int, std::string> compared_;
  std::string compared_what_;
  std::string compared_described_;
  QPointer<SettingsReviewDialog> review_;
  bool review_writing_ = false;  // the run is the review's
  // Declared last, so destroyed first: its worker ends before the page goes.
  vexa::BatchSetup setup_;
};
